#pragma once
// A test fixture whose registry folder is a fresh temporary folder.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "temp_dir.h"

class RegistryFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("TAVIX_REGISTRY_DIR", dir.path().c_str(), 1); }
  std::string Hive(const char* root = "HKEY_CURRENT_USER") const {
    return dir.read(std::string(root) + ".hive");
  }
  testsupport::TempDir dir;
};
