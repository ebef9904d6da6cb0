#include "core/target_interface.h"

#include "platform/run_time_error.h"

namespace monitor {

TargetInterface::~TargetInterface() {
  if (handle_ != nullptr) platform::FreeLibrary(handle_);
}

void* TargetInterface::Export(const char* name) {
  if (handle_ == nullptr) {
    handle_ = platform::LoadLibrary(kModuleName, programPath_);
    if (handle_ == nullptr) {
      throw platform::RunTimeError(kFileNotFound, std::string("File not found: ") + kModuleName);
    }
  }
  auto it = exports_.find(name);
  if (it != exports_.end()) return it->second;
  void* address = platform::GetProcAddress(handle_, name);
  if (address == nullptr) {
    throw platform::RunTimeError(kEntryPointMissing, std::string("Can't find DLL entry point ") +
                                                         name + " in " + kModuleName);
  }
  exports_.emplace(name, address);
  return address;
}

int32_t TargetInterface::GetController(int32_t index, char* buffer, int32_t length,
                                       const std::string& folder) {
  return Bind<GetControllerFn>("GetController")(index, buffer, length, folder.c_str());
}

int32_t TargetInterface::SetController(const std::string& name, intptr_t unused,
                                       const std::string& folder) {
  return Bind<SetControllerFn>("SetController")(name.c_str(), unused, folder.c_str());
}

int32_t TargetInterface::InitInterface(void* hostWindow) {
  return Bind<InitInterfaceFn>("InitInterface")(hostWindow);
}

int32_t TargetInterface::SetControllerOptions(const std::string& options) {
  return Bind<SetControllerOptionsFn>("SetControllerOptions")(options.c_str());
}

int32_t TargetInterface::GetControllerOptions(int32_t length, char* buffer) {
  return Bind<GetControllerOptionsFn>("GetControllerOptions")(length, buffer);
}

int32_t TargetInterface::UnloadInterface(intptr_t unused) {
  return Bind<UnloadInterfaceFn>("UnloadInterface")(unused);
}

int32_t TargetInterface::Instruction_Reset(CpuState* cpu, ProgramCell* program,
                                           RegisterCell* registers, TraceEntry* trace) {
  return Bind<InstructionResetFn>("Instruction_Reset")(cpu, program, registers, trace);
}

int32_t TargetInterface::Instruction_Execute(CpuState* cpu, ProgramCell* program,
                                             RegisterCell* registers, TraceEntry* trace,
                                             int32_t mode) {
  return Bind<InstructionExecuteFn>("Instruction_Execute")(cpu, program, registers, trace, mode);
}

int32_t TargetInterface::Instruction_Break(int32_t bits) {
  return Bind<InstructionBreakFn>("Instruction_Break")(bits);
}

int32_t TargetInterface::MTPChecksum(int32_t type, const std::string& path, char* output,
                                     int32_t words) {
  return Bind<MTPChecksumFn>("MTPChecksum")(type, path.c_str(), output, words);
}

int32_t TargetInterface::Monitor_Write(CpuState* cpu, ProgramCell* program, RegisterCell* registers,
                                       TraceEntry* trace, int32_t reg, int32_t value) {
  return Bind<MonitorWriteFn>("Monitor_Write")(cpu, program, registers, trace, reg, value);
}

}  // namespace monitor
