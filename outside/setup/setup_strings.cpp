// The second stage's language library: its texts by number.
#include <cstring>

namespace {

#if SETUP_LANGUAGE == 0x0407
const char* const kStrings[] = {
    nullptr,
    "Installiere %s nach %s ...",
    "%s wurde nach %s installiert.",
    "Setup konnte %s nicht installieren: %s",
};
#else
const char* const kStrings[] = {
    nullptr,
    "Installing %s into %s...",
    "%s was installed into %s.",
    "Setup could not install %s: %s",
};
#endif

}  // namespace

// Copies string `id` into `buffer` (at most `size` - 1 characters and a NUL);
// returns the characters copied, 0 for an unknown string.
extern "C" __attribute__((visibility("default"))) int SetupLoadString(unsigned id, char* buffer,
                                                                      int size) {
  if (id == 0 || id >= sizeof kStrings / sizeof kStrings[0] || !buffer || size <= 0) return 0;
  const int length = static_cast<int>(std::strlen(kStrings[id]));
  const int copied = length < size - 1 ? length : size - 1;
  std::memcpy(buffer, kStrings[id], static_cast<size_t>(copied));
  buffer[copied] = '\0';
  return copied;
}
