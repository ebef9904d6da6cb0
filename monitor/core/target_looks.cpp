#include "core/target_looks.h"

#include "core/monitor_state.h"

namespace monitor {
namespace {

bool Simulated(const MonitorState& state) {
  return state.TargetState == kSimulator;
}

}  // namespace

bool RegistersLive(const MonitorState& state) {
  return Simulated(state) || state.TargetState == kEmulatorHalted;
}

bool ReadyForCommand(const MonitorState& state) {
  return Simulated(state) ? state.RunActive == 0 : state.TargetState == kEmulatorHalted;
}

bool TargetRunning(const MonitorState& state) {
  return Simulated(state) ? state.RunActive != 0 : state.TargetState == kEmulatorRunning;
}

bool PortsShown(const MonitorState& state) {
  return state.TargetState == kEmulatorHalted || state.TargetState == kEmulatorRunning;
}

bool PortsLive(const MonitorState& state) {
  return state.TargetState == kEmulatorHalted;
}

bool HasSession(const MonitorState& state) {
  return !Simulated(state);
}

bool SessionOpen(const MonitorState& state) {
  return HasSession(state) && state.TargetState != kEmulatorNotConnected;
}

bool CanConnect(const MonitorState& state) {
  return state.TargetState == kEmulatorNotConnected;
}

bool CanDisconnect(const MonitorState& state) {
  return state.TargetState == kEmulatorHalted;
}

bool KeepsOwnMemories(const MonitorState& state) {
  return !Simulated(state);
}

bool HostsPeriphery(const MonitorState& state) {
  return Simulated(state);
}

const char* PanelCaption(const MonitorState& state) {
  return Simulated(state) ? "VICE - VIRTUAL Emulator Control Panel"
                          : "ICE - Emulator Control Panel";
}

}  // namespace monitor
