#pragma once
// The monitor's binding of the target interface module STDK42XX: loaded by
// name from the program folder at the first call, each export looked up by
// name when it is first used. The records are passed as pointers to their
// first elements, as the module expects.
//
// A module that cannot be loaded raises run-time error 53, a missing export
// 453; the binding is tried again at the next call. What the module itself
// reports (V0010, V0011) reaches the user in its own message boxes.
#include <cstdint>
#include <map>
#include <string>

#include "k42target.h"
#include "platform/library.h"

namespace monitor {

class TargetInterface {
 public:
  // `programPath` is read at the first call: the folder holding STDK42XX.
  explicit TargetInterface(const std::string& programPath) : programPath_(programPath) {}
  ~TargetInterface();
  TargetInterface(const TargetInterface&) = delete;
  TargetInterface& operator=(const TargetInterface&) = delete;

  static constexpr const char* kModuleName = "STDK42XX.DLL";
  static constexpr int kFileNotFound = 53;
  static constexpr int kEntryPointMissing = 453;

  // True once the module is loaded.
  bool Bound() const { return handle_ != nullptr; }

  int32_t GetController(int32_t index, char* buffer, int32_t length, const std::string& folder);
  int32_t SetController(const std::string& name, intptr_t unused, const std::string& folder);
  int32_t InitInterface(void* hostWindow);
  int32_t SetControllerOptions(const std::string& options);
  int32_t GetControllerOptions(int32_t length, char* buffer);
  int32_t UnloadInterface(intptr_t unused);
  int32_t Instruction_Reset(CpuState* cpu, ProgramCell* program, RegisterCell* registers,
                            TraceEntry* trace);
  int32_t Instruction_Execute(CpuState* cpu, ProgramCell* program, RegisterCell* registers,
                              TraceEntry* trace, int32_t mode);
  int32_t Instruction_Break(int32_t bits);
  int32_t MTPChecksum(int32_t type, const std::string& path, char* output, int32_t words);
  int32_t Monitor_Write(CpuState* cpu, ProgramCell* program, RegisterCell* registers,
                        TraceEntry* trace, int32_t reg, int32_t value);

 private:
  void* Export(const char* name);
  template <class Fn>
  Fn Bind(const char* name) {
    return reinterpret_cast<Fn>(Export(name));
  }

  const std::string& programPath_;
  platform::LibraryHandle handle_ = nullptr;
  std::map<std::string, void*> exports_;
};

}  // namespace monitor
