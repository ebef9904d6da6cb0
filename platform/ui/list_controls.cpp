#include "platform/list_controls.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include "platform/controls.h"

namespace platform {

ComboBox::ComboBox(const QString& name, QWidget* parent) : QComboBox(parent) {
  setObjectName(name);
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setDuplicatesEnabled(true);
  setCompleter(nullptr);
  connect(lineEdit(), &QLineEdit::textEdited, this, [this] {
    if (onChange) onChange();
  });
}

void ComboBox::SetText(const QString& text) {
  setEditText(text);
}

void ComboBox::AddItem(const QString& text, int index) {
  const QString kept = currentText();
  const bool none = currentIndex() < 0;
  insertItem(index < 0 || index > count() ? count() : index, text);
  // Qt selects the first entry of an empty list; the box selects nothing.
  if (none) setCurrentIndex(-1);
  setEditText(kept);
}

void ComboBox::RemoveItem(int index) {
  if (index < 0 || index >= count()) return;
  const QString kept = currentText();
  const bool selected = currentIndex() == index;
  removeItem(index);
  // Qt moves the selection to a neighbour; the removed entry leaves none.
  if (selected) setCurrentIndex(-1);
  setEditText(kept);
}

void ComboBox::SetListIndex(int index) {
  if (index >= count()) return;
  if (index >= 0) {
    setCurrentIndex(index);
    return;
  }
  const QString kept = currentText();
  setCurrentIndex(-1);
  setEditText(kept);
}

void ComboBox::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  // Opening its own list keeps the box the user's control.
  if (event->reason() != Qt::PopupFocusReason && onLostFocus) onLostFocus();
}

ListBox::ListBox(const QString& name, QWidget* parent) : QListWidget(parent) {
  setObjectName(name);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

void ListBox::AddItem(const QString& text) {
  addItem(text);
}

void ListBox::Clear() {
  clear();
}

QString ListBox::List(int index) const {
  const QListWidgetItem* entry = item(index);
  return entry != nullptr ? entry->text() : QString();
}

void ListBox::SetListIndex(int index) {
  if (index < 0 || index >= count()) {
    setCurrentRow(-1);
    clearSelection();
    return;
  }
  setCurrentRow(index);
  RaiseClick();
}

QString ListBox::Text() const {
  const QListWidgetItem* entry = currentItem();
  return entry != nullptr && entry->isSelected() ? entry->text() : QString();
}

void ListBox::keyboardSearch(const QString& /*search*/) {}

void ListBox::keyPressEvent(QKeyEvent* event) {
  int code = KeyCodeOf(event->key());
  if (code != 0 && onKeyDown) {
    onKeyDown(code, ShiftMaskOf(event->modifiers()));
    if (code == 0) {
      event->accept();
      return;
    }
  }
  int character = 0;
  if (event->key() == Qt::Key_Backspace) {
    character = vbKeyBack;
  } else if (event->key() == Qt::Key_Escape) {
    character = vbKeyEscape;
  } else if (!event->text().isEmpty()) {
    character = event->text().at(0).unicode();
  }
  if (character != 0 && onKeyPress) onKeyPress(character);
  // The list's own moves (arrows, pages, Home, End) choose an entry too.
  const int before = currentRow();
  QListWidget::keyPressEvent(event);
  if (currentRow() != before && currentRow() >= 0) RaiseClick();
}

void ListBox::mouseReleaseEvent(QMouseEvent* event) {
  QListWidget::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton) return;
  const QModelIndex at = indexAt(event->position().toPoint());
  if (at.isValid() && at.row() == currentRow()) RaiseClick();
}

void ListBox::RaiseClick() {
  if (onClick) onClick();
}

}  // namespace platform
