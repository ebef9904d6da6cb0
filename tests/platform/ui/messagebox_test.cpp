#include "platform/messagebox.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/hooks.h"
#include "platform/library.h"
#include "temp_dir.h"

extern char** environ;

namespace {

using namespace platform;
using Box = std::tuple<std::string, std::string, unsigned>;

// Records every box and answers from a script.
class RecordingHook {
 public:
  explicit RecordingHook(std::vector<int> answers) : answers_(std::move(answers)) {
    SetMessageBoxHook([this](const std::string& text, const std::string& title, unsigned style) {
      boxes.emplace_back(text, title, style);
      return next_ < answers_.size() ? answers_[next_++] : IDCANCEL;
    });
  }
  ~RecordingHook() { SetMessageBoxHook(nullptr); }
  std::vector<Box> boxes;

 private:
  std::vector<int> answers_;
  size_t next_ = 0;
};

struct ProgramRun {
  int exitCode = -1;
  std::string out, err;
};

// Runs a program with standard output and error captured in files.
ProgramRun RunProgram(std::vector<std::string> args) {
  testsupport::TempDir dir;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, dir.file("out").c_str(), O_WRONLY | O_CREAT, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, dir.file("err").c_str(), O_WRONLY | O_CREAT, 0600);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  ProgramRun run;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  run.out = dir.read("out");
  run.err = dir.read("err");
  return run;
}

