#include "workbench/tools/disassembler_binding.h"

#include "platform/library.h"
#include "platform/run_time_error.h"

namespace monitor {
namespace {

DisassembleExport Bind(const std::string& programPath) {
  static DisassembleExport bound = nullptr;
  if (bound != nullptr) return bound;
  platform::LibraryHandle library = platform::LoadLibrary("K42XXDIS.DLL", programPath);
  if (library == nullptr) throw platform::RunTimeError(53, "File not found: K42XXDIS.DLL");
  auto entry =
      reinterpret_cast<DisassembleExport>(platform::GetProcAddress(library, "Disassemble_K42XX"));
  if (entry == nullptr) {
    platform::FreeLibrary(library);
    throw platform::RunTimeError(453, "Can't find DLL entry point Disassemble_K42XX in K42XXDIS");
  }
  bound = entry;
  return bound;
}

}  // namespace

int32_t Disassemble_K42XX(const std::string& programPath, const DisassemblyPaths& paths,
                          int32_t flags) {
  DisassembleExport entry = Bind(programPath);
  return entry(paths.binary.c_str(), paths.assembly.c_str(), paths.print.c_str(),
               paths.symbol.c_str(), paths.rom.c_str(), paths.xref.c_str(), flags);
}

}  // namespace monitor
