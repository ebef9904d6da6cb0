#include "monitor_fixture.h"

#include <unistd.h>

#include <QAction>
#include <QCoreApplication>

#include "core/main_module.h"
#include "core/settings/mdl_registry.h"
#include "core/settings/registry_layout.h"
#include "platform/filenames.h"
#include "platform/hooks.h"

namespace monitortest {

void MonitorWindowSettings::Seed() const {
  if (!seed) return;
  monitor::EnsureLayoutKey("monitor window");
  std::map<std::string, int32_t> values = {{"windowstate", 0}};
  for (const auto& [name, value] : dwords) values[name] = value;
  for (const auto& [name, value] : values) {
    monitor::RegSetSetting(platform::HKEY_CURRENT_USER, monitor::kMonitorWindowKey, name,
                           monitor::RegValue(value), platform::REG_DWORD);
  }
}

std::map<std::string, int32_t> MonitorWindowSettings::Stored() const {
  std::map<std::string, int32_t> stored;
  for (const char* name : {"windowstate", "height", "width", "top", "left"}) {
    const monitor::RegValue value =
        monitor::RegGetSetting(platform::HKEY_CURRENT_USER, monitor::kMonitorWindowKey, name);
    if (!value.IsEmpty()) stored[name] = value.AsNumber();
  }
  return stored;
}

MonitorTest::MonitorTest() {
  char cwd[4096];
  oldCwd = getcwd(cwd, sizeof cwd) != nullptr ? cwd : "/";
  setenv("TAVIX_LINK_DIR", link.path().c_str(), 1);
  // A fixture of its own may point the registry elsewhere; the seed goes
  // where it points at Start.
  setenv("TAVIX_REGISTRY_DIR", registry.path().c_str(), 1);
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
  settings.Seed();
  EXPECT_TRUE(mainModule.Main());
  return state.MainForm();
}

void MonitorTest::Click(const std::string& item) {
  QAction* action = state.MainForm()->Menu(item);
  ASSERT_NE(action, nullptr) << item;
  action->trigger();
}

}  // namespace monitortest
