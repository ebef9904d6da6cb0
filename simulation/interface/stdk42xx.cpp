// STDK42XX: the target interface module. Lists the controllers of TAVIX.INI,
// loads the chip module named for one, forwards every target call to it by
// export name, and computes the code-file checksum itself.
#include <k42target.h>
#include <platform/messagebox.h>

#include "controller_list.h"
#include "loaded_module.h"
#include "mtp_checksum.h"

namespace {

using stdk42xx::LoadedModule;

// Freed at process end when the monitor has not unloaded it.
LoadedModule gModule;

constexpr const char* kNotSelected = "Error V0010\nType of controller not selected";

void Report(const char* text) {
  platform::MessageBox(text, "STDK42XX.DLL", platform::MB_OK | platform::MB_ICONERROR);
}

// The export of the loaded module, or null after the message (none when
// `missing` is null).
template <class Fn>
Fn Lookup(const char* name, const char* missing) {
  if (!gModule.loaded()) {
    Report(kNotSelected);
    return nullptr;
  }
  auto fn = reinterpret_cast<Fn>(gModule.find(name));
  if (fn == nullptr && missing != nullptr) Report(missing);
  return fn;
}

}  // namespace

K42_EXPORT int32_t GetController(int32_t n, char* buffer, int32_t length, const char* folder) {
  const std::vector<std::string> names = stdk42xx::ControllerNames(stdk42xx::FolderPath(folder));
  if (n == 0 && names.empty()) return 0;
  if (buffer == nullptr || length <= 0) return -1;
  if (n < 1 || static_cast<size_t>(n) > names.size()) {
    buffer[0] = '\0';
    return -1;
  }
  const std::string& name = names[static_cast<size_t>(n) - 1];
  stdk42xx::CopyToBuffer(name.size() >= static_cast<size_t>(length) ? "Name too long!" : name,
                         buffer, length);
  return n;
}

K42_EXPORT int32_t SetController(const char* name, intptr_t /*ignored*/, const char* folder) {
  if (name == nullptr) return -1;
  const std::string folderPath = stdk42xx::FolderPath(folder);
  const std::string file = stdk42xx::ControllerModuleFile(folderPath, name);
  if (file == stdk42xx::kNotFound) return -1;
  return gModule.replace(file, folderPath) ? 0 : -1;
}

K42_EXPORT int32_t UnloadInterface(intptr_t /*ignored*/) {
  gModule.release();
  return -1;
}

K42_EXPORT int32_t InitInterface(void* hostWindow) {
  auto fn = Lookup<InitInterfaceFn>("InitInterface",
                                    "Error V0011\nImpossible to find InitInterface function");
  return fn != nullptr ? fn(hostWindow) : -1;
}

K42_EXPORT int32_t Instruction_Reset(CpuState* cpu, ProgramCell* program, RegisterCell* registers,
                                     TraceEntry* trace) {
  auto fn = Lookup<InstructionResetFn>(
      "Instruction_Reset", "Error V0011\nImpossible to find Instruction_Reset function");
  if (fn == nullptr) return -1;
  fn(cpu, program, registers, trace);
  return 0;
}

K42_EXPORT int32_t Instruction_Execute(CpuState* cpu, ProgramCell* program,
                                       RegisterCell* registers, TraceEntry* trace, int32_t mode) {
  auto fn = Lookup<InstructionExecuteFn>("Instruction_Execute",
                                         "Error V0011\nImpossible to find Execute function");
  if (fn == nullptr) return -1;
  gModule.enterExecute();
  const int32_t result = fn(cpu, program, registers, trace, mode);
  gModule.leaveExecute();
  return result;
}

K42_EXPORT int32_t Instruction_Break(int32_t bits) {
  auto fn = Lookup<InstructionBreakFn>(
      "Instruction_Break", "Error V0011\nImpossible to find Instruction_Break function");
  return fn != nullptr ? fn(bits) : -1;
}

K42_EXPORT int32_t Monitor_Write(CpuState* cpu, ProgramCell* program, RegisterCell* registers,
                                 TraceEntry* trace, int32_t reg, int32_t value) {
  auto fn = Lookup<MonitorWriteFn>("Monitor_Write",
                                   "Error V0011\nImpossible to find Monitor_Write function");
  return fn != nullptr ? fn(cpu, program, registers, trace, reg, value) : -1;
}

K42_EXPORT int32_t SetControllerOptions(const char* options) {
  auto fn = Lookup<SetControllerOptionsFn>("SetControllerOptions", nullptr);
  return fn != nullptr ? fn(options) : -1;
}

K42_EXPORT int32_t GetControllerOptions(int32_t length, char* buffer) {
  auto fn = Lookup<GetControllerOptionsFn>("GetControllerOptions", nullptr);
  return fn != nullptr ? fn(length, buffer) : -1;
}

K42_EXPORT int32_t MTPChecksum(int32_t type, const char* path, char* output, int32_t words) {
  if (type != 16) return -1;
  if (path == nullptr) return -2;
  std::string text;
  const int32_t count = stdk42xx::CodeFileChecksum(type, path, words, text);
  if (count >= 0) stdk42xx::CopyToBuffer(text, output, 5);
  return count;
}
