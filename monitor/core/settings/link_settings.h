#pragma once
// A serial link's settings as the registry keeps them: a key of the layout
// below HKEY_LOCAL_MACHINE with "Com" (list index 0..3), "Baud Rate" and
// "Buffed" (1 or 0), each a text; a missing value reads 0. The emulator's
// link and the programmer link keep one key each.
#include <cstdint>
#include <string>

namespace monitor {

struct LinkSettings {
  int32_t com = 0;
  int32_t baud = 0;
  int32_t buffered = 0;
};

// The texts stored: how it writes its numbers is each link's own.
struct LinkSettingTexts {
  std::string buffered, baud, com;
};

// `key` is the key's name in the registry layout.
LinkSettings ReadLinkSettings(const std::string& key);
// Creates the key when it is missing: a value is never stored into a
// missing key, and nothing else makes it.
void CreateLinkSettingsKey(const std::string& key);
// Creates the key when it is missing, then stores "Buffed", "Baud Rate" and
// "Com".
void StoreLinkSettings(const std::string& key, const LinkSettingTexts& texts);

}  // namespace monitor
