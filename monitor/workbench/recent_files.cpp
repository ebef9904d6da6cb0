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

QAction* Entry(const platform::MenuSet& menus, int index) {
  return menus.Item(platform::MenuItemName("mnuRecentFile", index));
}

// The main window's four captions are the list's working copy.
class MainWindowCaptions : public RecentCaptions {
 public:
  explicit MainWindowCaptions(const Monitorform& frame) : frame_(frame) {}
  std::string Caption(int entry) const override {
    QAction* item = Entry(frame_.Menus(), entry);
    return item != nullptr ? item->text().toStdString() : "";
  }
  void SetCaption(int entry, const std::string& caption) override {
    if (QAction* item = Entry(frame_.Menus(), entry))
      item->setText(QString::fromStdString(caption));
  }

 private:
  const Monitorform& frame_;
};

void Fill(const platform::MenuSet& menus,
          const std::array<std::string, RecentList::kEntries>& entries, bool separator) {
  for (int i = 1; i <= RecentList::kEntries; ++i) {
    const std::string& entry = entries[static_cast<size_t>(i - 1)];
    if (RecentList::IsFree(entry)) continue;
    if (separator) {
      if (QAction* line = Entry(menus, 0)) line->setVisible(true);
    }
    if (QAction* item = Entry(menus, i)) {
      item->setText(QString::fromStdString(entry));
      item->setVisible(true);
    }
  }
}

}  // namespace

void RefreshFileMenu(Workbench& bench, const std::string& name) {
  Monitorform* frame = bench.State.MainForm();
  if (frame != nullptr) {
    MainWindowCaptions captions(*frame);
    RecentFiles().Add(name, &captions);
  } else {
    RecentFiles().Add(name, nullptr);
  }
  LoadRecentFileList(bench);
}

void LoadRecentFileList(Workbench& bench) {
  const auto entries = RecentFiles().Entries();
  if (Monitorform* frame = bench.State.MainForm()) Fill(frame->Menus(), entries, false);
  const std::vector<EditorSlotRecord>& records = bench.State.EditorSlot;
  for (size_t slot = 1; slot < records.size() && slot < bench.NotePad.size(); ++slot) {
    if (records[slot].Free == 0 && bench.NotePad[slot])
      Fill(bench.NotePad[slot]->Menus(), entries, true);
  }
}

void FillRecentFileMenu(frmNotePad& editor) {
  Fill(editor.Menus(), RecentFiles().Entries(), true);
}

}  // namespace monitor
