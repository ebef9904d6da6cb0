#pragma once
// The records and exports shared by the monitor, STDK42XX and every chip
// module. The monitor owns the records for the life of its process and passes
// them by pointer; a module keeps the last pointers it was given, which is
// safe only because the records outlive every module (a precondition of the
// whole interface, not checked here).
#include <cstdint>

extern "C" {

// The CPU and debug-control record: 29 words addressed by number.
struct CpuState {
  int32_t word[29];
};

// One program-memory cell: the 16-bit instruction word and its flags.
struct ProgramCell {
  int32_t instr;
  int32_t flags;
};

// One register-file cell: bits 0-3 value, bits 4-7 compare value; flags bits
// 0-2 compare mode, bit 3 break on read, bit 4 break on write.
struct RegisterCell {
  int32_t value;
  int32_t flags;
};

// One trace record; pc -1 marks an empty entry.
struct TraceEntry {
  int32_t pc;
  int32_t acc;
  int32_t flags;
};

}  // extern "C"

static_assert(sizeof(CpuState) == 116);
static_assert(sizeof(ProgramCell) == 8);
static_assert(sizeof(RegisterCell) == 8);
static_assert(sizeof(TraceEntry) == 12);

namespace k42 {

// CpuState word numbers. A module reads and writes words 0-10, 14-22 and
// 25-28 only.
enum CpuWord : int {
  kAcc = 0,
  kIndex = 1,
  kStackLevel = 2,
  kPcStack = 3,  // 3, 4, 5; the current PC is word 3 + level
  kCarry = 6,
  kCarryInt = 7,
  kZero = 8,
  kInInterrupt = 9,
  kHalted = 10,
  kIce1 = 11,
  kIce2 = 12,
  kIceIntMux = 13,
  kCond1 = 14,
  kCond2 = 15,
  kCond3 = 16,
  kProgBreakHit = 17,
  kDataBreakHit = 18,
  kTraceFull = 19,
  kDataBreakEnable = 20,
  kProgBreakEnable = 21,
  kTraceEnable = 22,
  kIceIntToggle = 23,
  kTraceActive = 24,
  kTraceIndex = 25,
  kTraceStopped = 26,
  kTraceWrap = 27,
  kTraceLast = 28,
};

constexpr int kCpuWords = 29;
constexpr int kProgramCells = 4096;
constexpr int kRegisterCells = 128;
constexpr int kTraceEntries = 8192;
constexpr int kMaxStackLevel = 2;
constexpr int32_t kInterruptVector = 1;
constexpr int32_t kPcMask = 0x0FFF;

// ProgramCell flags.
constexpr int32_t kCellBreakpoint = 1;
constexpr int32_t kCellTracePoint = 2;

// RegisterCell flags.
constexpr int32_t kCompareModeMask = 7;
constexpr int32_t kBreakOnRead = 8;
constexpr int32_t kBreakOnWrite = 16;

// TraceEntry flags.
constexpr int32_t kTraceCarry = 1;
constexpr int32_t kTraceProgBreak = 2;
constexpr int32_t kTraceDataBreak = 4;

// StopFlags: the run result and break word.
constexpr int32_t kStopNone = 0;
constexpr int32_t kStopProgBreak = 1;
constexpr int32_t kStopDataBreak = 2;
constexpr int32_t kStopTraceFull = 4;
constexpr int32_t kStopStep = 16;
constexpr int32_t kStopError = -1;

// Run modes (the initial StopFlags).
constexpr int32_t kRunModeRun = 0;
constexpr int32_t kRunModeStep = 16;

// Data-breakpoint compare: does value v break against compare value c?
constexpr bool CompareMatches(int32_t mode, int32_t v, int32_t c) {
  switch (mode & kCompareModeMask) {
    case 1: return v > c;
    case 2: return v == c;
    case 3: return v >= c;
    case 4: return v < c;
    case 5: return v != c;
    case 6: return v <= c;
    case 7: return true;
    default: return false;
  }
}

}  // namespace k42

// Exported functions: plain C names, pointer-sized handles, 32-bit integers.
#define K42_EXPORT extern "C" __attribute__((visibility("default")))

extern "C" {

// Chip module exports.
using InitInterfaceFn = int32_t (*)(void* hostWindow);
using InstructionResetFn = int32_t (*)(CpuState*, ProgramCell*, RegisterCell*, TraceEntry*);
using InstructionExecuteFn = int32_t (*)(CpuState*, ProgramCell*, RegisterCell*, TraceEntry*,
                                         int32_t mode);
using InstructionBreakFn = int32_t (*)(int32_t bits);
using MonitorWriteFn = int32_t (*)(CpuState*, ProgramCell*, RegisterCell*, TraceEntry*,
                                   int32_t reg, int32_t value);
using CurposDlgFn = intptr_t (*)(void* window, uint32_t message, uintptr_t wParam,
                                 intptr_t lParam);
using SetControllerOptionsFn = int32_t (*)(const char* options);
using GetControllerOptionsFn = int32_t (*)(int32_t length, char* buffer);

// STDK42XX's own exports (besides the forwarded ones above).
using GetControllerFn = int32_t (*)(int32_t n, char* buffer, int32_t length, const char* folder);
using SetControllerFn = int32_t (*)(const char* name, intptr_t ignored, const char* folder);
using UnloadInterfaceFn = int32_t (*)(intptr_t ignored);
using MTPChecksumFn = int32_t (*)(int32_t type, const char* path, char* output, int32_t words);

}  // extern "C"
