#pragma once
// Each test gets its own registry folder.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "temp_dir.h"

class SettingsFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("TAVIX_REGISTRY_DIR", dir.path().c_str(), 1); }
  std::string UserHive() const { return dir.read("HKEY_CURRENT_USER.hive"); }
  testsupport::TempDir dir;
};
