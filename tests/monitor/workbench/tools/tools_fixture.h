#pragma once
// The monitor with its workbench tools bound, real hives in a private
// registry folder, and the common dialogs answered from a script. The program
// folder holds the real K42XXDIS and tipofday.txt unless a test says not.
#include <functional>
#include <string>
#include <vector>

#include "monitor_fixture.h"
#include "platform/forms.h"
#include "platform/hooks.h"

namespace toolstest {

// One answer of the dialog script: the file name it picks, or a cancel.
struct DialogAnswer {
  std::string fileName;
  bool cancel = false;
};

class ToolsTest : public monitortest::MonitorTest {
 protected:
  explicit ToolsTest(bool withLibrary = true);
  ~ToolsTest() override;

  // A file of the program folder of the build linked into this test's one.
  void LinkFromDist(const std::string& name);
  // Every dialog the commands open: "<dialog>|<title>|<filter>|<file name>|<index>|<cancel error>"
  // in `dialogs`, answered by the next of `answers` (a cancel when none is left).
  void ScriptDialogs(std::vector<DialogAnswer> answers);
  // Every modal form by name in `modal`, with `act` acting on it; without
  // one, the form is closed as the user's close does.
  void ScriptModal(std::function<void(platform::Form&)> act);
  // The value of HKEY_CURRENT_USER, as text, or "" when missing.
  static std::string UserSetting(const std::string& key, const std::string& name);
  // The HKEY_CURRENT_USER hive file as it stands.
  std::string Hive() const { return registry.read("HKEY_CURRENT_USER.hive"); }

  testsupport::TempDir registry, work;
  std::vector<std::string> dialogs;
  std::vector<DialogAnswer> answers;
  std::vector<std::string> modal;
};

}  // namespace toolstest
