// A project and the control panel together, through the real widgets and the
// real program folder: the controller chosen in "Edit Project" from the list
// STDK42XX reads, Emulation > Virtual binding that chip, and the chip's
// options written back at the panel's close into the project it was opened
// for, and only there.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QTest>

#include "debug/debug_forms.h"
#include "debug/display.h"
#include "debug/iceview.h"
#include "workbench/project_dialog.h"
#include "workbench_fixture.h"

namespace {

constexpr const char* kAsk = "Tavix|Save Current Project Definition ?|51";

class ProjectPanelTest : public monitortest::WorkbenchTest {
 protected:
  ProjectPanelTest() { monitor::RegisterDebugForms(state); }
  ~ProjectPanelTest() override {
    // The chip module goes before the forms that host its window.
    if (state.Forms.IsLoaded("IceView")) state.Forms.Unload("IceView");
  }
  std::string Caption() const { return state.MainForm()->Caption().toStdString(); }
  monitor::IceView* Panel() const {
    return dynamic_cast<monitor::IceView*>(state.Forms.Get("IceView"));
  }
  monitor::Display* Host() const {
    return dynamic_cast<monitor::Display*>(state.Forms.Get("Display"));
  }
  // Project > Open through the recent-project item that shows `path`.
  void OpenRecent(const std::string& path) {
    for (int entry = 1; entry <= 4; ++entry) {
      QAction* item = state.MainForm()->Menu("mnuRecentProj(" + std::to_string(entry) + ")");
      if (item->isVisible() && item->text().toStdString() == path) {
        item->trigger();
        return;
      }
    }
    ADD_FAILURE() << "no recent item " << path;
  }
  // Emulation > Virtual; the panel, or null.
  monitor::IceView* Virtual() {
    Click("mnuQVVICE");
    return Panel();
  }
  // The user's close of the panel's window.
  void ClosePanel() {
    ASSERT_NE(Panel(), nullptr);
    Panel()->close();
    EXPECT_FALSE(state.Forms.IsLoaded("IceView"));
    EXPECT_FALSE(state.Forms.IsLoaded("Display"));
  }
};

TEST_F(ProjectPanelTest, AControllerChosenForANewProjectIsSimulatedAndKeepsItsOptions) {
  Begin();
  state.ProgramPath = TAVIX_DIST_DIR;
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  Click("mnuPNew");
  auto* dialog = dynamic_cast<monitor::Project*>(state.Forms.Get("Project"));
  ASSERT_NE(dialog, nullptr);
  dialog->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
  EXPECT_EQ(dialog->Caption(), "Edit Project");
  // The program folder's controllers through the monitor's one binding.
  const int listed = dialog->ComboTargCon->count();
  ASSERT_GE(listed, 4);
  EXPECT_TRUE(state.Target.Bound());
  EXPECT_NE(dialog->ComboTargCon->findText("QV4234"), -1);
  QTest::keyClicks(dialog->Source, "/w/demo/main.asm");
  dialog->ComboTargCon->setFocus();
  while (dialog->ComboTargCon->currentText() != "QV4234" &&
         dialog->ComboTargCon->currentIndex() < listed - 1) {
    QTest::keyClick(dialog->ComboTargCon, Qt::Key_Down);
  }
  ASSERT_EQ(dialog->ComboTargCon->currentText(), "QV4234");

  const std::string path = files.path() + "demo.prj";
  boxAnswers = {platform::IDYES};
  fileAnswers = {path};
  QTest::mouseClick(dialog->Command1, Qt::LeftButton);
  EXPECT_EQ(boxes, std::vector<std::string>{kAsk});
  EXPECT_EQ(files.read("demo.prj"), "/w/demo/main.asm\r\n\r\n\r\nQV4234\r\n\r\n\r\n\r\n");
  EXPECT_EQ(Caption(), "Tavix " + path);
  EXPECT_EQ(state.MainForm()->Menu("mnuRecentProj(1)")->text().toStdString(), path);
  EXPECT_EQ(state.ProjectModified, 0);

  // Virtual binds the project's chip, its periphery window in the host.
  monitor::IceView* panel = Virtual();
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->Caption(), "VICE - VIRTUAL Emulator Control Panel");
  ASSERT_NE(Host(), nullptr);
  EXPECT_EQ(Host()->Caption(), "QV4234 Periphery");
  EXPECT_TRUE(Host()->isVisible());

