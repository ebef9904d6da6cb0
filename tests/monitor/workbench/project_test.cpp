// Projects through the real main window: open and write byte for byte, the
// caption, the recent projects, the commands' questions, failures, and the
// lists collected from a loaded panel's program grid.
#include "workbench/project.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>

#include "platform/grid_control.h"
#include "platform/menu_table.h"
#include "settings/mdl_registry.h"
#include "workbench/recent_list.h"
#include "workbench_fixture.h"

namespace {

using monitortest::WorkbenchTest;

class ProjectTest : public WorkbenchTest {
 protected:
  std::string Caption() const { return state.MainForm()->Caption().toStdString(); }
  std::string Stored(int entry) const {
    return monitor::RegGetSetting(platform::HKEY_CURRENT_USER, monitor::kRecentProjectsKey,
                                  "RecentProj" + std::to_string(entry))
        .AsText();
  }
  void Store(int entry, const std::string& value) const {
    monitor::RegSetSetting(platform::HKEY_CURRENT_USER, monitor::kRecentProjectsKey,
                           "RecentProj" + std::to_string(entry), monitor::RegValue(value),
                           platform::REG_SZ);
  }
  QAction* RecentItem(int entry) const {
    return state.MainForm()->Menu(platform::MenuItemName("mnuRecentProj", entry));
  }
  void SetProject(const std::string& source, const std::string& marks) {
    state.SourceFile = source;
    state.ControllerName = "QV4128";
    state.BreakpointList = marks;
    state.TracepointList = "0001";
    state.PanelSettings = "1,2";
  }
};

TEST_F(ProjectTest, SaveAsWritesSevenLinesThenOpenReadsThemBack) {
  Begin();
  EXPECT_EQ(Caption(), "Tavix");
  SetProject("/w/demo/main.asm", "0005,0300,4095");
  state.ProjectModified = -1;
  const std::string path = files.path() + "my projects/demo.prj";
  ASSERT_EQ(mkdir((files.path() + "my projects").c_str(), 0755), 0);
  fileAnswers = {path};
  Click("mnuPSaveAs");
  EXPECT_EQ(dialogs.back(),
            "Save|Save Project As....|Project Files (*.prj)|*.prj|All Files (*.*)|*.*");
  EXPECT_EQ(testsupport::ReadFile(path),
            "/w/demo/main.asm\r\n\r\n\r\nQV4128\r\n0005,0300,4095\r\n0001\r\n1,2\r\n");
  EXPECT_EQ(Caption(), "Tavix " + path);  // the case as given
  EXPECT_EQ(state.ProjectModified, 0);
  EXPECT_EQ(Stored(1), path);
  EXPECT_TRUE(RecentItem(1)->isVisible());
  EXPECT_EQ(RecentItem(1)->text().toStdString(), path);
  EXPECT_FALSE(RecentItem(2)->isVisible());

  // A hand-written file with LF ends and four lines: the rest stays.
  files.write("short.prj", "/x/a.asm\nINC\n\nQV4234");
  state.ProjectModified = 0;
  fileAnswers = {files.path() + "short.prj"};
  Click("mnuPOpen");
  EXPECT_EQ(dialogs.back(), "Open|Open Project|Project Files (*.prj)|*.prj|All Files (*.*)|*.*");
  EXPECT_EQ(state.ProjectFile, files.path() + "short.prj");
  EXPECT_EQ(state.SourceFile, "/x/a.asm");
  EXPECT_EQ(state.IncludePath, "INC");
  EXPECT_EQ(state.ControllerName, "QV4234");
  EXPECT_EQ(state.BreakpointList, "0005,0300,4095");
  EXPECT_EQ(state.PanelSettings, "1,2");
  EXPECT_EQ(Stored(1), files.path() + "short.prj");
  EXPECT_EQ(Stored(2), path);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(ProjectTest, AFileThatCannotBeOpenedIsReportedAndChangesNothing) {
  Begin();
  SetProject("/keep.asm", "0001");
  state.ProjectModified = -1;
  for (const std::string& missing : {files.path() + "none.prj", files.path() + "no/none.prj"}) {
    EXPECT_FALSE(monitor::OpenProjectFile(state, missing));
  }
  EXPECT_EQ(boxes, (std::vector<std::string>{"Tavix|Unable to open project file: 53|0",
                                             "Tavix|Unable to open project file: 76|0"}));
  EXPECT_EQ(state.SourceFile, "/keep.asm");
  EXPECT_EQ(state.ProjectFile, "");
  EXPECT_EQ(state.ProjectModified, -1);
  EXPECT_EQ(Caption(), "Tavix");
  EXPECT_TRUE(monitor::RecentList::IsFree(Stored(1)));
}

TEST_F(ProjectTest, AFailedWriteIsReportedAndTheProjectStaysUnsaved) {
  Begin();
  const std::string folder = files.path() + "locked/";
  ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
  testsupport::WriteFile(folder + "old.prj", "old\r\n");
  ASSERT_TRUE(monitor::OpenProjectFile(state, folder + "old.prj"));
  state.SourceFile = "new";
  state.ProjectModified = -1;
  const auto unchanged = [&] {
    EXPECT_EQ(testsupport::ReadFile(folder + "old.prj"), "old\r\n");
    EXPECT_EQ(state.ProjectModified, -1);
    EXPECT_EQ(state.ProjectFile, folder + "old.prj");
    EXPECT_EQ(Caption(), "Tavix " + folder + "old.prj");
    EXPECT_EQ(Stored(1), folder + "old.prj");
    EXPECT_TRUE(monitor::RecentList::IsFree(Stored(2)));
  };
  // Below a name that is a file, not a folder.
  fileAnswers = {folder + "old.prj/other.prj"};
  Click("mnuPSaveAs");
  EXPECT_EQ(boxes, std::vector<std::string>{"Tavix|Unable to write project file: 76|0"});
  unchanged();

  if (geteuid() == 0) GTEST_SKIP() << "root writes into a read-only folder";
  chmod(folder.c_str(), 0555);
  Click("mnuPSave");
  chmod(folder.c_str(), 0755);
  EXPECT_EQ(boxes.back(), "Tavix|Unable to write project file: 75|0");
  unchanged();
}

TEST_F(ProjectTest, RecentProjectsMoveShiftAndKeepCase) {
  Begin();
  Store(1, "/p/one.prj");
  Store(2, "/p/two.prj");
  Store(3, "/p/three.prj");
  Store(4, "Not Used");
  monitor::LoadRecentProjects(state);
  EXPECT_TRUE(RecentItem(3)->isVisible());
  EXPECT_FALSE(RecentItem(4)->isVisible());
  monitor::AddRecentProject(state, "/p/three.prj");
  EXPECT_EQ(Stored(1), "/p/three.prj");
  EXPECT_EQ(Stored(2), "/p/one.prj");
  EXPECT_EQ(Stored(3), "/p/two.prj");
  EXPECT_EQ(Stored(4), "Not Used");  // a free entry is written back as it stands

  // Another case is another file; a new entry drops the oldest.
  monitor::AddRecentProject(state, "/P/ONE.prj");
  monitor::AddRecentProject(state, "/p/five.prj");
  EXPECT_EQ(Stored(1), "/p/five.prj");
  EXPECT_EQ(Stored(2), "/P/ONE.prj");
  EXPECT_EQ(Stored(3), "/p/three.prj");
  EXPECT_EQ(Stored(4), "/p/one.prj");
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(RecentItem(i)->text().toStdString(), Stored(i));

  // A free entry is not copied down.
  Store(3, "");
  monitor::StoreRecentProjects("/p/six.prj");
  EXPECT_EQ(Stored(1), "/p/six.prj");
  EXPECT_EQ(Stored(2), "/p/five.prj");
  EXPECT_EQ(Stored(3), "/P/ONE.prj");
  EXPECT_EQ(Stored(4), "/p/one.prj");

  // A recent item answered Cancel changes nothing; Yes saves, then opens.
  files.write("a.prj", "A.asm\r\n");
  files.write("b.prj", "B.asm\r\n");
  ASSERT_TRUE(monitor::OpenProjectFile(state, files.path() + "a.prj"));
  ASSERT_TRUE(monitor::OpenProjectFile(state, files.path() + "b.prj"));
  state.ProjectModified = -1;
  boxAnswers = {platform::IDCANCEL};
  RecentItem(2)->trigger();
  EXPECT_EQ(state.SourceFile, "B.asm");
  EXPECT_EQ(Stored(1), files.path() + "b.prj");
  boxAnswers = {platform::IDYES};
  RecentItem(2)->trigger();
  EXPECT_EQ(state.SourceFile, "A.asm");
  EXPECT_EQ(Stored(1), files.path() + "a.prj");
  EXPECT_EQ(Stored(2), files.path() + "b.prj");
  EXPECT_EQ(boxes.back(), "Tavix|Save Current Project Definition ?|51");
}

TEST_F(ProjectTest, NewAndCloseKeepTheListsAndSaveAsksOnceForAName) {
  Begin();
  files.write("p.prj", "s.asm\r\ni\r\no\r\nQV4115\r\n0002\r\n0003\r\nopt\r\n");
  ASSERT_TRUE(monitor::OpenProjectFile(state, files.path() + "p.prj"));
  Click("mnuPClose");
  EXPECT_EQ(Caption(), "Tavix");
  for (const std::string* value : {&state.ProjectFile, &state.SourceFile, &state.IncludePath,
                                   &state.OutputPath, &state.ControllerName}) {
    EXPECT_EQ(*value, "");
  }
  EXPECT_EQ(state.BreakpointList, "0002");
  EXPECT_EQ(state.TracepointList, "0003");
  EXPECT_EQ(state.PanelSettings, "opt");

  // Modified with no name: one question, one dialog; a cancel writes nothing
  // and the project stays modified, so Exit asks again and Cancel stays.
  state.ProjectModified = -1;
  boxAnswers = {platform::IDYES};
  fileAnswers = {std::nullopt};
  EXPECT_EQ(state.Seams.SaveProjectCommand(), std::optional<int16_t>(platform::IDYES));
  EXPECT_EQ(dialogs, (std::vector<std::string>{
                         "Save|Save Project|Project Files (*.prj)|*.prj|All Files (*.*)|*.*"}));
  EXPECT_EQ(state.ProjectModified, -1);
  boxAnswers = {platform::IDCANCEL};
  Click("mnuFExit");
  EXPECT_TRUE(state.Forms.IsLoaded("Monitorform"));
  EXPECT_EQ(ends, 0);

  // Unchanged: no question, no answer.
  state.ProjectModified = 0;
  const size_t asked = boxes.size();
  EXPECT_EQ(state.Seams.SaveProjectCommand(), std::nullopt);
  EXPECT_EQ(boxes.size(), asked);

  // New: the question, then the dialog; the lists are carried on.
  state.ProjectModified = -1;
  boxAnswers = {platform::IDNO};
  Click("mnuPNew");
  EXPECT_EQ(state.ProjectModified, 0);
  EXPECT_EQ(state.BreakpointList, "0002");
  platform::Form* dialog = state.Forms.Get("Project");
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->Caption(), "Edit Project");
  state.Forms.Unload(dialog);
}

TEST_F(ProjectTest, TheEditorsSaveAsWritesAtOnceOrAsksWithoutAName) {
  Begin();
  Click("mnuFNew");
  monitor::frmNotePad* editor = Editor(1);
  ASSERT_NE(editor, nullptr);
  state.SourceFile = "e.asm";
  fileAnswers = {files.path() + "e.prj"};
  Click(editor, "mnuPSaveAs");
  EXPECT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs.back().substr(0, 18), "Save|Save Project|");
  EXPECT_EQ(files.read("e.prj").substr(0, 7), "e.asm\r\n");
  state.SourceFile = "f.asm";
  Click(editor, "mnuPSaveAs");
  EXPECT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(files.read("e.prj").substr(0, 7), "f.asm\r\n");
  EXPECT_EQ(Stored(1), files.path() + "e.prj");
  EXPECT_TRUE(monitor::RecentList::IsFree(Stored(2)));
}

