#pragma once
// The main window: the MDI frame with the monitor's menu tree, the status
// panels, the two common dialogs and the picture holders. Its load, close
// request and unload are the monitor's start-up and shut-down; its menu tree
// and the commands of its items are in monitorform_commands.cpp.
#include <cstdint>
#include <string>

#include "platform/controls.h"
#include "platform/hooks.h"
#include "platform/mdi_frame.h"
#include "platform/menu_table.h"

namespace monitor {

class MonitorState;

// The registry key of the main window's placement, below HKEY_CURRENT_USER.
inline constexpr const char* kMonitorWindowKey = "SOFTWARE\\Corvane\\Tavix\\monitor window";
// The maker's home page: a placeholder address that no site answers.
inline constexpr const char* kWebSiteAddress = "https://tavix.example.invalid/";

class Monitorform : public platform::MdiFrame {
 public:
  explicit Monitorform(MonitorState& state);

  MonitorState& State() const { return state_; }
  const platform::MenuSet& Menus() const { return menus_; }
  // A menu item by name ("mnusearch", "mnuRecentFile(1)"), or null.
  QAction* Menu(const std::string& name) const { return menus_.Item(name); }
  platform::Panel3D* StatusPanel(const char* name) const;

  platform::CommonDialog monitorCMD;

  // CMDialog1, the common dialog the windows reach through
  // FormManager::FrameDialog.
  platform::CommonDialog* FrameDialog() override;

  void OnLoad() override;
  void OnQueryUnload(bool& cancel) override;
  void OnUnload() override;

  // A menu command by its item name and control-array index.
  void Command(const std::string& name, int index);
  // True when every form or operation of `needs` ("IceView+transferwin") is built.
  bool NeedsBuilt(const std::string& needs) const;

 private:
  void Virtual();
  void InCircuit();
  void Exit();
  void SearchLabel();

  MonitorState& state_;
  platform::MenuSet menus_;
  platform::CommonDialog CMDialog1;
  // Where both common dialogs start: the project's folder, else the last
  // one used, else the folder the monitor was started from.
  platform::DialogFolders folders_;
};

// The menu tree of the main window.
const std::vector<platform::MenuRow>& MonitorformMenuTable();

// The file a document item opens, after the program folder ("/datasheets/…"),
// or "" for an item that is not a document.
std::string DocumentOf(const std::string& item);
// The template source of File > New Template for a program folder.
std::string NewTemplatePath(const std::string& programPath);
// A folder path without its trailing "/" (the program folder as the document
// items and the start-up's working folder use it).
std::string WithoutSlash(std::string path);

// The help file through the help hook; the home page through the shell.
void ShowHelp(MonitorState& state);
void OpenWebSite(MonitorState& state);
// -1 when a loaded form's caption equals `text` (or contains it when
// `containing` is non-zero), else 0.
int16_t FindFormByCaption(const MonitorState& state, const QString& text, int16_t containing);

}  // namespace monitor