TEST(MessageBoxTest, DefaultAnswerIsTheDefaultButton) {
  EXPECT_EQ(DefaultAnswer(MB_OK), IDOK);
  EXPECT_EQ(DefaultAnswer(MB_OKCANCEL | MB_ICONQUESTION), IDOK);
  EXPECT_EQ(DefaultAnswer(MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(DefaultAnswer(MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
  EXPECT_EQ(DefaultAnswer(MB_ABORTRETRYIGNORE | MB_DEFBUTTON2), IDRETRY);
  EXPECT_EQ(DefaultAnswer(MB_RETRYCANCEL), IDRETRY);
  // A default button the box does not have falls back to the first.
  EXPECT_EQ(DefaultAnswer(MB_YESNO | MB_DEFBUTTON3), IDYES);
  EXPECT_EQ(DefaultAnswer(MB_OK | MB_DEFBUTTON2), IDOK);
}

TEST(MessageBoxTest, HookRecordsBoxesAndAnswersFromItsScript) {
  RecordingHook hook({IDNO, IDRETRY});
  EXPECT_EQ(MessageBox("Save changes?", "Tavix", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(MessageBox("Port busy", "Link", MB_RETRYCANCEL | MB_ICONSTOP), IDRETRY);
  ASSERT_EQ(hook.boxes.size(), 2u);
  EXPECT_EQ(hook.boxes[0], Box("Save changes?", "Tavix", MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(hook.boxes[1], Box("Port busy", "Link", MB_RETRYCANCEL | MB_ICONSTOP));
}

TEST(MessageBoxTest, ModulesLoadedByNameReachTheProgramsHook) {
  RecordingHook hook({IDYES, IDCANCEL});
  for (const char* path : {UI_PROBE_MESSAGES, UI_PROBE_PUMP}) {
    LibraryHandle module = LoadLibrary(path);
    ASSERT_NE(module, nullptr) << LastLibraryError();
    const char* name = path == std::string(UI_PROBE_MESSAGES) ? "ProbeMessageBox" : nullptr;
    int answer = 0;
    if (name != nullptr) {
      auto probe = reinterpret_cast<int (*)(const char*, const char*, unsigned)>(
          GetProcAddress(module, name));
      ASSERT_NE(probe, nullptr);
      answer = probe("From the module", "Disassembler", MB_YESNO);
      EXPECT_EQ(answer, IDYES);
    } else {
      auto probe = reinterpret_cast<int (*)(const char*)>(GetProcAddress(module, "ProbeQtMessageBox"));
      ASSERT_NE(probe, nullptr);
      // The module has its own Qt boxes, but the program's hook wins.
      EXPECT_EQ(probe("From the chip"), IDCANCEL);
    }
    FreeLibrary(module);
  }
  ASSERT_EQ(hook.boxes.size(), 2u);
  EXPECT_EQ(hook.boxes[0], Box("From the module", "Disassembler", MB_YESNO));
  EXPECT_EQ(hook.boxes[1], Box("From the chip", "Probe", MB_OKCANCEL));
}

TEST(MessageBoxTest, TonesOfTheProgramAndOfModulesReachTheHook) {
  std::vector<std::pair<int, int>> tones;
  SetToneHook([&tones](int frequency, int durationMs) { tones.emplace_back(frequency, durationMs); });
  BeepTone(440, 250);
  LibraryHandle module = LoadLibrary(UI_PROBE_MESSAGES);
  ASSERT_NE(module, nullptr) << LastLibraryError();
  auto probe = reinterpret_cast<void (*)(int, int)>(GetProcAddress(module, "ProbeBeep"));
  ASSERT_NE(probe, nullptr);
  probe(39, 1);
  SetToneHook(nullptr);
  probe(39, 1);  // no hook: a 1 ms tone is silent, and nothing is recorded
  FreeLibrary(module);
  EXPECT_EQ(tones, (std::vector<std::pair<int, int>>{{440, 250}, {39, 1}}));
}

TEST(MessageBoxTest, ConsoleProgramWritesOneLineAndTakesTheDefault) {
  ProgramRun run = RunProgram({UI_CONSOLE_PROBE, "File not found:\r\nA.ASM", "K42xxasm",
                        std::to_string(MB_YESNO | MB_DEFBUTTON2)});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "K42xxasm: File not found:  A.ASM\n");
  EXPECT_EQ(run.out, "answer=7\n");
}

TEST(MessageBoxTest, ModuleInAConsoleProgramWritesThroughTheProgram) {
  ProgramRun run = RunProgram({UI_CONSOLE_PROBE, "No code", "K42XXDIS", std::to_string(MB_OKCANCEL),
                        UI_PROBE_MESSAGES});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "K42XXDIS: No code\n");
  EXPECT_EQ(run.out, "answer=1\n");
}

TEST(MessageBoxTest, GuiProgramShowsAQtBoxOwnedByTheFocusedWindow) {
  QWidget window;
  auto* edit = new QLineEdit(&window);
  window.show();
  QApplication::setActiveWindow(&window);
  edit->setFocus();
  QApplication::processEvents();
  ASSERT_EQ(QApplication::focusWidget(), edit);

  QWidget* owner = nullptr;
  QString shownText, shownTitle;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttonCount = 0;
  SetModalDialogHook([&](QDialog& dialog) {
    auto* box = qobject_cast<QMessageBox*>(&dialog);
    ASSERT_NE(box, nullptr);
    owner = box->parentWidget();
    shownText = box->text();
    shownTitle = box->windowTitle();
    icon = box->icon();
    buttonCount = static_cast<int>(box->buttons().size());
    box->button(QMessageBox::No)->click();
  });
  int answer = MessageBox("Overwrite?", "Tavix", MB_YESNOCANCEL | MB_ICONEXCLAMATION);
  EXPECT_EQ(answer, IDNO);
  EXPECT_EQ(owner, &window);
  EXPECT_EQ(shownText, "Overwrite?");
  EXPECT_EQ(shownTitle, "Tavix");
  EXPECT_EQ(icon, QMessageBox::Warning);
  EXPECT_EQ(buttonCount, 3);

  // Closing the box (its escape button) answers Cancel where there is one.
  SetModalDialogHook([](QDialog& dialog) {
    static_cast<QMessageBox&>(dialog).escapeButton()->click();
  });
  EXPECT_EQ(MessageBox("Continue?", "Tavix", MB_OKCANCEL), IDCANCEL);
  SetModalDialogHook(nullptr);
}

}  // namespace
