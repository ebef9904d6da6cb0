#pragma once
// The monitor with its workbench tools bound and real hives in a private
// registry folder. Common dialogs answer from `answers` ("" cancels; a cancel
// when none is left) and are recorded in `dialogs` as
// "<dialog>|<title>|<filter>|<file name>|<index>|<cancel error>". Modal forms
// are recorded in `modal` and closed, unless `act` is set. The program folder
// holds the build's K42XXDIS and tipofday.txt unless a test says not.
#include <functional>

#include "monitor_fixture.h"
#include "platform/forms.h"

namespace toolstest {

class ToolsTest : public monitortest::MonitorTest {
 protected:
  explicit ToolsTest(bool withLibrary = true);
  ~ToolsTest() override;

  void LinkFromDist(const std::string& name);
  static std::string UserSetting(const std::string& key, const std::string& name);

  testsupport::TempDir work;
  std::vector<std::string> answers, dialogs, modal;
  std::function<void(platform::Form&)> act;
};

}  // namespace toolstest
