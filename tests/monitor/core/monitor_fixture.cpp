#include "monitor_fixture.h"

#include <unistd.h>

#include <QAction>
#include <QCoreApplication>

#include "core/main_module.h"
#include "platform/filenames.h"
#include "platform/hooks.h"

namespace monitortest {

void RecordedSettings::Bind(monitor::Services& seams) {
  seams.settings.LoadSettings = [this] { log.push_back("LoadSettings"); };
  seams.settings.GetDword = [this](const std::string& key,
                                   const std::string& name) -> std::optional<int32_t> {
    log.push_back("get " + name);
    const std::string id = key == monitor::kMonitorWindowKey ? name : key + "|" + name;
    auto it = dwords.find(id);
    if (it == dwords.end()) return std::nullopt;
    return it->second;
  };
  seams.settings.SetDword = [this](const std::string& key, const std::string& name, double value) {
    const std::string id = key == monitor::kMonitorWindowKey ? name : key + "|" + name;
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    log.push_back("set " + id + "=" + text);
  };
  seams.settings.SetString = [this](const std::string& key, const std::string& name,
                                    const std::string& value) {
    log.push_back("set " + key + "|" + name + "=" + value);
  };
}

MonitorTest::MonitorTest() {
  char cwd[4096];
  oldCwd = getcwd(cwd, sizeof cwd) != nullptr ? cwd : "/";
  setenv("TAVIX_LINK_DIR", link.path().c_str(), 1);
  platform::SetProgramPath(program.path());
  platform::SetMessageBoxHook(
      [this](const std::string& text, const std::string& title, unsigned style) {
        boxes.push_back(title + "|" + text + "|" + std::to_string(style));
        return platform::DefaultAnswer(style);
      });
  platform::SetShellHook([this](const platform::ShellRequest& r) {
    opened.push_back(r.verb + "|" + r.file + "|" + r.folder + "|" + std::to_string(r.show));
  });
  platform::SetHelpHook([this](const std::string& file, int command) {
    opened.push_back("help|" + file + "|" + std::to_string(command));
  });
  platform::SetEndProgramHook([this] { ++ends; });
  settings.Bind(state.Seams);
}

MonitorTest::~MonitorTest() {
  platform::SetMessageBoxHook(nullptr);
  platform::SetShellHook(nullptr);
  platform::SetHelpHook(nullptr);
  platform::SetDialogHook(nullptr);
  platform::SetModalFormHook(nullptr);
  platform::SetEndProgramHook(nullptr);
  if (chdir(oldCwd.c_str()) != 0) ADD_FAILURE() << "cwd not restored";
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

monitor::Monitorform* MonitorTest::Start() {
  EXPECT_TRUE(mainModule.Main());
  return state.MainForm();
}

void MonitorTest::Click(const std::string& item) {
  QAction* action = state.MainForm()->Menu(item);
  ASSERT_NE(action, nullptr) << item;
  action->trigger();
}

std::vector<std::string> MonitorTest::Writes() const {
  std::vector<std::string> writes;
  for (const std::string& entry : settings.log) {
    if (entry.rfind("set ", 0) == 0) writes.push_back(entry.substr(4));
  }
  return writes;
}

}  // namespace monitortest
