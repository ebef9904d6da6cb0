#include "emulator/emulator_commands.h"

#include "core/main_module.h"
#include "core/monitor_state.h"
#include "core/view.h"
#include "core/view_clearing.h"
#include "emulator/comm_settings.h"
#include "emulator/emulator_link.h"
#include "emulator/emulator_session.h"
#include "emulator/error_numbers.h"
#include "platform/messagebox.h"
#include "platform/run_time_error.h"

namespace monitor {
namespace {

enum : int16_t {
  kConnected = 1,
  kDisconnect = 2,
  kStep = 3,
  kGo = 4,
  kStop = 5,
  kDone = 10,
  kFailed = 11,
  kReset = 14,
};

// Command-bit indices: bit i has the weight 2^i.
enum : size_t { kBitStop = 0, kBitGo = 1, kBitStep = 2, kBitEight = 3, kBitReset = 4 };

// One step of an emulator command: a failure sends session event 11 and the
// command goes on with its next step.
template <typename Body>
void SessionStep(MonitorState& state, Body body) {
  try {
    body();
  } catch (const std::exception&) {
    NextEmulatorState(state, kFailed);
  }
}

void TakeTraceStart(MonitorState& state) {
  state.TraceStartIndex = static_cast<int16_t>(state.CpuState.word[25] & 0xFFFF);
}

// The connect's steps from the reopen on; false when the link did not come
// up idle (a silent emulator closes the port in the handshake).
bool Connect(EmulatorLink& link) {
  MonitorState& state = link.State();
  link.ClosePort();
  link.OpenPort();
  ResetHardwareCommand(link);
  if (state.LinkState != kLinkIdle) return false;
  ResetIndicatorStates(state);
  state.CommandBitMode[kBitEight] = 1;
  state.CommandBitMode[kBitStop] = 1;
  EmulatorDispatch(link);
  NextEmulatorState(state, kConnected);
  state.Status.ShowReady();
  return true;
}

}  // namespace

void ResetIndicatorStates(MonitorState& state) {
  state.CommandBitMode.fill(2);
}

void HardwareGo(EmulatorLink& link) {
  MonitorState& state = link.State();
  SessionStep(state, [&] { NextEmulatorState(state, kGo); });
  if (state.TargetState != kEmulatorSendingGoState) return;
  SessionStep(state, [&] { TakeTraceStart(state); });
  SessionStep(state, [&] { SendEmulatorState(link); });
  SessionStep(state, [&] {
    if (state.TargetState == kEmulatorGoSent) {
      ResetIndicatorStates(state);
      state.CommandBitMode[kBitGo] = 1;
    }
  });
  SessionStep(state, [&] { EmulatorDispatch(link); });
}

void HardwareStep(EmulatorLink& link) {
  MonitorState& state = link.State();
  SessionStep(state, [&] { NextEmulatorState(state, kStep); });
  if (state.TargetState != kEmulatorSendingStepState) return;
  SessionStep(state, [&] { TakeTraceStart(state); });
  SessionStep(state, [&] { SendEmulatorState(link); });
  if (state.TargetState != kEmulatorStepSent) return;
  SessionStep(state, [&] {
    ResetIndicatorStates(state);
    state.CommandBitMode[kBitStep] = 1;
    state.CommandBitMode[kBitEight] = 1;
  });
  SessionStep(state, [&] { EmulatorDispatch(link); });
}

void HardwareStop(EmulatorLink& link) {
  MonitorState& state = link.State();
  if (state.TargetState == kEmulatorStopAsked) return;
  SessionStep(state, [&] { NextEmulatorState(state, kStop); });
  if (state.TargetState != kEmulatorStopAsked) return;
  SessionStep(state, [&] {
    ResetIndicatorStates(state);
    state.CommandBitMode[kBitStop] = 1;
  });
  SessionStep(state, [&] { EmulatorDispatch(link); });
}

void OpenEmulatorSession(EmulatorLink& link) {
  MonitorState& state = link.State();
  if (state.TargetState != kEmulatorNotConnected) return;
  for (;;) {
    bool connected = false;
    try {
      connected = Connect(link);
    } catch (const std::exception&) {
      connected = false;
    }
    if (connected) return;
    RefreshPanel(state);
    const int answer =
        platform::MessageBox("The monitor is not connected.\rPress OK to continue", "Connect Error",
                             platform::MB_OKCANCEL | platform::MB_ICONEXCLAMATION);
    if (answer != platform::IDOK) break;
  }
  // Given up: the port closed, the session still not connected.
  SessionStep(state, [&] { link.ClosePort(); });
  RefreshPanel(state);
}

void CloseEmulatorSession(EmulatorLink& link) {
  MonitorState& state = link.State();
  if (state.TargetState == kEmulatorNotConnected) return;
  const auto step = [&state](const auto& body) {
    try {
      body();
    } catch (const std::exception&) {
      NextEmulatorState(state, kFailed);
      RefreshPanel(state);
    }
  };
  step([&] { link.PollEmulator(); });
  step([&] { link.ClosePort(); });
  step([&] { RefreshPanel(state); });
  step([&] { NextEmulatorState(state, kDisconnect); });
  step([&] { state.Status.PopStatusText(); });
}

void LoadCommSettings(EmulatorLink& link) {
  MonitorState& state = link.State();
  const LinkSettings stored = ReadCommSettings();
  state.LinkBuffered = static_cast<int16_t>(stored.buffered);
  link.SetBaudRate(stored.baud);
  link.SetPortNumber(static_cast<int16_t>(stored.com + 1));
  try {
    link.ClosePort();
    link.OpenPortQuietly();
  } catch (const std::exception&) {
  }
}

void ResetEmulator(EmulatorLink& link) {
  MonitorState& state = link.State();
  NextEmulatorState(state, kReset);
  if (state.TargetState != kEmulatorResetting) return;
  try {
    ResetIndicatorStates(state);
    state.CommandBitMode[kBitReset] = 1;
    EmulatorDispatch(link);
    // DSR within the reset time, the poll step running while it is off.
    platform::SerialPort& port = link.Comm();
    const platform::Deadline deadline = link.StartTimeout(link.Timings().resetDsrMs);
    if (!platform::WaitPumping([&] { return port.DSRHolding(); },
                               [&] { return link.TimedOut(deadline); }, [&] { PollStep(state); })) {
      throw platform::RunTimeError(kErrNoAnswer, "The emulator did not come back from its reset");
    }
    ClearPanelState(state);
    ClearCommandBits(state);
    NextEmulatorState(state, kDone);
  } catch (const std::exception& error) {
    NextEmulatorState(state, kFailed);
    const auto* numbered = dynamic_cast<const platform::RunTimeError*>(&error);
    throw platform::RunTimeError(numbered != nullptr ? numbered->Number() : kErrInternal,
                                 error.what());
  }
}

void ResetHardwareCommand(EmulatorLink& link) {
  try {
    link.PollEmulator();
    ResetEmulator(link);
  } catch (const std::exception&) {
    platform::MessageBox(
        "The monitor can not reset the hardware.\rCheck the emulator and the connection with "
        "the host.",
        "Hardware Reset Error", platform::MB_OK | platform::MB_ICONEXCLAMATION);
    link.PollEmulator();
    throw platform::RunTimeError(kErrResetFailed, "The monitor can not reset the hardware.");
  }
}

}  // namespace monitor
