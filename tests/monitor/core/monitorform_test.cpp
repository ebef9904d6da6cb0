// The main window: its menu tree, start-up and close with the placement,
// the documents, the emulation commands and Exit.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QMenu>
#include <QStatusBar>
#include <filesystem>

#include "core/main_module.h"
#include "core/settings/mdl_registry.h"
#include "core/settings/registry_layout.h"
#include "monitor_fixture.h"
#include "platform/filenames.h"
#include "platform/run_time_error.h"

namespace {

using monitortest::MonitorTest;

// The tree read back from the widgets: one line per item, indented by
// level, "name|caption|shortcut" with "hidden" where it applies. Which items
// the shipped program enables depends on what is bound; the editor test
// checks those with every subsystem bound.
void Dump(QMenu* menu, int level, std::string& out) {
  for (QAction* action : menu->actions()) {
    out += std::string(level * 2, ' ') + action->objectName().toStdString() + "|" +
           (action->isSeparator() ? "-" : action->text().toStdString()) + "|" +
           action->shortcut().toString().toStdString() + (action->isVisible() ? "" : "|hidden") +
           "\n";
    if (action->menu() != nullptr) Dump(action->menu(), level + 1, out);
  }
}

TEST_F(MonitorTest, MenuTreeAsBuilt) {
  monitor::Monitorform* frame = Start();
  std::string tree;
  for (QMenu* menu : frame->ShownMenus()) {
    QAction* action = menu->menuAction();
    tree += action->objectName().toStdString() + "|" + action->text().toStdString() + "\n";
    Dump(menu, 1, tree);
  }
  EXPECT_EQ(tree, R"(mnuFile|&File
  mnuFNew|&New|Ctrl+N
  mnuFNewT|New &Template|Ctrl+T
  mnuFOpen|&Open|Ctrl+O
  mnuFClose|&Close|
  mnuFSave|&Save|Ctrl+S
  mnuFSaveAs|Save &As|
  SEPERATOR0|-|
  mnuFPrint|&Print|
  SEPERATOR1|-|
  mnuFExit|E&xit|
  separator2|-|
  mnuRecentFile(1)|Not Used||hidden
  mnuRecentFile(2)|Not Used||hidden
  mnuRecentFile(3)|Not Used||hidden
  mnuRecentFile(4)|Not Used||hidden
nmuEDIT|&Edit
  emcut|Cu&t|
  emcopy|&Copy|
  empaste|&Paste|
  sep|-|
  mnuFontName|&Font|
mnusearch|&Search
  mnuitFind|&Find|Ctrl+F
  mnuitFindNext|Find &Next|F3
  mnuitLabel|&Label|Ctrl+L
mnuProject|&Project
  mnuPNew|&New|
  mnuPOpen|&Open|
  mnuPEdit|&Edit|
  mnuPSave|&Save|
  mnuPSaveAs|Save &As|
  mnuPClose|&Close|
  projsep1|-|
  mnuRecentProj(1)|Not Used||hidden
  mnuRecentProj(2)|Not Used||hidden
  mnuRecentProj(3)|Not Used||hidden
  mnuRecentProj(4)|Not Used||hidden
mnubuild|&Build
  buildprojmnu|&Build Project|Shift+F8
  assemblermnu|&Assemble|Ctrl+F8
  sepbuild|-|
  disassemblermnu|&Disassemble|
  mnuDisassembleBinary|&ROM Characteristic File|
  mnuConvertCodToBin|&Convert COD File|
mnuEmulation|E&mulation
  mnuQVVICE|&Virtual|Ctrl+F5
  sepem|-|
  mnuQVUICE|&In circuit|Shift+F5
  settingmnu|ICE &Config|
  sepemtp|-|
  mnuMTP|&MTP|
windowmnu|&Window
  mnuCascade|&Cascade|
  mnuTile|&Tile|
  mnuArrangeicons|&Arrange Icons|
mnuhelp|&Help
  mnuindex|&Contents and Index|F1
  mnuTips|&Tip of the Day|
  sephelp2|-|
  mnuWebSite|Corvane on the &Web|
  mnumanual|User's manual|
    mnutoolsdescription|4bits Tools description|
    mnubinder|Binder|
    mnuemulator|Emulator Hardware desc.|
    mnudemoboard|Demo board |
  mnudatasheets|&Datasheets|
    mnu4224|QV4224|
    mnu4132|QV4132|
    mnu4214|QV4214|
    mnu4219|QV4219|
    mnu4223|QV4223|
    mnu4229|QV4229|
    mnu4232|QV4232|
    mnu4234|QV4234|
    mnu4236|QV4236|
    mnudevdevices|Dev. Devices|
      mnu4111|QV4111|
      mnu4112|QV4112|
      mnu4113|QV4113|
      mnu4115|QV4115|
      mnu4116|QV4116|
      mnu4117|QV4117|
      mnu4118|QV4118|
      mnu4131|QV4131|
    mnuolddevices|Old Devices|
      mnu4211|QV4211|
      mnu4212|QV4212|
      mnu4213|QV4213|
      mnu4215|QV4215|
      mnu4216|QV4216|
      mnu4217|QV4217|
      mnu4218|QV4218|
      mnu4231|QV4231|
      mnu4817|QV4817|
  sephelp1|-|
  mnuabout|&About Tavix...|
  sephelp0|-|
  mnurelease|&Release notes|
)");
}

TEST_F(MonitorTest, StartsIdleWithThePlacementStoredAndWritesItAtClose) {
  settings.dwords = {
      {"windowstate", 0}, {"height", 6000}, {"width", 9000}, {"top", 300}, {"left", 450}};
  std::vector<std::string> calls;
  state.Seams.workbench.LoadRecentFileList = [&] { calls.push_back("files"); };
  state.Seams.workbench.LoadRecentProjects = [&] { calls.push_back("projects"); };
  monitor::Monitorform* frame = Start();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->Caption(), "Tavix");
  EXPECT_EQ(frame->StatusPanel("textpnl")->Caption(), "Ready");
  EXPECT_EQ(frame->StatusPanel("floodpnl")->FloodType(), 0);
  EXPECT_EQ(state.TargetState, 1);
  EXPECT_EQ(state.ProgramPath, program.path());
  EXPECT_EQ(state.EditorSlot.size(), 1u);
  EXPECT_EQ(monitor::AnyEditorOpen(state), 0);
  EXPECT_EQ(std::filesystem::current_path().string() + "/", program.path());
  EXPECT_EQ(calls, (std::vector<std::string>{"files", "projects"}));
  // The settings' start-up made the keys the other windows rely on.
  const std::string editorKey = monitor::FindLayoutKey("editor window")->path;
  EXPECT_EQ(monitor::RegGetSetting(platform::HKEY_CURRENT_USER, editorKey, "fontname").AsText(),
            "Courier New");
  EXPECT_EQ(frame->Placement(), (platform::TwipsRect{450, 300, 9000, 6000}));
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(state.HostCloseAllowed, 0);

