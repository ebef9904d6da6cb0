// A module without Instruction_Break and the option exports; its reset
// answers 7, which STDK42XX must not pass on.
#include <k42target.h>

K42_EXPORT int32_t InitInterface(void*) { return 0; }
K42_EXPORT int32_t Instruction_Reset(CpuState*, ProgramCell*, RegisterCell*, TraceEntry*) {
  return 7;
}
K42_EXPORT int32_t Instruction_Execute(CpuState*, ProgramCell*, RegisterCell*, TraceEntry*,
                                       int32_t mode) {
  return mode + 1;
}
K42_EXPORT int32_t Monitor_Write(CpuState*, ProgramCell*, RegisterCell*, TraceEntry*, int32_t,
                                 int32_t value) {
  return value;
}
