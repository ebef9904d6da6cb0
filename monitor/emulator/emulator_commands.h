#pragma once
// The in-circuit emulator's side of the run commands, connect and
// disconnect, and its hardware reset. The emulator commands never report to
// the user themselves (connect and the reset excepted): a failing step sends
// session event 11 and the next step runs.
namespace monitor {

class EmulatorLink;
class MonitorState;

// Go, step and stop: session events 4, 3 and 5, the state packet first when
// CpuStateDirty is set, then the command word.
void HardwareGo(EmulatorLink& link);
void HardwareStep(EmulatorLink& link);
void HardwareStop(EmulatorLink& link);

// Connect, only while not connected: the port reopened, the hardware reset,
// the connect word, "Ready". A failure asks "Connect Error": OK tries again
// from the reopen, Cancel gives up with the port closed.
void OpenEmulatorSession(EmulatorLink& link);
// Disconnect, unless not connected: the handshake, the port closed, session
// state 1, the top status text removed.
void CloseEmulatorSession(EmulatorLink& link);

// Every command-bit mode := 2.
void ResetIndicatorStates(MonitorState& state);
// The link settings read and the port opened at once, without a link event
// (LinkState stays 2; connect reopens through OpenPort). A port that does not
// open stays closed, and connect reports it.
void LoadCommSettings(EmulatorLink& link);

// The emulator's reset, accepted only where the session table leads event 14
// to 16: the reset word, DSR awaited within the reset time (kErrNoAnswer),
// the panel state and command bits cleared.
void ResetEmulator(EmulatorLink& link);
// The handshake, then ResetEmulator; a failure shows "Hardware Reset Error",
// repeats the handshake and raises kErrResetFailed.
void ResetHardwareCommand(EmulatorLink& link);

}  // namespace monitor
