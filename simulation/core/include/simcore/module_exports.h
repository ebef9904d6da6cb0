#pragma once
// The extern "C" exports of a chip module, defined once for every module:
//
//   K42_CHIP_MODULE(MyChip)     the module's chip object and the exports
//                               InitInterface, Instruction_Reset,
//                               Instruction_Execute, Instruction_Break,
//                               Monitor_Write, CurposDlg; the chip's
//                               ModuleAttach/ModuleDetach run at load/unload
//   K42_CHIP_OPTIONS()          SetControllerOptions and GetControllerOptions,
//                               for the module that has them
//
// Use it in exactly one source file of the module, at namespace scope.
#include <k42target.h>
#include <platform/messages.h>

#define K42_CHIP_MODULE(ChipClass)                                                         \
  namespace {                                                                              \
  ChipClass gModuleChip;                                                                   \
  struct ModuleLifetime {                                                                  \
    ModuleLifetime() { gModuleChip.ModuleAttach(); }                                       \
    ~ModuleLifetime() {                                                                    \
      gModuleChip.ModuleDetach();                                                          \
      platform::ReleaseWindowLayer();                                                      \
    }                                                                                      \
  } gModuleLifetime;                                                                       \
  }                                                                                        \
  K42_EXPORT int32_t InitInterface(void* hostWindow) {                                     \
    return gModuleChip.InitInterface(hostWindow);                                          \
  }                                                                                        \
  K42_EXPORT int32_t Instruction_Reset(CpuState* cpu, ProgramCell* program,                \
                                       RegisterCell* registers, TraceEntry* trace) {       \
    return gModuleChip.Instruction_Reset(cpu, program, registers, trace);                  \
  }                                                                                        \
  K42_EXPORT int32_t Instruction_Execute(CpuState* cpu, ProgramCell* program,              \
                                         RegisterCell* registers, TraceEntry* trace,       \
                                         int32_t mode) {                                   \
    return gModuleChip.Instruction_Execute(cpu, program, registers, trace, mode);          \
  }                                                                                        \
  K42_EXPORT int32_t Instruction_Break(int32_t bits) {                                     \
    return gModuleChip.Instruction_Break(bits);                                            \
  }                                                                                        \
  K42_EXPORT int32_t Monitor_Write(CpuState* cpu, ProgramCell* program,                    \
                                   RegisterCell* registers, TraceEntry* trace, int32_t reg, \
                                   int32_t value) {                                        \
    return gModuleChip.Monitor_Write(cpu, program, registers, trace, reg, value);          \
  }                                                                                        \
  K42_EXPORT intptr_t CurposDlg(void* window, uint32_t message, uintptr_t wParam,          \
                                intptr_t lParam) {                                         \
    return gModuleChip.CurposDlg(window, message, wParam, lParam);                         \
  }

#define K42_CHIP_OPTIONS()                                                    \
  K42_EXPORT int32_t SetControllerOptions(const char* options) {              \
    return gModuleChip.SetControllerOptions(options);                         \
  }                                                                           \
  K42_EXPORT int32_t GetControllerOptions(int32_t length, char* buffer) {     \
    return gModuleChip.GetControllerOptions(length, buffer);                  \
  }
