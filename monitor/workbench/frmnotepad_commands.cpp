// The editor window's menu and its question on closing: the handlers that
// reach the workbench's files, editors, search, projects and recent lists.
#include <QAction>
#include <map>

#include "core/monitor_state.h"
#include "core/monitorform.h"
#include "platform/messagebox.h"
#include "workbench/editor_commands.h"
#include "workbench/filopen.h"
#include "workbench/frmfind.h"
#include "workbench/frmnotepad.h"
#include "workbench/mdinote.h"
#include "workbench/project.h"
#include "workbench/recent_files.h"

namespace monitor {

using platform::kMenuHidden;
using platform::kMenuOff;
using platform::kMenuWindowList;
using platform::MenuRow;

const std::vector<MenuRow>& NotePadMenuTable() {
  static const std::vector<MenuRow> rows = [] {
    std::vector<MenuRow> table = {
        {1, "mnuFile", "&File"},
        {2, "mnuFNew", "&New", "Ctrl+N"},
        {2, "mnuFNewT", "New &Template", "Ctrl+T"},
        {2, "mnuFOpen", "&Open...", "Ctrl+O"},
        {2, "mnuFClose", "&Close"},
        {2, "mnuFSave", "&Save", "Ctrl+S"},
        {2, "mnuFSaveAs", "Save &As..."},
        {2, "SEPERATOR0", "-"},
        {2, "mnuFPrint", "&Print"},
        {2, "SEPERATOR1", "-"},
        {2, "mnuFExit", "E&xit"},
        {2, "mnuRecentFile", "-", "", kMenuHidden, 0},
    };
    for (int i = 1; i <= 4; ++i)
      table.push_back({2, "mnuRecentFile", "Not Used", "", kMenuHidden, i});
    const std::vector<MenuRow> rest = {
        {1, "mnuEdit", "&Edit"},
        {2, "mnuECut", "Cu&t"},
        {2, "mnuECopy", "&Copy"},
        {2, "mnuEPaste", "&Paste"},
        {2, "mnuEDelete", "&Delete"},
        {2, "mnuESelectAll", "Select &All"},
        {2, "mnuETime", "Ti&me / Date"},
        {2, "mnuFontName", "&Font"},
        {1, "mnuSearch", "&Search"},
        {2, "mnuSFind", "&Find", "Ctrl+F"},
        {2, "mnuSFindNext", "Find &Next", "F3"},
        {1, "mnuProject", "&Project"},
        {2, "mnuPNew", "&New", "", 0, -1, "NewProject"},
        {2, "mnuPOpen", "&Open", "", 0, -1, "OpenProjectCommand"},
        {2, "mnuPEdit", "&Edit", "", 0, -1, "Project"},
        {2, "mnuPSave", "&Save", "", 0, -1, "SaveProject"},
        {2, "mnuPSaveAs", "Save &As", "", 0, -1, "SaveProjectAs"},
        {2, "mnuPClose", "&Close", "", 0, -1, "CloseProject"},
        {1, "mnuBuild", "&Build"},
        {2, "buildprojmnu", "&Build Project", "Shift+F8", 0, -1, "BuildProject"},
        {2, "assemblermnu", "&Assemble", "Ctrl+F8", 0, -1, "LaunchAssembler"},
        {2, "Dissassemblemnu", "&Disassemble", "", kMenuOff},
        {1, "mnuEmulation", "E&mulation"},
        {2, "mnuQVVICE", "&Virtual", "Ctrl+F5", 0, -1, "IceView"},
        {2, "mnuQVICE", "&In Circuit", "Shift+F5", 0, -1, "IceView+transferwin"},
        {2, "settingmnu", "ICE &Config", "", 0, -1, "transferwin"},
        {2, "mnuMTP", "&MTP", "", 0, -1, "MTP"},
        {1, "mnuWindow", "&Window", "", kMenuWindowList},
        {2, "mnuWCascade", "&Cascade"},
        {2, "mnuWTile", "&Tile"},
        {2, "mnuWArrange", "&Arrange Icons"},
        {1, "mnuHelp", "&Help"},
        {2, "mnuIndex", "&Contents and Index", "F1"},
        {2, "mnuTips", "&Tip of the Day", "", 0, -1, "frmTip"},
        {2, "mnuWebSite", "Corvane on the &Web"},
        {2, "mnuAbout", "&About Tavix...", "", 0, -1, "frmAbout"},
    };
    table.insert(table.end(), rest.begin(), rest.end());
    return table;
  }();
  return rows;
}

void frmNotePad::BindMenus() {
  menus_ = platform::BuildMenus(
      NotePadMenuTable(), this, [this](const std::string& needs) { return NeedsBuilt(needs); },
      [this](const std::string& name, int index) { Command(name, index); });
  SetOwnMenus(menus_.TopLevel());
  FillRecentFileMenu(*this);
}

bool frmNotePad::NeedsBuilt(const std::string& needs) const {
  Monitorform* frame = bench_.State.MainForm();
  return frame != nullptr && frame->NeedsBuilt(needs);
}

void frmNotePad::Command(const std::string& name, int index) {
  // The commands the editor shares with the main window, under its names.
  static const std::map<std::string, std::string> frameCommand = {
      {"mnuPNew", "mnuPNew"},
      {"mnuPOpen", "mnuPOpen"},
      {"mnuPEdit", "mnuPEdit"},
      {"mnuPSave", "mnuPSave"},
      {"mnuPClose", "mnuPClose"},
      {"buildprojmnu", "buildprojmnu"},
      {"assemblermnu", "assemblermnu"},
      {"mnuQVVICE", "mnuQVVICE"},
      {"mnuQVICE", "mnuQVUICE"},
      {"settingmnu", "settingmnu"},
      {"mnuWCascade", "mnuCascade"},
      {"mnuWTile", "mnuTile"},
      {"mnuWArrange", "mnuArrangeicons"},
      {"mnuIndex", "mnuindex"},
      {"mnuTips", "mnuTips"},
      {"mnuWebSite", "mnuWebSite"},
      {"mnuAbout", "mnuabout"},
  };
  Monitorform* frame = bench_.State.MainForm();
  if (auto it = frameCommand.find(name); it != frameCommand.end()) {
    if (frame != nullptr) frame->Command(it->second, -1);
  } else if (name == "mnuPSaveAs") {
    EditorSaveProjectAs(bench_.State);
  } else if (name == "mnuMTP") {
    bench_.State.Forms.Show("MTP");
  } else if (name == "mnuFNew") {
    OpenNewEditor(bench_);
  } else if (name == "mnuFNewT") {
    NewTemplate(bench_);
  } else if (name == "mnuFOpen") {
    ShowOpenFileDialog(bench_);
  } else if (name == "mnuFClose") {
    bench_.State.Forms.Unload(this);
  } else if (name == "mnuFSave") {
    SaveCommand(bench_, *this);
  } else if (name == "mnuFSaveAs") {
    SaveAsCommand(bench_, *this);
  } else if (name == "mnuFPrint") {
    PrintCommand(bench_, *this);
  } else if (name == "mnuFExit") {
    if (frame != nullptr) frame->CloseFrame();
  } else if (name == "mnuRecentFile") {
    const std::string path =
        Menu(platform::MenuItemName("mnuRecentFile", index))->text().toStdString();
    LoadSourceFile(bench_, path);
    LoadRecentFileList(bench_);
  } else if (name == "mnuECut") {
    CutSelection(bench_);
  } else if (name == "mnuECopy") {
    CopySelection(bench_);
  } else if (name == "mnuEPaste") {
    PasteClipboard(bench_);
  } else if (name == "mnuEDelete") {
    DeleteSelection(bench_);
  } else if (name == "mnuESelectAll") {
    SelectAll(bench_);
  } else if (name == "mnuETime") {
    InsertTimeDate(*this);
  } else if (name == "mnuFontName") {
    EditorFontCommand(bench_, *this);
  } else if (name == "mnuSFind") {
    ShowEditorFind(bench_, *this);
  } else if (name == "mnuSFindNext") {
    EditorFindNext(bench_, *this);
  }
}

void frmNotePad::OnQueryUnload(bool& cancel) {
  const size_t slot = static_cast<size_t>(Slot());
  std::vector<EditorSlotRecord>& records = bench_.State.EditorSlot;
  if (slot >= records.size() || records[slot].Changed == 0) return;
  Monitorform* frame = bench_.State.MainForm();
  const std::string title = frame != nullptr ? frame->Caption().toStdString() : "Tavix";
  const int answer = platform::MessageBox(
      Caption().toStdString() + " has been changed.\r\nWould you want to save the changes?", title,
      platform::MB_YESNOCANCEL | platform::MB_ICONEXCLAMATION);
  if (answer == platform::IDCANCEL) {
    cancel = true;
    return;
  }
  if (answer != platform::IDYES) return;
  const std::string name = Untitled() ? ShowSaveAsDialog(bench_) : Path();
  if (name.empty()) {
    cancel = true;
    return;
  }
  if (frame != nullptr) frame->ActivateChild(this);
  // A failed save keeps the window with its text and its changed flag.
  if (!SaveDocument(bench_, *this, name)) cancel = true;
}

}  // namespace monitor
