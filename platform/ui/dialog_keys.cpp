#include "dialog_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include "platform/forms.h"

namespace platform {

namespace {

// A button a key may press: there, not hidden and enabled.
bool Pressable(const QAbstractButton* button) {
  return button != nullptr && !button->isHidden() && button->isEnabled();
}

}  // namespace

DialogKeys::DialogKeys(Form& form, QAbstractButton* defaultButton, QAbstractButton* cancelButton)
    : QObject(&form), form_(form), default_(defaultButton), cancel_(cancelButton) {
  qApp->installEventFilter(this);
}

DialogKeys::~DialogKeys() {
  qApp->removeEventFilter(this);
}

bool DialogKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  // Only the keys of this form's window; a combo box's open list is a window
  // of its own and keeps its Return and Escape.
  if (widget == nullptr || (widget != &form_ && !form_.isAncestorOf(widget))) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
  if (modifiers != Qt::NoModifier) return false;
  QAbstractButton* button = nullptr;
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    auto* focused = qobject_cast<QPushButton*>(widget);
    button = focused != nullptr ? focused : default_.data();
  } else if (key->key() == Qt::Key_Escape) {
    button = cancel_;
  }
  if (!Pressable(button)) return false;
  button->click();
  return true;
}

}  // namespace platform
