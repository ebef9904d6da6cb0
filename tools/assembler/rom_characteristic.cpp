// The ROM characteristic file of a clean build, written by the disassembler
// library K42XXDIS from the new code image.
#include <cstdint>

#include "assembler.h"
#include "platform/library.h"

namespace k42asm {

using DisassembleFunction = int32_t (*)(const char* binaryPath, const char* assemblyPath,
                                        const char* printPath, const char* symbolPath,
                                        const char* romPath, const char* xrefPath, int32_t flags);

void Assembler::RomCharacteristicStep() {
  if (env_.romStep) {
    env_.romStep(baseName_);
    return;
  }
  constexpr int32_t kRomCharacteristicOnly = 0x10;
  platform::LibraryHandle library = platform::LoadLibrary("K42XXDIS", env_.programFolder);
  auto disassemble = library ? reinterpret_cast<DisassembleFunction>(
                                   platform::GetProcAddress(library, "Disassemble_K42XX"))
                             : nullptr;
  if (!disassemble) {
    // The build stands; only the statistics file is missing.
    Poke("Unable to find the file K42xxDIS.DLL");
    if (library) platform::FreeLibrary(library);
    return;
  }
  const std::string bin = baseName_ + "bin";
  const std::string sta = baseName_ + "STA";
  // The result is always -1; the library reports its own failures.
  disassemble(bin.c_str(), baseName_.c_str(), baseName_.c_str(), baseName_.c_str(), sta.c_str(),
              baseName_.c_str(), kRomCharacteristicOnly);
  platform::FreeLibrary(library);
}

}  // namespace k42asm
