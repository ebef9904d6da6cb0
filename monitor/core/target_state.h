#pragma once
// The values of MonitorState::TargetState, the monitor-wide word that says
// which target the commands go to: the simulator, or one of the states of
// the in-circuit emulator's session (see emulator_session.h for the table).
#include <cstdint>

namespace monitor {

enum TargetStateValue : int16_t {
  kEmulatorNotConnected = 1,  // emulator chosen, no session
  kEmulatorHalted = 2,        // connected, halted, its state known
  kEmulatorStepping = 3,      // the step acknowledged by the emulator
  kEmulatorRunning = 4,
  kEmulatorReadingState = 5,  // the state packet being read after a halt
  kEmulatorSendingStepState = 6,
  kEmulatorSendingGoState = 7,
  kEmulatorSendingWordHalted = 8,
  kEmulatorUnreached = 9,  // no transition leads here
  kEmulatorFailedHalted = 10,
  kEmulatorFailedRunning = 11,
  kEmulatorHaltedUnread = 12,  // halted, the state packet not yet read
  kEmulatorStepSent = 13,
  kEmulatorGoSent = 14,
  kEmulatorStopAsked = 15,
  kEmulatorResetting = 16,
  kEmulatorSendingWordUnconnected = 17,
  kSimulator = 32,
};

}  // namespace monitor
