#pragma once
// The clearing of the target state: groups of CpuState words and the
// emulator's command bits, each followed by the displays that show them.
namespace monitor {

class MonitorState;

// Clearing of CpuState groups; each marks CpuStateDirty. Word 28 is never
// cleared.
void ClearCpuState(MonitorState& state);      // words 0-10, RefreshRegisters, InitDataMemory
void ClearControlGroup(MonitorState& state);  // words 11-16
void ClearRunGroup(MonitorState& state);      // words 17-23
void ResetTraceControl(MonitorState& state);  // word 24 := -1, words 25-27 := 0
void ClearPanelState(MonitorState& state);    // the four above, then RefreshPanel
void ClearCommandBits(MonitorState& state);   // every CommandBitValue, then RefreshIndicators

}  // namespace monitor
