#pragma once
// The go-to-label dialog: the program grid's labels, and a type-ahead that
// selects the first label beginning with the capitals typed so far and moves
// the grid there. A non-modal top-level window that stays above the others.
#include <QLineEdit>
#include <QString>

#include "platform/controls.h"
#include "platform/forms.h"
#include "platform/list_controls.h"

namespace monitor {

class MonitorState;

class FormGoLabel : public platform::Form {
 public:
  static constexpr int kPrefixTimeout = 2000;  // ms after the last key

  explicit FormGoLabel(MonitorState& state);

  platform::ListBox* ListLabels;
  QLineEdit* TxtBoxLabel;
  platform::Timer* LabelTimer;
  // The characters typed so far, upper case.
  QString LabelPrefix;

  // The prefix and its text box emptied.
  void ClearPrefix();
  // One key of the type-ahead, with its character code (8 Backspace, 27
  // Escape).
  void TypeAhead(int charCode);

  void OnLoad() override;
  // The window lost the focus: it goes back on top of the others.
  void OnDeactivate() override;

 private:
  MonitorState& state_;
};

}  // namespace monitor
