#pragma once
// Each test gets its own registry folder; text values are set and read in
// one call.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "platform/registry.h"
#include "temp_dir.h"

class RegistryFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("TAVIX_REGISTRY_DIR", dir.path().c_str(), 1); }
  std::string Hive(const char* root = "HKEY_CURRENT_USER") const {
    return dir.read(std::string(root) + ".hive");
  }
  testsupport::TempDir dir;
};

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
