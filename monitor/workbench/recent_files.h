#pragma once
// The four recent source files in "Recent Files" (values "RecentFile1" …
// "RecentFile4"), shown in the File menus of the main window and of every
// editor window.
#include <string>

namespace monitor {

class Workbench;
class frmNotePad;

inline constexpr const char* kRecentFilesKey = "SOFTWARE\\Corvane\\Tavix\\Recent Files";

// After a load or a Save As: `name` becomes the newest entry, then the menus
// are filled again.
void RefreshFileMenu(Workbench& bench, const std::string& name);
// Fills the menus from the registry: the main window's entries and those of
// every editor in use (its separator shown). Free entries leave an item as
// it is; nothing is hidden.
void LoadRecentFileList(Workbench& bench);
// Fills one editor's entries (a new editor shows the list at once).
void FillRecentFileMenu(frmNotePad& editor);

}  // namespace monitor
