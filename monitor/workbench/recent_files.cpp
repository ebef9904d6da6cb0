#include "workbench/recent_files.h"

#include <QAction>

#include "core/monitor_state.h"
#include "core/monitorform.h"
#include "platform/menu_table.h"
#include "workbench/frmnotepad.h"
#include "workbench/mdinote.h"
#include "workbench/recent_list.h"

namespace monitor {

namespace {

const RecentList& RecentFiles() {
  static const RecentList list(kRecentFilesKey, "RecentFile");
  return list;
}

QAction* Entry(const platform::MenuSet& menus, const char* array, int index) {
  return menus.Item(platform::MenuItemName(array, index));
}

}  // namespace

std::string MenuCaptions::Caption(int entry) const {
  QAction* item = Entry(menus_, array_, entry);
  return item != nullptr ? item->text().toStdString() : "";
}

void MenuCaptions::SetCaption(int entry, const std::string& caption) {
  if (QAction* item = Entry(menus_, array_, entry)) item->setText(QString::fromStdString(caption));
}

void FillRecentMenu(const platform::MenuSet& menus, const char* array,
                    const std::array<std::string, RecentList::kEntries>& entries, bool separator) {
  for (int i = 1; i <= RecentList::kEntries; ++i) {
    const std::string& entry = entries[static_cast<size_t>(i - 1)];
    if (RecentList::IsFree(entry)) continue;
    if (separator) {
      if (QAction* line = Entry(menus, array, 0)) line->setVisible(true);
    }
    if (QAction* item = Entry(menus, array, i)) {
      item->setText(QString::fromStdString(entry));
      item->setVisible(true);
    }
  }
}

void RefreshFileMenu(Workbench& bench, const std::string& name) {
  Monitorform* frame = bench.State.MainForm();
  if (frame != nullptr) {
    MenuCaptions captions(frame->Menus(), "mnuRecentFile");
    RecentFiles().Add(name, &captions);
  } else {
    RecentFiles().Add(name, nullptr);
  }
  LoadRecentFileList(bench);
}

void LoadRecentFileList(Workbench& bench) {
  const auto entries = RecentFiles().Entries();
  if (Monitorform* frame = bench.State.MainForm())
    FillRecentMenu(frame->Menus(), "mnuRecentFile", entries, false);
  const std::vector<EditorSlotRecord>& records = bench.State.EditorSlot;
  for (size_t slot = 1; slot < records.size() && slot < bench.NotePad.size(); ++slot) {
    if (records[slot].Free == 0 && bench.NotePad[slot])
      FillRecentMenu(bench.NotePad[slot]->Menus(), "mnuRecentFile", entries, true);
  }
}

void FillRecentFileMenu(frmNotePad& editor) {
  FillRecentMenu(editor.Menus(), "mnuRecentFile", RecentFiles().Entries(), true);
}

}  // namespace monitor
