#pragma once
// The find dialog of the debug views: a search text with its history and two
// options, searched in the active view from its last hit on. A non-modal
// top-level window, made on first use.
#include <QCheckBox>
#include <QPushButton>
#include <QStringList>
#include <memory>

#include "debug/view_search.h"
#include "platform/forms.h"
#include "platform/list_controls.h"

namespace monitor {

class MonitorState;

// What the searches keep for the life of the process: the dialog's history
// (newest first, never saved) with its selected entry, and each view's last
// hit.
struct FindMemory {
  static constexpr int kHistoryEntries = 50;
  QStringList History;
  int HistoryIndex = -1;
  LastFoundRows LastFoundRow{};

  // The selected history entry, or "" when none is selected.
  QString SelectedText() const;
};

class FormFind : public platform::Form {
 public:
  FormFind(MonitorState& state, std::shared_ptr<FindMemory> memory);

  platform::ComboBox* Find1Combo;
  QCheckBox* chkboxCase;
  QCheckBox* chkboxWord;
  QPushButton* BttnGo;
  QPushButton* BttnClose;

  // Set when the user edits the search text, cleared once it is in the history.
  bool FindTextChanged = false;

  // 1 for whole words, plus 2 for match case.
  int Options() const;
  // An edited text goes on top of the history, which keeps the newest 50, and
  // becomes the selected entry. Nothing when the text was not edited.
  void CommitHistory();

  void OnLoad() override;
  void OnUnload() override;

 private:
  MonitorState& state_;
  std::shared_ptr<FindMemory> memory_;
};

// Search > Find Next: the open dialog's text and options, or while it is
// closed the kept selected entry without options.
void FindNextFromMenu(MonitorState& state, FindMemory& memory);

}  // namespace monitor
