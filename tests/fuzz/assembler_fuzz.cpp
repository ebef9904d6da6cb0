// The whole assembler on one input: the bytes up to the first NUL are the
// main source, the next part A.INC, the next B.INC, so includes and macros
// meet each other.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "assembler.h"
#include "platform/messagebox.h"
#include "platform/tempfiles.h"

namespace {

std::string g_folder;

void WriteText(const std::string& name, const std::string& text) {
  std::ofstream(g_folder + name, std::ios::binary | std::ios::trunc) << text;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_folder = platform::MakeTempFolder("tavix-fuzz-asm-") + "/";
  // ORG's message box answers at once.
  platform::SetMessageBoxHook([](const std::string&, const std::string&, unsigned) { return 1; });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  const char* names[] = {"MAIN.ASM", "A.INC", "B.INC"};
  size_t start = 0;
  for (const char* name : names) {
    size_t end = std::min(input.find('\0', start), input.size());
    WriteText(name, start < input.size() ? input.substr(start, end - start) : std::string());
    start = end + 1;
  }
  k42asm::RunEnvironment env;
  env.programFolder = TAVIX_TABLE_DIR;
  env.linkMode = true;
  env.poke = [](const std::string&) {};
  env.now = [] { return int64_t{1700000000}; };
  env.romStep = [](const std::string&) {};
  k42asm::Assembler assembler(env);
  const int status = assembler.Run(g_folder + "MAIN.ASM", true);
  if (status != 0 && status != 1) __builtin_trap();
  return 0;
}