  // The empty options the chip got come back as its defaults; the panel's
  // save asks, and the answer Yes writes them under the project's own name.
  boxAnswers = {platform::IDYES};
  ClosePanel();
  EXPECT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes.back(), kAsk);
  EXPECT_EQ(files.read("demo.prj"), "/w/demo/main.asm\r\n\r\n\r\nQV4234\r\n\r\n\r\n0,0,0,0\r\n");
  EXPECT_EQ(dialogs.size(), 1u);  // no second name asked
  EXPECT_EQ(state.ProjectModified, 0);

  Click("mnuPClose");
  EXPECT_EQ(Caption(), "Tavix");
  OpenRecent(path);
  EXPECT_EQ(state.ControllerName + "|" + state.SourceFile + "|" + state.PanelSettings,
            "QV4234|/w/demo/main.asm|0,0,0,0");

  // The chip takes the stored options as they are: nothing comes back.
  ASSERT_NE(Virtual(), nullptr);
  EXPECT_EQ(Host()->Caption(), "QV4234 Periphery");
  ClosePanel();
  EXPECT_EQ(state.ProjectModified, 0);
  EXPECT_EQ(boxes.size(), 2u);

  // A panel opened for one project returns nothing into the next one.
  files.write("other.prj", "/o/x.asm\r\n\r\n\r\nQV4234\r\n\r\n\r\n\r\n");
  fileAnswers = {files.path() + "other.prj"};
  Click("mnuPOpen");
  ASSERT_NE(Virtual(), nullptr);  // the chip gets no options: it will have some
  OpenRecent(path);               // the demo project again
  EXPECT_EQ(state.ProjectFile, path);
  ClosePanel();
  EXPECT_EQ(state.PanelSettings, "0,0,0,0");
  EXPECT_EQ(state.ProjectModified, 0);
  EXPECT_EQ(boxes.size(), 2u);
  EXPECT_EQ(files.read("other.prj"), "/o/x.asm\r\n\r\n\r\nQV4234\r\n\r\n\r\n\r\n");
  EXPECT_EQ(files.read("demo.prj"), "/w/demo/main.asm\r\n\r\n\r\nQV4234\r\n\r\n\r\n0,0,0,0\r\n");

  // While it is still the project's panel, the same close changes the project.
  Click("mnuPOpen");  // cancelled: nothing changes
  fileAnswers = {files.path() + "other.prj"};
  Click("mnuPOpen");
  ASSERT_NE(Virtual(), nullptr);
  boxAnswers = {platform::IDNO};
  ClosePanel();
  EXPECT_EQ(state.PanelSettings, "0,0,0,0");
  EXPECT_EQ(state.ProjectModified, -1);
  EXPECT_EQ(boxes.back(), kAsk);
  EXPECT_EQ(files.read("other.prj"), "/o/x.asm\r\n\r\n\r\nQV4234\r\n\r\n\r\n\r\n");
}

// With the panel maximized, the shown title follows the project.
TEST_F(ProjectPanelTest, TheShownTitleFollowsTheProjectWhileThePanelIsMaximized) {
  Begin();
  state.ProgramPath = TAVIX_DIST_DIR;
  files.write("a.prj", "/a/x.asm\r\n\r\n\r\nQV4234\r\n");
  fileAnswers = {files.path() + "a.prj"};
  Click("mnuPOpen");
  ASSERT_TRUE(Virtual() != nullptr && Panel()->WindowState() == 2);
  Panel()->SetCaption("Panel");
  Click("mnuPClose");
  EXPECT_EQ(state.MainForm()->windowTitle(), "Tavix - [Panel]");
  ClosePanel();
  EXPECT_EQ(state.MainForm()->windowTitle(), "Tavix");
}

// A close with a changed project and the panel open asks at most twice: the
// panel's close keeps the answer given (No leaves the file, Yes writes the
// options it hands back as well).
TEST_F(ProjectPanelTest, ClosingWithThePanelOpenAsksAtMostTwice) {
  for (const int answer : {platform::IDNO, platform::IDYES}) {
    Begin();
    state.ProgramPath = TAVIX_DIST_DIR;
    files.write("exit.prj", "/e/x.asm\r\n\r\n\r\nQV4234\r\n\r\n\r\n\r\n");
    fileAnswers = {files.path() + "exit.prj"};
    Click("mnuPOpen");
    ASSERT_NE(Virtual(), nullptr);
    state.ProjectModified = -1;
    boxes.clear();
    boxAnswers = {answer, answer, answer};
    answer == platform::IDNO ? Click("mnuFExit") : void(state.MainForm()->close());
    EXPECT_EQ(boxes.size(), answer == platform::IDNO ? 2u : 1u);
    EXPECT_FALSE(state.Forms.IsLoaded("IceView"));
    EXPECT_EQ(files.read("exit.prj"), answer == platform::IDNO
                                          ? "/e/x.asm\r\n\r\n\r\nQV4234\r\n\r\n\r\n\r\n"
                                          : "/e/x.asm\r\n\r\n\r\nQV4234\r\n\r\n\r\n0,0,0,0\r\n");
  }
}

}  // namespace