// A control panel stand-in: a loaded IceView holding a program grid.
class PanelStandIn : public platform::Form {
 public:
  PanelStandIn() : Form("IceView"), grdProgram(new platform::GridControl("grdProgram", this)) {
    grdProgram->SetCols(5);
    grdProgram->SetRows(4);
    grdProgram->SetTextMatrix(1, 3, "0000");
    grdProgram->SetTextMatrix(2, 3, "0400");
  }
  platform::GridControl* grdProgram;
};

TEST_F(ProjectTest, TheListsComeFromTheLoadedPanelOnlyAndItsOptionsOnlyIntoItsProject) {
  Begin();
  files.write("p.prj", "s.asm\r\n\r\n\r\nQV4128\r\n0007\r\n0008\r\nopt\r\n");
  ASSERT_TRUE(monitor::OpenProjectFile(state, files.path() + "p.prj"));
  // A window whose caption holds the panel's words is not the panel.
  state.Forms.Show("Project")->SetCaption("x Emulator Control Panel");
  Click("mnuPSave");
  EXPECT_EQ(files.read("p.prj"), "s.asm\r\n\r\n\r\nQV4128\r\n0007\r\n0008\r\nopt\r\n");

  PanelStandIn* panel = nullptr;
  state.Forms.Register("IceView", platform::FormKind::MdiChild, [&panel] {
    panel = new PanelStandIn;
    return panel;
  });
  state.Forms.Load("IceView");
  ASSERT_NE(panel, nullptr);
  const uint32_t panelProject = state.ProjectSerial;
  panel->grdProgram->SetTextMatrix(2, 0, "X");
  panel->grdProgram->SetTextMatrix(3, 0, "X");  // the empty last row
  Click("mnuPSave");
  EXPECT_EQ(files.read("p.prj"), "s.asm\r\n\r\n\r\nQV4128\r\n1024\r\n\r\nopt\r\n");

  // After a load the lists go back into the grid through FindCodeRow.
  panel->grdProgram->SetTextMatrix(2, 0, "");
  state.Seams.debug.FindCodeRow = [](int32_t address) -> int16_t {
    return address == 0 ? 1 : address == 1024 ? 2 : -1;
  };
  std::vector<std::string> marks;
  state.Seams.debug.SetTracepoint = [&marks](int32_t a, bool on) {
    marks.push_back("T" + std::to_string(a) + (on ? "+" : "-"));
  };
  state.TracepointList = "0000,0001";
  state.Seams.workbench.ApplyBreakpointLine();
  state.Seams.workbench.ApplyTracepointLine();
  EXPECT_EQ(panel->grdProgram->TextMatrix(2, 0), "X");
  EXPECT_EQ(panel->grdProgram->TextMatrix(1, 1), "X");
  EXPECT_EQ(marks, std::vector<std::string>{"T0+"});

  // The panel's options return only into the project it was opened for.
  files.write("q.prj", "q.asm\r\n");
  ASSERT_TRUE(monitor::OpenProjectFile(state, files.path() + "q.prj"));
  EXPECT_FALSE(monitor::StorePanelOptions(state, panelProject, "9,9"));
  EXPECT_EQ(state.PanelSettings, "opt");
  EXPECT_EQ(state.ProjectModified, 0);
  EXPECT_TRUE(monitor::StorePanelOptions(state, state.ProjectSerial, "0,0"));
  EXPECT_EQ(state.PanelSettings, "0,0");
  EXPECT_EQ(state.ProjectModified, -1);
  state.Forms.Unload("IceView");
}

}  // namespace
