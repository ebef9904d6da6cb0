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

// The settings the main window reads and writes, recorded in order.
struct RecordedSettings {
  std::map<std::string, int32_t> dwords;  // "name" below the monitor window key, or "key|name"
  std::vector<std::string> log;           // "get name", "set key|name=value"
  void Bind(monitor::Services& seams);
};

class MonitorTest : public ::testing::Test {
 protected:
  MonitorTest();
  ~MonitorTest() override;

  // Main with the recorded settings; the main window as it loaded.
  monitor::Monitorform* Start();
  // The menu command as the user's click runs it.
  void Click(const std::string& item);
  // The writes of the settings log, without the reads.
  std::vector<std::string> Writes() const;

  testsupport::TempDir program, link;
  std::string oldCwd;
  RecordedSettings settings;
  std::vector<std::string> boxes;   // "title|text|style"
  std::vector<std::string> opened;  // "verb|file|folder|show"
  int ends = 0;
  monitor::MonitorState state;
  monitor::MainModule mainModule{state};
};

}  // namespace monitortest
