#pragma once
// Text values set and read in one call, for tests in a fresh registry folder.
#include <string>

#include "platform/registry.h"
#include "registry_folder.h"

inline int32_t SetText(platform::HKEY key, const std::string& name, const std::string& text) {
  return platform::RegSetValueEx(key, name, platform::REG_SZ, text.data(),
                                 static_cast<uint32_t>(text.size()));
}

// The value's bytes, or "<missing>" when the query fails.
inline std::string QueryText(platform::HKEY key, const std::string& name) {
  uint32_t size = 0;
  if (platform::RegQueryValueEx(key, name, nullptr, nullptr, &size) != 0) return "<missing>";
  std::string text(size, '?');
  platform::RegQueryValueEx(key, name, nullptr, text.data(), &size);
  return text;
}