  frame->SetPlacement({600, 750, 7500, 4500});
  EXPECT_TRUE(frame->CloseFrame());
  EXPECT_EQ(
      settings.Stored(),
      (std::map<std::string, int32_t>{
          {"height", 4500}, {"width", 7500}, {"top", 750}, {"left", 600}, {"windowstate", 0}}));
  EXPECT_EQ(state.HostCloseAllowed, -1);
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(state.MainForm(), nullptr);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(MonitorTest, MaximizedOpensWithoutPlacementAndMinimizedKeepsTheOldOne) {
  settings.dwords = {{"windowstate", 2}, {"height", 6000}};
  monitor::Monitorform* frame = Start();
  EXPECT_EQ(frame->WindowState(), 2);
  frame->CloseFrame();  // maximized: the placement stored before stays
  EXPECT_EQ(settings.Stored(),
            (std::map<std::string, int32_t>{{"windowstate", 2}, {"height", 6000}}));

  mainModule.ReleaseInstanceLock();  // as the process ends
  monitor::MonitorState second;
  monitor::MainModule secondMain(second);
  std::filesystem::remove(registry.file("HKEY_CURRENT_USER.hive"));
  settings.dwords = {{"windowstate", 0}};
  settings.Seed();
  ASSERT_TRUE(secondMain.Main());
  EXPECT_GT(second.MainForm()->Width(), 0);  // missing sizes are not applied
  second.MainForm()->SetWindowState(1);
  second.MainForm()->CloseFrame();
  EXPECT_EQ(settings.Stored(), (std::map<std::string, int32_t>{{"windowstate", 1}}));
}

// A stand-in for the control panel: refuses simulation as told, and refuses
// to close during a run unless the host may close, as the periphery host does.
class PanelStandIn : public platform::Form {
 public:
  PanelStandIn(monitor::MonitorState& state, bool refuse, int& loads)
      : Form("IceView"), state_(state), refuse_(refuse), loads_(loads) {}
  void OnLoad() override {
    ++loads_;
    SetCaption(state_.TargetState == 32 ? "VICE - VIRTUAL Emulator Control Panel"
                                        : "ICE - Emulator Control Panel");
    if (refuse_ && state_.TargetState == 32) state_.SimulationRefused = -1;
  }
  void OnQueryUnload(bool& cancel) override {
    cancel = state_.RunActive != 0 && state_.HostCloseAllowed == 0;
  }

