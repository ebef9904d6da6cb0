#pragma once
// Errors that stop a run: a message box titled "VICE ERROR" with one OK
// button, owned by the window that has the focus.
#include <platform/messagebox.h>

namespace simcore {

inline constexpr const char* kInterruptStackFull =
    "Stack Overflow\nInterrupt generated and stack full";
inline constexpr const char* kCallStackFull = "Stack Overflow\nCALL instruction and stack full";
inline constexpr const char* kRetWithoutCall = "Stack Underflow\nRET without Corresponding CALL";
inline constexpr const char* kRtiWithoutInterrupt = "Stack Underflow\nRTI without interrupt";

[[gnu::cold, gnu::noinline]] inline void ViceError(const char* text) {
  platform::MessageBox(text, "VICE ERROR", platform::MB_OK);
}

}  // namespace simcore
