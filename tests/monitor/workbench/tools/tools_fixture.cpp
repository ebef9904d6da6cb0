#include "tools_fixture.h"

#include <unistd.h>

#include "platform/hooks.h"
#include "settings/mdl_registry.h"
#include "workbench/tools/workbench_tools.h"

namespace toolstest {

ToolsTest::ToolsTest(bool withLibrary) {
  settings.seed = false;  // the settings as their start-up writes them
  monitor::BindWorkbenchTools(state);
  if (withLibrary) LinkFromDist("K42XXDIS.so");
  LinkFromDist("tipofday.txt");
  platform::SetDialogHook([this](platform::CommonDialog& d, platform::CommonDialog::Action) {
    dialogs.push_back(d.Name() + "|" + d.DialogTitle + "|" + d.Filter + "|" + d.FileName + "|" +
                      std::to_string(d.FilterIndex) + "|" + (d.CancelError ? "on" : "off"));
    if (answers.empty()) return false;
    d.FileName = answers.front();
    answers.erase(answers.begin());
    return !d.FileName.empty();
  });
  platform::SetModalFormHook([this](QWidget& widget) {
    auto& form = dynamic_cast<platform::Form&>(widget);
    modal.push_back(form.Name());
    act ? act(form) : void(form.close());
  });
}

ToolsTest::~ToolsTest() {
  unsetenv("TAVIX_UNATTENDED");
}

void ToolsTest::LinkFromDist(const std::string& name) {
  const std::string target = std::string(TAVIX_DIST_DIR) + name;
  ASSERT_EQ(symlink(target.c_str(), program.file(name).c_str()), 0) << name;
}

std::string ToolsTest::UserSetting(const std::string& key, const std::string& name) {
  return monitor::RegGetSetting(platform::HKEY_CURRENT_USER, key, name).AsText();
}

}  // namespace toolstest