 private:
  monitor::MonitorState& state_;
  bool refuse_;
  int& loads_;
};

TEST_F(MonitorTest, VirtualAndInCircuitWithAStandInPanel) {
  bool refuse = true;
  int loads = 0;
  state.Forms.Register("IceView", platform::FormKind::MdiChild,
                       [&] { return new PanelStandIn(state, refuse, loads); });
  state.Forms.Register("transferwin", platform::FormKind::Dialog,
                       [] { return new platform::Form("transferwin"); });
  monitor::Monitorform* frame = Start();
  EXPECT_TRUE(frame->Menu("mnuQVVICE")->isEnabled());
  EXPECT_TRUE(frame->Menu("mnuQVUICE")->isEnabled());

  Click("mnuQVVICE");
  EXPECT_EQ(state.TargetState, 32);
  EXPECT_FALSE(state.Forms.IsLoaded("IceView"));

  refuse = false;
  Click("mnuQVVICE");
  platform::Form* panel = state.Forms.Get("IceView");
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(frame->ActiveChild(), panel);
  EXPECT_TRUE(panel->isVisible());
  Click("mnuQVUICE");  // only the target changes; the panel is not loaded anew
  EXPECT_EQ(state.TargetState, 1);
  EXPECT_EQ(loads, 2);

  state.RunActive = 1;
  Click("mnuQVVICE");
  EXPECT_EQ(state.TargetState, 1);  // nothing during a run
  // Closing during a run: the panel refuses, nothing is unloaded or written.
  EXPECT_FALSE(frame->CloseFrame());
  EXPECT_TRUE(state.Forms.IsLoaded("IceView"));
  EXPECT_EQ(settings.Stored(), (std::map<std::string, int32_t>{{"windowstate", 0}}));
  EXPECT_EQ(ends, 0);
  // Unsaved project changes, answered Cancel: everything stays.
  state.RunActive = 0;
  state.ProjectModified = -1;
  state.Seams.workbench.AskSaveProject = [] { return int16_t{2}; };
  EXPECT_FALSE(frame->CloseFrame());
  EXPECT_EQ(state.HostCloseAllowed, 0);
  EXPECT_TRUE(state.Forms.IsLoaded("IceView"));
  EXPECT_EQ(settings.Stored(), (std::map<std::string, int32_t>{{"windowstate", 0}}));
  // Exit: the project command answers Cancel, then No.
  std::optional<int16_t> answer = 2;
  state.Seams.workbench.SaveProjectCommand = [&] { return answer; };
  Click("mnuFExit");
  EXPECT_TRUE(state.Forms.IsLoaded("Monitorform"));
  answer = 7;
  state.Seams.workbench.AskSaveProject = [] { return int16_t{7}; };
  Click("mnuFExit");
  EXPECT_FALSE(state.Forms.IsLoaded("IceView"));
  EXPECT_FALSE(state.Forms.IsLoaded("Monitorform"));
  EXPECT_EQ(ends, 1);
}

TEST_F(MonitorTest, DocumentsHelpAndWebSiteGoThroughTheShell) {
  std::filesystem::create_directories(program.path() + "Datasheets");
  program.write("Datasheets/qv4224_ds.pdf", "");
  Start();
  const std::string root = program.path().substr(0, program.path().size() - 1);
  for (const char* item :
       {"mnu4115", "mnu4111", "mnu4131", "mnu4224", "mnu4817", "mnurelease", "mnubinder"}) {
    Click(item);
  }
  Click("mnuindex");
  Click("mnuWebSite");
  EXPECT_EQ(opened,
            (std::vector<std::string>{
                "open|" + root + "/datasheets/QV4215_DS.pdf||1",
                "open|" + root + "/datasheets/QV41xx_DS.pdf||1",
                "open|" + root + "/datasheets/QV41xx_DS.pdf||1",
                "open|" + root + "/Datasheets/qv4224_ds.pdf||1",  // the case on disk
                "open|" + root + "/datasheets/QV4817_DS.pdf||1",
                "open|" + root + "/TAVIX_ReleaseNote.pdf||1",
                "open|" + root + "/User's Manual/Binder.pdf||1",
                "help|" + program.path() + "TAVIX.HLP|15",
                std::string("Open|") + monitor::kWebSiteAddress + "|" + program.path() + "|1",
            }));
  EXPECT_TRUE(boxes.empty());  // missing files give no message
  EXPECT_EQ(monitor::FindFormByCaption(state, "Tav", -1), -1);
  EXPECT_EQ(monitor::FindFormByCaption(state, "Tav", 0), 0);
  EXPECT_EQ(monitor::NewTemplatePath("/x/Tools/Bin/"), "/x/Tools/tavix/Start.asm");
}

TEST_F(MonitorTest, BoundOperationsEnableTheirCommandsAndRecentItemsPassTheirCaption) {
  std::vector<std::string> calls;
  state.Seams.workbench.OpenNewEditor = [&] { calls.push_back("new"); };
  state.Seams.workbench.LoadSourceFile = [&](const std::string& path) { calls.push_back(path); };
  state.Seams.workbench.LoadRecentFileList = [&] { calls.push_back("list"); };
  monitor::Monitorform* frame = Start();
  EXPECT_TRUE(frame->Menu("mnuFNew")->isEnabled());
  EXPECT_FALSE(frame->Menu("mnuFOpen")->isEnabled());
  calls.clear();
  QAction* recent = frame->Menu("mnuRecentFile(2)");
  recent->setText("/work/a.asm");
  recent->setVisible(true);
  Click("mnuRecentFile(2)");
  Click("mnuFNew");
  Click("mnuFNewT");
  const std::string parent =
      std::filesystem::path(program.path()).parent_path().parent_path().string();
  EXPECT_EQ(calls,
            (std::vector<std::string>{"/work/a.asm", "list", "new", parent + "/tavix/Start.asm"}));
  // A failing command shows the error and the monitor goes on.
  state.Seams.workbench.OpenNewEditor = [] { throw platform::RunTimeError(53, "File not found"); };
  Click("mnuFNew");
  EXPECT_EQ(boxes, (std::vector<std::string>{"Tavix|Monitor ERROR 53 0|48"}));
  EXPECT_TRUE(state.Forms.IsLoaded("Monitorform"));
}

}  // namespace
