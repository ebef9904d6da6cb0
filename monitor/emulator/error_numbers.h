#pragma once
// The numbers of the run-time errors (platform::RunTimeError) that the
// emulator's link and session raise and their callers tell apart. The serial
// port's own numbers are platform::SerialPort's.
namespace monitor {

inline constexpr int kErrInternal = 51;         // an error that carried no number of its own
inline constexpr int kErrResetFailed = 31991;   // the emulator's hardware reset failed
inline constexpr int kErrStateNotRead = 31993;  // the emulator's state packet was not read
inline constexpr int kErrStateNotSent = 31994;  // the emulator's state packet was not sent
inline constexpr int kErrSendTimeout = 31995;   // a send did not go out in time
inline constexpr int kErrWordNotSent = 31998;   // the emulator's command word was not sent
inline constexpr int kErrNoAnswer = 32000;      // the emulator did not answer in time (a read, a reset)

}  // namespace monitor
