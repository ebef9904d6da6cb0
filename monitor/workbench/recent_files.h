#pragma once
// The four recent source files in "Recent Files" (values "RecentFile1" …
// "RecentFile4"), shown in the File menus of the main window and of every
// editor window.
#include <array>
#include <string>

#include "platform/menu_table.h"
#include "workbench/recent_list.h"

namespace monitor {

class Workbench;
class frmNotePad;

inline constexpr const char* kRecentFilesKey = "SOFTWARE\\Corvane\\Tavix\\Recent Files";

// The captions of a menu item array (entries 1 to 4) as a recent list's
// working copy.
class MenuCaptions : public RecentCaptions {
 public:
  MenuCaptions(const platform::MenuSet& menus, const char* array) : menus_(menus), array_(array) {}
  std::string Caption(int entry) const override;
  void SetCaption(int entry, const std::string& caption) override;

 private:
  const platform::MenuSet& menus_;
  const char* array_;
};

// Shows the used entries in a menu item array: caption and visible; with
// `separator` the array's item 0 too. Free entries leave an item as it is.
void FillRecentMenu(const platform::MenuSet& menus, const char* array,
                    const std::array<std::string, RecentList::kEntries>& entries, bool separator);

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
