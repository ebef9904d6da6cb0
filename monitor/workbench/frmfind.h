#pragma once
// The editors' Find dialog: a modeless top-level window loaded on first use.
// Its search state lives in the workbench, so Find Next works after it
// closed.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "platform/forms.h"

namespace monitor {

class Workbench;
class frmNotePad;

class frmFind : public platform::Form {
 public:
  explicit frmFind(Workbench& bench);

  QLabel* Label1;
  QLineEdit* Text1;
  QCheckBox* chkCase;
  std::array<QRadioButton*, 2> optDirection;  // 0 up, 1 down
  QPushButton* cmdFind;
  QPushButton* cmdcancel;

  void OnLoad() override;

 private:
  Workbench& bench_;
};

// Search > Find of an editor: the selection (or nothing) into the dialog,
// the next search from the caret, the dialog shown.
void ShowEditorFind(Workbench& bench, frmNotePad& editor);
// Search > Find Next: the last search again, or Find when there is none.
void EditorFindNext(Workbench& bench, frmNotePad& editor);

}  // namespace monitor
