#pragma once
// What the editor's dialogs share: showing one modally through the form
// layer's hook, integer fields checked as the dialogs' data exchange checks
// them, controls named by their numbers, and lists with tab stops every 8
// dialog units in a fixed-pitch font.
#include <QDialog>
#include <QString>

class QAbstractButton;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace segdraw {

// Shows the dialog until it closes; true when it was accepted.
bool RunDialog(QDialog& dialog);

// The integer of a field within [min, max]; otherwise a message ("Please
// enter an integer." or "... between min and max."), the focus on the field
// with its text selected, and false.
bool FetchInteger(QLineEdit* field, int min, int max, int& value);

// A control of a dialog by its number.
template <class W>
W* Control(const QWidget& dialog, int id) {
  return dialog.findChild<W*>(QString::number(id));
}
// Names a new control after its number.
template <class W>
W* Named(W* widget, int id) {
  widget->setObjectName(QString::number(id));
  return widget;
}

// A list (or text box) in a fixed-pitch font whose tabs stop every 8 dialog
// units (two average characters); the items keep their tabs.
void UseTabStops(QListWidget* list);
void UseTabStops(QPlainTextEdit* text);

}  // namespace segdraw
