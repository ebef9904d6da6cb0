#include "panel_fixture.h"

#include <spawn.h>
#include <sys/wait.h>

#include <QTest>

#include "core/settings/mdl_registry.h"
#include "debug/debug_forms.h"
#include "platform/filenames.h"
#include "platform/grid_control.h"
#include "platform/messagebox.h"
#include "platform/messages.h"

extern char** environ;

namespace paneltest {

std::vector<uint16_t> Assemble(const std::string& source) {
  testsupport::TempDir work;
  work.write("FIXTURE.ASM", source);
  const std::string exe = std::string(TAVIX_DIST_DIR) + "K42xxasm";
  std::vector<std::string> args{exe, "/D/SFIXTURE"};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, work.path().c_str());
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = -1;
  if (spawned == 0) waitpid(pid, &status, 0);
  EXPECT_EQ(status, 0) << "assembler failed";
  const std::string image =
      testsupport::ReadFile(platform::FindOrKeepPath(work.file("FIXTURE.BIN")));
  std::vector<uint16_t> words;
  for (size_t i = 0; i + 1 < image.size(); i += 2) {
    words.push_back(static_cast<uint16_t>(static_cast<uint8_t>(image[i]) << 8 |
                                          static_cast<uint8_t>(image[i + 1])));
  }
  return words;
}

PanelTest::PanelTest() {
  setenv("TAVIX_REGISTRY_DIR", registry.path().c_str(), 1);
  platform::SetBeepHook([this] { ++beeps; });
  monitor::RegisterDebugForms(state);
}

PanelTest::~PanelTest() {
  platform::RunPump::SetScript({});
  platform::SetBeepHook({});
  // The chip module goes before the forms that host its window.
  if (state.Forms.IsLoaded("IceView")) {
    state.RunActive = 0;
    state.Forms.Unload("IceView");
  }
}

void PanelTest::StartMonitor() {
  Start();
  state.ProgramPath = TAVIX_DIST_DIR;
}

monitor::IceView* PanelTest::Virtual(const std::string& controller, const std::string& options) {
  state.ControllerName = controller;
  state.PanelSettings = options;
  Click("mnuQVVICE");
  return Panel();
}

monitor::IceView* PanelTest::Panel() const {
  return dynamic_cast<monitor::IceView*>(state.Forms.Get("IceView"));
}

monitor::Display* PanelTest::Host() const {
  return dynamic_cast<monitor::Display*>(state.Forms.Get("Display"));
}

void PanelTest::LoadProgram(const std::vector<uint16_t>& words) {
  platform::GridControl& grid = *Panel()->grdProgram;
  grid.BeginUpdate();
  grid.SetRows(static_cast<int>(words.size()) + 2);
  for (size_t i = 0; i < words.size(); ++i) {
    state.ProgramMemory[i].instr = words[i];
    const int row = static_cast<int>(i) + 1;
    grid.SetTextMatrix(row, 2, QString::number(row));
    grid.SetTextMatrix(row, 3, QString::asprintf("%04X", static_cast<unsigned>(i)));
    grid.SetTextMatrix(row, 4, QString::asprintf("%04X", words[i]));
  }
  grid.EndUpdate();
}

void PanelTest::Key(int qtKey, int modifiers) {
  QTest::keyClick(Panel()->grdProgram, static_cast<Qt::Key>(qtKey),
                  static_cast<Qt::KeyboardModifiers>(modifiers));
}

int32_t PanelTest::Pc() const {
  return state.CpuState.word[k42::kPcStack + state.CpuState.word[k42::kStackLevel]];
}

int32_t CodeWindowNumber(const char* name) {
  return monitor::RegGetSetting(platform::HKEY_CURRENT_USER, monitor::kCodeWindowKey, name)
      .AsNumber();
}

}  // namespace paneltest
