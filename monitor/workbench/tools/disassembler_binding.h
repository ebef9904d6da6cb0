#pragma once
// The disassembler library K42XXDIS of the program folder, bound by name.
#include <cstdint>
#include <string>

namespace monitor {

// The export: code image, assembly, print, symbol, ROM characteristic and
// cross-reference paths, then the flags; the result is always -1.
using DisassembleExport = int32_t (*)(const char*, const char*, const char*, const char*,
                                      const char*, const char*, int32_t);

// The flags of the outputs.
enum DisassemblyFlags : int32_t {
  kAssemblyOutput = 0x02,
  kPrintOutput = 0x04,
  kSymbolOutput = 0x08,
  kRomCharacteristicOutput = 0x10,
  kCrossReferenceOutput = 0x20,
};

struct DisassemblyPaths {
  std::string binary, assembly, print, symbol, rom, xref;
};

// Calls Disassemble_K42XX with the paths as they stand. The library is bound
// at the first call that finds it and kept for the life of the process; a
// failed bind throws platform::RunTimeError (53 no library, 453 no export)
// and is tried again at the next call. The library shows its own failures.
int32_t Disassemble_K42XX(const std::string& programPath, const DisassemblyPaths& paths,
                          int32_t flags);

}  // namespace monitor
