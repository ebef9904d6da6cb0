#include "platform/edit_box.h"

#include <QKeyEvent>

#include "platform/twips.h"

namespace platform {

EditBox::EditBox(const QString& name, QWidget* parent) : QLineEdit(parent) {
  setObjectName(name);
  hide();
}

void EditBox::Place(int leftTwips, int topTwips, int widthTwips) {
  setGeometry(TwipsToPixels(leftTwips), TwipsToPixels(topTwips), TwipsToPixels(widthTwips),
              sizeHint().height());
}

void EditBox::Open(const QString& text) {
  setText(text);
  selectAll();
  show();
  raise();
  setFocus(Qt::OtherFocusReason);
}

void EditBox::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (onGotFocus) onGotFocus();
}

void EditBox::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (onLostFocus) onLostFocus();
}

void EditBox::keyPressEvent(QKeyEvent* event) {
  int keyCode = 0;
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      keyCode = 13;
      break;
    case Qt::Key_Escape:
      keyCode = 27;
      break;
    case Qt::Key_Delete:
      keyCode = 46;
      break;
    default:
      keyCode = event->key() < 0x100 ? event->key() : 0;
  }
  if (keyCode != 0 && onKeyDown) {
    const int shift = (event->modifiers() & Qt::ShiftModifier ? 1 : 0) |
                      (event->modifiers() & Qt::ControlModifier ? 2 : 0) |
                      (event->modifiers() & Qt::AltModifier ? 4 : 0);
    onKeyDown(keyCode, shift);
    if (keyCode == 0) return;
  }
  QLineEdit::keyPressEvent(event);
}

}  // namespace platform
