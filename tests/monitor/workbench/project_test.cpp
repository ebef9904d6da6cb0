// Projects through the real main window: open and write byte for byte, the
// caption, the recent projects, the commands' questions, failures, and the
// lists collected from a loaded panel's program grid.
#include "workbench/project.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>

#include "core/panel_controls.h"
#include "platform/grid_control.h"
#include "settings/mdl_registry.h"
#include "workbench/recent_list.h"
#include "workbench_fixture.h"

namespace {

class ProjectTest : public monitortest::WorkbenchTest {
 protected:
  std::string Caption() const { return state.MainForm()->Caption().toStdString(); }
  std::string Stored(int entry) const {
    return monitor::RegGetSetting(platform::HKEY_CURRENT_USER, monitor::kRecentProjectsKey,
                                  "RecentProj" + std::to_string(entry))
        .AsText();
  }
  QAction* RecentItem(int entry) const {
    return state.MainForm()->Menu("mnuRecentProj(" + std::to_string(entry) + ")");
  }
  bool Open(const std::string& name, const std::string& bytes) {
    files.write(name, bytes);
    return monitor::OpenProjectFile(state, files.path() + name);
  }
};

TEST_F(ProjectTest, SaveAsWritesSevenLinesAndOpenReadsWhatAFileHolds) {
  Begin();
  EXPECT_EQ(Caption(), "Tavix");
  state.SourceFile = "/w/Demo/main.asm";
  state.ControllerName = "QV4128";
  state.BreakpointList = "0005,0300,4095";
  state.PanelSettings = "1,2";
  state.ProjectModified = -1;
  const std::string path = files.path() + "My Projects/Demo.prj";
  ASSERT_EQ(mkdir((files.path() + "My Projects").c_str(), 0755), 0);
  files.write("My Projects/.Demo.prj.Ab12Cd", "a killed save's temporary");
  fileAnswers = {path};
  Click("mnuPSaveAs");
  EXPECT_EQ(dialogs.back(),
            "Save|Save Project As....|Project Files (*.prj)|*.prj|All Files (*.*)|*.*");
  EXPECT_EQ(files.read("My Projects/.Demo.prj.Ab12Cd"), "");
  EXPECT_EQ(testsupport::ReadFile(path),
            "/w/Demo/main.asm\r\n\r\n\r\nQV4128\r\n0005,0300,4095\r\n\r\n1,2\r\n");
  EXPECT_EQ(Caption(), "Tavix " + path);  // the case as given
  EXPECT_EQ(state.ProjectModified, 0);
  EXPECT_EQ(Stored(1), path);
  EXPECT_EQ(RecentItem(1)->text().toStdString() + (RecentItem(2)->isVisible() ? "+" : ""), path);

  // Four lines with LF ends: the rest of the project stays.
  files.write("short.prj", "/x/a.asm\nINC\n\nQV4234");
  fileAnswers = {files.path() + "short.prj"};
  Click("mnuPOpen");
  EXPECT_EQ(dialogs.back(), "Open|Open Project|Project Files (*.prj)|*.prj|All Files (*.*)|*.*");
  EXPECT_EQ(state.ProjectFile, files.path() + "short.prj");
  EXPECT_EQ(state.SourceFile + "|" + state.IncludePath + "|" + state.ControllerName + "|" +
                state.BreakpointList + "|" + state.PanelSettings,
            "/x/a.asm|INC|QV4234|0005,0300,4095|1,2");
  EXPECT_EQ(Stored(2), path);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(ProjectTest, FailuresAreReportedWithTheirNumberAndChangeNothing) {
  Begin();
  EXPECT_FALSE(monitor::OpenProjectFile(state, files.path() + "none.prj"));
  EXPECT_FALSE(monitor::OpenProjectFile(state, files.path() + "no/none.prj"));
  EXPECT_EQ(boxes, (std::vector<std::string>{"Tavix|Unable to open project file: 53|0",
                                             "Tavix|Unable to open project file: 76|0"}));
  EXPECT_EQ(Caption(), "Tavix");
  EXPECT_TRUE(monitor::RecentList::IsFree(Stored(1)));

  const std::string folder = files.path() + "locked/";
  ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
  testsupport::WriteFile(folder + "old.prj", "old\r\n");
  ASSERT_TRUE(monitor::OpenProjectFile(state, folder + "old.prj"));
  state.ProjectModified = -1;
  const auto unchanged = [&] {
    EXPECT_EQ(testsupport::ReadFile(folder + "old.prj"), "old\r\n");
    EXPECT_EQ(state.ProjectModified, -1);
    EXPECT_EQ(state.ProjectFile, folder + "old.prj");
    EXPECT_EQ(Caption(), "Tavix " + folder + "old.prj");
    EXPECT_TRUE(monitor::RecentList::IsFree(Stored(2)));
  };
  fileAnswers = {folder + "old.prj/below.prj"};  // below a file, not a folder
  Click("mnuPSaveAs");
  EXPECT_EQ(boxes.back(), "Tavix|Unable to write project file: 76|0");
  unchanged();
  if (geteuid() == 0) GTEST_SKIP() << "root writes into a read-only folder";
  chmod(folder.c_str(), 0555);
  Click("mnuPSave");
  chmod(folder.c_str(), 0755);
  EXPECT_EQ(boxes.back(), "Tavix|Unable to write project file: 75|0");
  unchanged();
}

TEST_F(ProjectTest, RecentItemsAskFirstAndMoveTheOpenedProjectToTheTop) {
  Begin();
  for (const char* name : {"a.prj", "b.prj", "c.prj", "B.prj"}) {
    ASSERT_TRUE(Open(name, std::string(name) + "sm\r\n"));
  }
  // Another case is another file.
  EXPECT_EQ(Stored(1), files.path() + "B.prj");
  EXPECT_EQ(Stored(3), files.path() + "b.prj");
  state.ProjectModified = -1;
  boxAnswers = {platform::IDCANCEL};
  RecentItem(3)->trigger();
  EXPECT_EQ(state.SourceFile, "B.prjsm");
  boxAnswers = {platform::IDNO};
  RecentItem(3)->trigger();
  EXPECT_EQ(state.SourceFile, "b.prjsm");
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(RecentItem(i)->text().toStdString(), Stored(i));
  EXPECT_EQ(Stored(1), files.path() + "b.prj");
  EXPECT_EQ(Stored(2), files.path() + "B.prj");
  EXPECT_EQ(Stored(3), files.path() + "c.prj");
  EXPECT_EQ(boxes.back(), "Tavix|Save Current Project Definition ?|51");
}

TEST_F(ProjectTest, NewAndCloseKeepTheListsAndSaveAsksOnceForAName) {
  Begin();
  ASSERT_TRUE(Open("p.prj", "s.asm\r\ni\r\no\r\nQV4115\r\n0002\r\n0003\r\nopt\r\n"));
  Click("mnuPClose");
  EXPECT_EQ(Caption(), "Tavix");
  EXPECT_EQ(state.ProjectFile + state.SourceFile + state.IncludePath + state.OutputPath +
                state.ControllerName,
            "");
  EXPECT_EQ(state.BreakpointList + "|" + state.TracepointList + "|" + state.PanelSettings,
            "0002|0003|opt");

  // Modified with no name: one question, one dialog; a cancel writes nothing
  // and the project stays modified, so Exit asks again and Cancel stays.
  state.ProjectModified = -1;
  boxAnswers = {platform::IDYES};
  fileAnswers = {std::nullopt};
  EXPECT_EQ(state.Seams.SaveProjectCommand(), std::optional<int16_t>(platform::IDYES));
  EXPECT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(state.ProjectModified, -1);
  boxAnswers = {platform::IDCANCEL};
  Click("mnuFExit");
  EXPECT_EQ(ends, 0);
  state.ProjectModified = 0;
  const size_t asked = boxes.size();
  EXPECT_EQ(state.Seams.SaveProjectCommand(), std::nullopt);
  EXPECT_EQ(boxes.size(), asked);

  // The editors' Save As asks for a name only while there is none.
  Click("mnuFNew");
  fileAnswers = {files.path() + "e.prj"};
  Click(Editor(1), "mnuPSaveAs");
  state.SourceFile = "f.asm";
  Click(Editor(1), "mnuPSaveAs");
  EXPECT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(dialogs.back().substr(0, 18), "Save|Save Project|");
  EXPECT_EQ(files.read("e.prj").substr(0, 7), "f.asm\r\n");
  EXPECT_TRUE(monitor::RecentList::IsFree(Stored(3)));
}

// A control panel stand-in: a loaded IceView holding a program grid.
class PanelStandIn : public platform::Form, public monitor::PanelControls {
 public:
  explicit PanelStandIn(monitor::MonitorState& state) : Form("IceView"), state_(state) {
    grdProgram = new platform::GridControl("grdProgram", this);
    grdProgram->SetCols(5);
    grdProgram->SetRows(4);
    grdProgram->SetTextMatrix(1, 3, "0000");
    grdProgram->SetTextMatrix(2, 3, "0400");
  }
  void OnLoad() override { Attach(state_); }
  void OnUnload() override { Withdraw(); }

 private:
  monitor::MonitorState& state_;
};

TEST_F(ProjectTest, TheListsComeFromTheLoadedPanelOnlyAndItsOptionsOnlyIntoItsProject) {
  Begin();
  const std::string bytes = "s.asm\r\n\r\n\r\nQV4128\r\n0007\r\n0008\r\nopt\r\n";
  ASSERT_TRUE(Open("p.prj", bytes));
  // A window whose caption holds the panel's words is not the panel.
  state.Forms.Show("Project")->SetCaption("x Emulator Control Panel");
  Click("mnuPSave");
  EXPECT_EQ(files.read("p.prj"), bytes);

  PanelStandIn* panel = nullptr;
  state.Forms.Register("IceView", platform::FormKind::MdiChild,
                       [&] { return panel = new PanelStandIn(state); });
  state.Forms.Load("IceView");
  const uint32_t panelProject = state.ProjectSerial;
  panel->grdProgram->SetTextMatrix(2, 0, "X");
  panel->grdProgram->SetTextMatrix(3, 0, "X");  // the empty last row
  Click("mnuPSave");
  EXPECT_EQ(files.read("p.prj"), "s.asm\r\n\r\n\r\nQV4128\r\n1024\r\n\r\nopt\r\n");

  // After a load the lists go back into the grid rows they find and into
  // those addresses' program cells.
  state.TracepointList = "0000,0001";
  state.Seams.workbench.ApplyTracepointLine();
  EXPECT_EQ(panel->grdProgram->TextMatrix(1, 1), "X");
  EXPECT_EQ(state.ProgramMemory[0].flags, 2);
  EXPECT_EQ(state.ProgramMemory[1].flags, 0);

  // The panel's options return only into the project it was opened for.
  ASSERT_TRUE(Open("q.prj", "q.asm\r\n"));
  EXPECT_FALSE(monitor::StorePanelOptions(state, panelProject, "9,9"));
  EXPECT_EQ(state.PanelSettings + std::to_string(state.ProjectModified), "opt0");
  EXPECT_TRUE(monitor::StorePanelOptions(state, state.ProjectSerial, "0,0"));
  EXPECT_EQ(state.PanelSettings + std::to_string(state.ProjectModified), "0,0-1");
  state.Forms.Unload("IceView");
}

}  // namespace
