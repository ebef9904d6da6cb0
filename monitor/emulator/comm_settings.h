#pragma once
// The emulator link's settings as the registry keeps them.
#include <cstdint>

namespace monitor {

// The link's settings below HKEY_LOCAL_MACHINE: "Com" (list index 0..3),
// "Baud Rate" and "Buffed" (1 or 0), all stored as decimal text.
struct CommSettings {
  int32_t com = 0;
  int32_t baud = 0;
  int32_t buffered = 0;
};
CommSettings ReadCommSettings();
// Creates the key when it is missing, then stores the three values.
void StoreCommSettings(const CommSettings& settings);

}  // namespace monitor
