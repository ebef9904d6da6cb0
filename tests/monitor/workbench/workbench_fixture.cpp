#include "workbench_fixture.h"

#include <QAction>
#include <QCoreApplication>
#include <cstdlib>

#include "platform/menu_table.h"
#include "settings/mdl_registry.h"
#include "workbench/recent_files.h"
#include "workbench/workbench.h"

namespace monitortest {

WorkbenchTest::WorkbenchTest() {
  settings.seed = false;  // the settings as their start-up writes them
  monitor::BindWorkbench(bench);
  platform::SetMessageBoxHook(
      [this](const std::string& text, const std::string& title, unsigned style) {
        boxes.push_back(title + "|" + text + "|" + std::to_string(style));
        if (boxAnswers.empty()) return platform::DefaultAnswer(style);
        const int answer = boxAnswers.front();
        boxAnswers.pop_front();
        return answer;
      });
  platform::SetDialogHook(
      [this](platform::CommonDialog& dialog, platform::CommonDialog::Action action) {
        using Action = platform::CommonDialog::Action;
        lastDialog = dialog;
        const char* kind = action == Action::Open   ? "Open"
                           : action == Action::Save ? "Save"
                           : action == Action::Font ? "Font"
                           : action == Action::Help ? "Help"
                                                    : "Printer";
        dialogs.push_back(std::string(kind) + "|" + dialog.DialogTitle + "|" + dialog.Filter);
        if (action == Action::Open || action == Action::Save) {
          if (fileAnswers.empty() || !fileAnswers.front()) {
            if (!fileAnswers.empty()) fileAnswers.pop_front();
            return false;
          }
          dialog.FileName = *fileAnswers.front();
          fileAnswers.pop_front();
        }
        return true;
      });
  platform::SetPrinterFactory([this] { return CapturingPrinter(paper); });
}

WorkbenchTest::~WorkbenchTest() {
  platform::SetPrinterFactory(nullptr);
}

monitor::Monitorform* WorkbenchTest::Begin() {
  monitor::Monitorform* frame = Start();
  frame->resize(900, 700);
  return frame;
}

monitor::frmNotePad* WorkbenchTest::Editor(int slot) const {
  return slot >= 0 && static_cast<size_t>(slot) < bench.NotePad.size()
             ? bench.NotePad[static_cast<size_t>(slot)].data()
             : nullptr;
}

void WorkbenchTest::Click(monitor::frmNotePad* editor, const std::string& item) {
  QAction* action = editor->Menu(item);
  ASSERT_NE(action, nullptr) << item;
  ASSERT_TRUE(action->isEnabled()) << item;
  action->trigger();
}

std::vector<std::string> WorkbenchTest::Recent() const {
  std::vector<std::string> entries;
  for (int i = 1; i <= 4; ++i) {
    const std::string value =
        monitor::RegGetSetting(platform::HKEY_CURRENT_USER, monitor::kRecentFilesKey,
                               "RecentFile" + std::to_string(i))
            .AsText();
    if (!value.empty()) entries.push_back(value);
  }
  return entries;
}

std::vector<std::string> WorkbenchTest::Captions(const platform::MenuSet& menus) const {
  std::vector<std::string> captions;
  for (int i = 1; i <= 4; ++i) {
    QAction* item = menus.Item(platform::MenuItemName("mnuRecentFile", i));
    if (item != nullptr && item->isVisible()) captions.push_back(item->text().toStdString());
  }
  return captions;
}

int WorkbenchTest::SlotsInUse() const {
  int used = 0;
  for (size_t slot = 1; slot < state.EditorSlot.size(); ++slot)
    used += state.EditorSlot[slot].Free == 0;
  return used;
}

}  // namespace monitortest
