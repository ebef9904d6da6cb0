#include "core/view_clearing.h"

#include "core/data_cells.h"
#include "core/monitor_state.h"
#include "core/view.h"

namespace monitor {

void ClearCpuState(MonitorState& state) {
  for (int word = k42::kAcc; word <= k42::kHalted; ++word) state.CpuState.word[word] = 0;
  state.CpuStateDirty = -1;
  RefreshRegisters(state);
  InitDataMemory(state);
}

void ClearControlGroup(MonitorState& state) {
  for (int word = k42::kIce1; word <= k42::kCond3; ++word) state.CpuState.word[word] = 0;
  state.CpuStateDirty = -1;
}

void ClearRunGroup(MonitorState& state) {
  state.CpuStateDirty = -1;
  for (int word = k42::kProgBreakHit; word <= k42::kIceIntToggle; ++word) {
    state.CpuState.word[word] = 0;
  }
}

void ResetTraceControl(MonitorState& state) {
  state.CpuState.word[k42::kTraceActive] = -1;
  for (int word = k42::kTraceIndex; word <= k42::kTraceWrap; ++word) state.CpuState.word[word] = 0;
  state.CpuStateDirty = -1;
}

void ClearPanelState(MonitorState& state) {
  ClearCpuState(state);
  ClearControlGroup(state);
  ClearRunGroup(state);
  ResetTraceControl(state);
  RefreshPanel(state);
}

void ClearCommandBits(MonitorState& state) {
  state.CommandBitValue.fill(0);
  RefreshIndicators(state);
}

}  // namespace monitor
