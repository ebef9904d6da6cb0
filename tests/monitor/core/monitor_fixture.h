#pragma once
// A fresh monitor per test: its own program folder, link folder and settings,
// every outside action recorded.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/main_module.h"
#include "core/monitor_state.h"
#include "core/monitorform.h"
#include "temp_dir.h"

namespace monitortest {

// The main window's settings in the registry folder in use: seeded at Start
// below its key with the key's marker, so that the start-up keeps them, and
// windowstate 0 unless `dwords` names one.
struct MonitorWindowSettings {
  std::map<std::string, int32_t> dwords;  // by value name
  bool seed = true;                       // false: the registry as the test left it
  void Seed() const;
  // Which of windowstate, height, width, top and left are stored, and as what.
  std::map<std::string, int32_t> Stored() const;
};

class MonitorTest : public ::testing::Test {
 protected:
  MonitorTest();
  ~MonitorTest() override;

  // Main with the seeded settings; the main window as it loaded.
  monitor::Monitorform* Start();
  // The menu command as the user's click runs it.
  void Click(const std::string& item);
  testsupport::TempDir program, link, registry;
  std::string oldCwd;
  MonitorWindowSettings settings;
  std::vector<std::string> boxes;   // "title|text|style"
  std::vector<std::string> opened;  // "verb|file|folder|show"
  int ends = 0;
  monitor::MonitorState state;
  monitor::MainModule mainModule{state};
};

}  // namespace monitortest
