// The main window's menu: its tree, the document items, and the commands
// its items run.
#include <QAction>
#include <map>

#include "core/font_command.h"
#include "core/monitor_state.h"
#include "core/monitorform.h"
#include "platform/filenames.h"
#include "platform/messagebox.h"

namespace monitor {

using platform::kMenuHidden;
using platform::kMenuOff;
using platform::kMenuWindowList;
using platform::MenuRow;

const std::vector<MenuRow>& MonitorformMenuTable() {
  static const std::vector<MenuRow> rows = [] {
    std::vector<MenuRow> table = {
        {1, "mnuFile", "&File"},
        {2, "mnuFNew", "&New", "Ctrl+N", 0, -1, "OpenNewEditor"},
        {2, "mnuFNewT", "New &Template", "Ctrl+T", 0, -1, "LoadSourceFile"},
        {2, "mnuFOpen", "&Open", "Ctrl+O", 0, -1, "ShowOpenFileDialog"},
        {2, "mnuFClose", "&Close", "", kMenuOff},
        {2, "mnuFSave", "&Save", "Ctrl+S", kMenuOff},
        {2, "mnuFSaveAs", "Save &As", "", kMenuOff},
        {2, "SEPERATOR0", "-"},
        {2, "mnuFPrint", "&Print", "", kMenuOff},
        {2, "SEPERATOR1", "-"},
        {2, "mnuFExit", "E&xit"},
        {2, "separator2", "-"},
    };
    for (int i = 1; i <= 4; ++i) {
      table.push_back({2, "mnuRecentFile", "Not Used", "", kMenuHidden, i, "LoadSourceFile"});
    }
    const std::vector<MenuRow> middle = {
        {1, "nmuEDIT", "&Edit"},
        {2, "emcut", "Cu&t", "", kMenuOff},
        {2, "emcopy", "&Copy", "", kMenuOff},
        {2, "empaste", "&Paste", "", kMenuOff},
        {2, "sep", "-"},
        {2, "mnuFontName", "&Font"},
        {1, "mnusearch", "&Search", "", kMenuOff},
        {2, "mnuitFind", "&Find", "Ctrl+F", 0, -1, "ShowFindDialog"},
        {2, "mnuitFindNext", "Find &Next", "F3", 0, -1, "FindNextInView"},
        {2, "mnuitLabel", "&Label", "Ctrl+L", 0, -1, "FormGoLabel+FillLabelList"},
        {1, "mnuProject", "&Project"},
        {2, "mnuPNew", "&New", "", 0, -1, "NewProject"},
        {2, "mnuPOpen", "&Open", "", 0, -1, "OpenProjectCommand"},
        {2, "mnuPEdit", "&Edit", "", 0, -1, "Project"},
        {2, "mnuPSave", "&Save", "", 0, -1, "SaveProject"},
        {2, "mnuPSaveAs", "Save &As", "", 0, -1, "SaveProjectAs"},
        {2, "mnuPClose", "&Close", "", 0, -1, "CloseProject"},
        {2, "projsep1", "-"},
    };
    table.insert(table.end(), middle.begin(), middle.end());
    for (int i = 1; i <= 4; ++i) {
      table.push_back({2, "mnuRecentProj", "Not Used", "", kMenuHidden, i, "OpenProjectFile"});
    }
    const std::vector<MenuRow> rest = {
        {1, "mnubuild", "&Build"},
        {2, "buildprojmnu", "&Build Project", "Shift+F8", 0, -1, "BuildProject"},
        {2, "assemblermnu", "&Assemble", "Ctrl+F8", 0, -1, "LaunchAssembler"},
        {2, "sepbuild", "-"},
        {2, "disassemblermnu", "&Disassemble", "", 0, -1, "Dissassamble_params"},
        {2, "mnuDisassembleBinary", "&ROM Characteristic File", "", 0, -1, "DisassembleBinary"},
        {2, "mnuConvertCodToBin", "&Convert COD File", "", 0, -1, "ConvertCodToBin"},
        {1, "mnuEmulation", "E&mulation"},
        {2, "mnuQVVICE", "&Virtual", "Ctrl+F5", 0, -1, "IceView"},
        {2, "sepem", "-"},
        {2, "mnuQVUICE", "&In circuit", "Shift+F5", 0, -1, "IceView+transferwin"},
        {2, "settingmnu", "ICE &Config", "", 0, -1, "transferwin"},
        {2, "sepemtp", "-"},
        {2, "mnuMTP", "&MTP", "", 0, -1, "Pelto"},
        {1, "windowmnu", "&Window", "", kMenuWindowList},
        {2, "mnuCascade", "&Cascade"},
        {2, "mnuTile", "&Tile"},
        {2, "mnuArrangeicons", "&Arrange Icons"},
        {1, "mnuhelp", "&Help"},
        {2, "mnuindex", "&Contents and Index", "F1"},
        {2, "mnuTips", "&Tip of the Day", "", 0, -1, "frmTip"},
        {2, "sephelp2", "-"},
        {2, "mnuWebSite", "Corvane on the &Web"},
        {2, "mnumanual", "User's manual"},
        {3, "mnutoolsdescription", "4bits Tools description"},
        {3, "mnubinder", "Binder"},
        {3, "mnuemulator", "Emulator Hardware desc."},
        {3, "mnudemoboard", "Demo board "},
        {2, "mnudatasheets", "&Datasheets"},
        {3, "mnu4224", "QV4224"},
        {3, "mnu4132", "QV4132"},
        {3, "mnu4214", "QV4214"},
        {3, "mnu4219", "QV4219"},
        {3, "mnu4223", "QV4223"},
        {3, "mnu4229", "QV4229"},
        {3, "mnu4232", "QV4232"},
        {3, "mnu4234", "QV4234"},
        {3, "mnu4236", "QV4236"},
        {3, "mnudevdevices", "Dev. Devices"},
        {4, "mnu4111", "QV4111"},
        {4, "mnu4112", "QV4112"},
        {4, "mnu4113", "QV4113"},
        {4, "mnu4115", "QV4115"},
        {4, "mnu4116", "QV4116"},
        {4, "mnu4117", "QV4117"},
        {4, "mnu4118", "QV4118"},
        {4, "mnu4131", "QV4131"},
        {3, "mnuolddevices", "Old Devices"},
        {4, "mnu4211", "QV4211"},
        {4, "mnu4212", "QV4212"},
        {4, "mnu4213", "QV4213"},
        {4, "mnu4215", "QV4215"},
        {4, "mnu4216", "QV4216"},
        {4, "mnu4217", "QV4217"},
        {4, "mnu4218", "QV4218"},
        {4, "mnu4231", "QV4231"},
        {4, "mnu4817", "QV4817"},
        {2, "sephelp1", "-"},
        {2, "mnuabout", "&About Tavix...", "", 0, -1, "frmAbout"},
        {2, "sephelp0", "-"},
        {2, "mnurelease", "&Release notes"},
    };
    table.insert(table.end(), rest.begin(), rest.end());
    return table;
  }();
  return rows;
}

std::string DocumentOf(const std::string& item) {
  static const std::map<std::string, std::string> fixed = {
      {"mnutoolsdescription", "/User's Manual/QV42xx_tools.pdf"},
      {"mnubinder", "/User's Manual/Binder.pdf"},
      {"mnuemulator", "/User's Manual/qve42xx.pdf"},
      {"mnudemoboard", "/User's Manual/QVDB41xx_Manual.pdf"},
      {"mnurelease", "/TAVIX_ReleaseNote.pdf"},
      {"mnu4111", "/datasheets/QV41xx_DS.pdf"},
      {"mnu4112", "/datasheets/QV41xx_DS.pdf"},
      {"mnu4113", "/datasheets/QV41xx_DS.pdf"},
      {"mnu4131", "/datasheets/QV41xx_DS.pdf"},
      {"mnu4115", "/datasheets/QV4215_DS.pdf"},
  };
  if (auto it = fixed.find(item); it != fixed.end()) return it->second;
  // Every other data-sheet item opens the sheet of its own digits.
  if (item.size() == 7 && item.rfind("mnu4", 0) == 0 &&
      item.find_first_not_of("0123456789", 3) == std::string::npos) {
    return "/datasheets/QV" + item.substr(3) + "_DS.pdf";
  }
  return "";
}

std::string NewTemplatePath(const std::string& programPath) {
  std::string folder = programPath;
  if (!folder.empty() && folder.back() == '/') folder.pop_back();
  const size_t slash = folder.rfind('/');
  if (slash != std::string::npos) folder.erase(slash + 1);
  return folder + "tavix/Start.asm";
}

void ShowHelp(MonitorState& state) {
  platform::CommonDialog* dialog = state.Forms.FrameDialog();
  if (dialog == nullptr) return;
  dialog->HelpFile = platform::FindOrKeepPath(state.ProgramPath + "TAVIX.HLP");
  dialog->HelpCommand = 15;
  dialog->ShowHelp();
}

void OpenWebSite(MonitorState& state) {
  platform::ShellOpen({nullptr, "Open", kWebSiteAddress, "", state.ProgramPath, 1});
}

void Monitorform::Command(const std::string& name, int index) {
  Services& seams = state_.Seams;
  WorkbenchServices& bench = seams.workbench;
  const std::string document = DocumentOf(name);
  if (!document.empty()) {
    const std::string path = platform::FindOrKeepPath(WithoutSlash(state_.ProgramPath) + document);
    platform::ShellOpen({this, "open", path, "", "", 1});
  } else if (name == "mnuFNew") {
    Services::Call(bench.OpenNewEditor);
  } else if (name == "mnuFNewT") {
    if (bench.LoadSourceFile) bench.LoadSourceFile(NewTemplatePath(state_.ProgramPath));
  } else if (name == "mnuFOpen") {
    Services::Call(bench.ShowOpenFileDialog);
  } else if (name == "mnuFExit") {
    Exit();
  } else if (name == "mnuRecentFile") {
    if (bench.LoadSourceFile) {
      bench.LoadSourceFile(
          Menu(platform::MenuItemName("mnuRecentFile", index))->text().toStdString());
    }
    Services::Call(bench.LoadRecentFileList);
  } else if (name == "mnuRecentProj") {
    if (state_.ProjectModified != 0 && seams.AskSaveProject() == platform::IDCANCEL) return;
    if (bench.OpenProjectFile) {
      bench.OpenProjectFile(
          Menu(platform::MenuItemName("mnuRecentProj", index))->text().toStdString());
    }
    Services::Call(bench.LoadRecentProjects);
  } else if (name == "mnuFontName") {
    FontCommand(state_);
  } else if (name == "mnuitFind") {
    Services::Call(seams.debug.ShowFindDialog);
  } else if (name == "mnuitFindNext") {
    Services::Call(seams.debug.FindNextInView);
  } else if (name == "mnuitLabel") {
    SearchLabel();
  } else if (name == "mnuPNew") {
    Services::Call(bench.NewProject);
  } else if (name == "mnuPOpen") {
    Services::Call(bench.OpenProjectCommand);
  } else if (name == "mnuPEdit") {
    state_.Forms.Show("Project");
  } else if (name == "mnuPSave") {
    Services::Call(bench.SaveProject);
  } else if (name == "mnuPSaveAs") {
    Services::Call(bench.SaveProjectAs);
  } else if (name == "mnuPClose") {
    Services::Call(bench.CloseProject);
  } else if (name == "buildprojmnu") {
    Services::Call(bench.BuildProject);
  } else if (name == "assemblermnu") {
    Services::Call(bench.LaunchAssembler);
  } else if (name == "disassemblermnu") {
    state_.Forms.Load("Dissassamble_params");
  } else if (name == "mnuDisassembleBinary") {
    Services::Call(bench.DisassembleBinary);
  } else if (name == "mnuConvertCodToBin") {
    Services::Call(bench.ConvertCodToBin);
  } else if (name == "mnuQVVICE") {
    Virtual();
  } else if (name == "mnuQVUICE") {
    InCircuit();
  } else if (name == "settingmnu") {
    state_.Forms.ShowModal("transferwin");
  } else if (name == "mnuMTP") {
    state_.Forms.Load("Pelto");
  } else if (name == "mnuCascade") {
    Arrange(kCascade);
  } else if (name == "mnuTile") {
    Arrange(kTileHorizontal);
  } else if (name == "mnuArrangeicons") {
    Arrange(kArrangeIcons);
  } else if (name == "mnuindex") {
    ShowHelp(state_);
  } else if (name == "mnuTips") {
    state_.Forms.ShowModal("frmTip");
  } else if (name == "mnuWebSite") {
    OpenWebSite(state_);
  } else if (name == "mnuabout") {
    state_.Forms.ShowModal("frmAbout");
  }
}

void Monitorform::Exit() {
  const std::optional<int16_t> answer = state_.Seams.SaveProjectCommand();
  if (answer && *answer == platform::IDCANCEL) return;
  CloseFrame();
}

// Switching the target inside a run would leave a run that Stop cannot reach.
void Monitorform::Virtual() {
  if (state_.RunActive != 0 || state_.SimulatorBusy != 0) return;
  state_.SimulationRefused = 0;
  state_.TargetState = kSimulator;
  state_.Forms.Load("IceView");
  if (state_.SimulationRefused == 0) {
    state_.Forms.Show("IceView");
    state_.Forms.Show("Display");
  } else {
    state_.Forms.Unload("IceView");
  }
}

void Monitorform::InCircuit() {
  if (state_.RunActive != 0 || state_.SimulatorBusy != 0) return;
  state_.TargetState = kEmulatorNotConnected;
  state_.Forms.Show("IceView");
}

void Monitorform::SearchLabel() {
  if (!state_.Forms.IsShown("FormGoLabel")) Services::Call(state_.Seams.debug.FillLabelList);
  state_.Forms.Show("FormGoLabel");
  Services::Call(state_.Seams.debug.ClearLabelPrefix);
}

}  // namespace monitor
