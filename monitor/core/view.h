#pragma once
// The control panel's displays: one procedure per register, flag and
// indicator, each writing its control from CpuState and TargetState; the
// collectors that call them in their fixed order; and the watch and RAM data
// columns. The clearing of the target state is in view_clearing.h.
//
// Displays are silent: they set values without raising the controls' Change
// or Click. Each does nothing while the panel is not loaded.
#include <cstdint>
#include <string>

namespace monitor {

class MonitorState;

// The value's upper-case hex digits, zero-padded and cut to the last `width`.
std::string HexText(int32_t value, int width);

// RefreshRegisters and RefreshIndicators, while the panel is loaded.
void RefreshPanel(MonitorState& state);

// The eleven register displays, in this order.
void RefreshRegisters(MonitorState& state);
void ShowAccumulator(MonitorState& state);
void ShowCarry(MonitorState& state);
void ShowCarryInt(MonitorState& state);
void ShowHalt(MonitorState& state);
void ShowZero(MonitorState& state);
void ShowIndexRegister(MonitorState& state);
void ShowInterruptFlag(MonitorState& state);
void ShowPc1(MonitorState& state);
void ShowPc2(MonitorState& state);
void ShowPc3(MonitorState& state);
void ShowStackLevel(MonitorState& state);

// The fifteen indicator displays, in this order.
void RefreshIndicators(MonitorState& state);
void ShowConnectButton(MonitorState& state);
void ShowResetButton(MonitorState& state);
void ShowRunButton(MonitorState& state);
void ShowStopButton(MonitorState& state);
void ShowStepButton(MonitorState& state);
void ShowAnimateButton(MonitorState& state);
void ShowProgramBreakEnable(MonitorState& state);
void ShowDataBreakEnable(MonitorState& state);
void ShowInterruptRequest(MonitorState& state);
void ShowTraceEnable(MonitorState& state);
void ShowPort1(MonitorState& state);
void ShowPort2(MonitorState& state);
void ShowPort3(MonitorState& state);
void ShowPort4(MonitorState& state);
void ShowRunIndicators(MonitorState& state);

// The values of the watch rows, drawn by the open watch window with row 1
// current: each row's Addr names a register cell 0..127; other rows are
// skipped, and so is the last row, the empty entry row.
void RefreshWatchWindow(MonitorState& state);
// The register cells' values, drawn by the open RAM window.
void RefreshRamWindow(MonitorState& state);

}  // namespace monitor
