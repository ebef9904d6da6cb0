// Disassembling a full 4096-word image into all five files.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "platform/library.h"
#include "platform/messagebox.h"
#include "instruction_words.h"
#include "platform/tempfiles.h"

namespace {

using namespace k42words;

using DisassembleFunction = int32_t (*)(const char*, const char*, const char*, const char*, const char*,
                                        const char*, int32_t);

// A program-like mix: jumps and calls to every part of the image, register
// operations over all 128 registers, immediates, and words without operands.
std::string FullImage() {
  const uint16_t plain[] = {RET, NOP, Op("LDRX"), Op("ADDX"), CPLA, SHRA};
  std::string bytes;
  for (uint32_t a = 0; a < 4096; ++a) {
    uint16_t w = 0;
    switch (a % 8) {
      case 0: w = JPNZ(static_cast<int>(a * 37)); break;
      case 1: w = LDR(static_cast<int>(a)); break;
      case 2: w = STA(static_cast<int>(a >> 3)); break;
      case 3: w = LDI(static_cast<int>(a)); break;
      case 4: w = STI(static_cast<int>(a >> 8), static_cast<int>(a)); break;
      case 5: w = CALL(static_cast<int>(a * 101)); break;
      case 6: w = ADD(static_cast<int>(a >> 2)); break;
      default: w = plain[a % 6]; break;
    }
    bytes += static_cast<char>(w >> 8);
    bytes += static_cast<char>(w & 0xFF);
  }
  return bytes;
}

void BM_DisassembleFullImage(benchmark::State& state) {
  platform::SetMessageBoxHook([](const std::string&, const std::string&, unsigned) { return 1; });
  platform::LibraryHandle library = platform::LoadLibrary("K42XXDIS", TAVIX_DIST_DIR);
  auto disassemble =
      library ? reinterpret_cast<DisassembleFunction>(platform::GetProcAddress(library, "Disassemble_K42XX")) : nullptr;
  if (!disassemble) {
    state.SkipWithError("K42XXDIS.so not found in the program folder");
    return;
  }
  const std::string folder = platform::MakeTempFolder("tavix-bench-") + "/";
  const std::string image = folder + "A.bin";
  std::ofstream(image, std::ios::binary) << FullImage();
  const std::string base = folder + "D.";
  for (auto _ : state) {
    disassemble(image.c_str(), (base + "asm").c_str(), (base + "prt").c_str(), (base + "sym").c_str(),
                (base + "sta").c_str(), (base + "xrf").c_str(), 0x3E);
  }
  for (const char* name : {"A.bin", "D.asm", "D.prt", "D.sym", "D.sta", "D.xrf"})
    std::remove((folder + name).c_str());
  std::remove(folder.c_str());
  platform::SetMessageBoxHook({});
}
BENCHMARK(BM_DisassembleFullImage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
