// The item calls: texts, scroll bars, buttons and picture places by id.
#include "platform/dialog_items.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>
#include <cstring>

#include "platform/window.h"
#include "template_dialog.h"

namespace platform {
namespace {

QWidget* Item(WindowHandle dialog, int id) {
  TemplateDialog* d = TemplateDialog::From(dialog);
  return d != nullptr ? d->item(id) : nullptr;
}

QScrollBar* Bar(WindowHandle bar) {
  QWidget* w = AsWidget(bar);
  return IsControl(w) ? qobject_cast<QScrollBar*>(w) : nullptr;
}

// Clears a button, also the checked one of an exclusive group (which Qt
// refuses to clear on its own).
void Uncheck(QAbstractButton* button) {
  if (!button->isChecked()) return;
  QButtonGroup* group = button->group();
  if (group != nullptr) group->setExclusive(false);
  button->setChecked(false);
  if (group != nullptr) group->setExclusive(true);
}

QString FromText(const std::string& text) { return QString::fromLocal8Bit(text.c_str()); }
std::string ToText(const QString& text) { return text.toLocal8Bit().toStdString(); }

}  // namespace

std::string ControlText(const QWidget* control) {
  if (auto* label = qobject_cast<const QLabel*>(control)) return ToText(label->text());
  if (auto* button = qobject_cast<const QAbstractButton*>(control)) return ToText(button->text());
  if (auto* group = qobject_cast<const QGroupBox*>(control)) return ToText(group->title());
  if (auto* edit = qobject_cast<const QLineEdit*>(control)) return ToText(edit->text());
  if (auto* list = qobject_cast<const QPlainTextEdit*>(control)) {
    QString text = list->toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return ToText(text);
  }
  return {};
}

void SetControlText(QWidget* control, const std::string& text) {
  if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setText(FromText(text));
  } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->setText(FromText(text));
  } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
    group->setTitle(FromText(text));
  } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    edit->setText(FromText(text));
  } else if (auto* list = qobject_cast<QPlainTextEdit*>(control)) {
    QString lines = FromText(text);
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    // A list ends its last line with "\r\n"; no empty line below it.
    if (lines.endsWith(QLatin1Char('\n'))) lines.chop(1);
    list->setPlainText(lines);
  }
}

bool SetDlgItemText(WindowHandle dialog, int id, const std::string& text) {
  QWidget* item = Item(dialog, id);
  if (item == nullptr) return false;
  SetControlText(item, text);
  return true;
}

bool SetEditLimit(WindowHandle dialog, int id, int characters) {
  auto* edit = qobject_cast<QLineEdit*>(Item(dialog, id));
  if (edit == nullptr) return false;
  edit->setMaxLength(characters);
  return true;
}

std::string GetDlgItemText(WindowHandle dialog, int id) {
  QWidget* item = Item(dialog, id);
  return item != nullptr ? ControlText(item) : std::string();
}

int GetDlgItemText(WindowHandle dialog, int id, char* buffer, int size) {
  if (buffer == nullptr || size <= 0) return 0;
  std::string text = GetDlgItemText(dialog, id);
  int n = std::min(static_cast<int>(text.size()), size - 1);
  std::memcpy(buffer, text.data(), static_cast<size_t>(n));
  buffer[n] = '\0';
  return n;
}

bool SetDlgItemInt(WindowHandle dialog, int id, unsigned value, bool isSigned) {
  std::string text = isSigned ? std::to_string(static_cast<int>(value)) : std::to_string(value);
  return SetDlgItemText(dialog, id, text);
}

bool SetScrollRange(WindowHandle bar, int minimum, int maximum) {
  QScrollBar* b = Bar(bar);
  if (b == nullptr) return false;
  b->setRange(std::min(minimum, maximum), std::max(minimum, maximum));
  return true;
}

bool GetScrollRange(WindowHandle bar, int& minimum, int& maximum) {
  QScrollBar* b = Bar(bar);
  if (b == nullptr) return false;
  minimum = b->minimum();
  maximum = b->maximum();
  return true;
}

bool SetScrollPos(WindowHandle bar, int position) {
  QScrollBar* b = Bar(bar);
  if (b == nullptr) return false;
  b->setValue(position);  // kept within the range
  b->setSliderPosition(b->value());
  return true;
}

int GetScrollPos(WindowHandle bar) {
  QScrollBar* b = Bar(bar);
  return b != nullptr ? b->value() : 0;
}

bool CheckRadioButton(WindowHandle dialog, int firstId, int lastId, int checkId) {
  if (TemplateDialog::From(dialog) == nullptr) return false;
  for (int id = firstId; id <= lastId; ++id) {
    auto* button = qobject_cast<QAbstractButton*>(Item(dialog, id));
    if (button == nullptr) continue;
    if (id == checkId) {
      button->setChecked(true);
    } else {
      Uncheck(button);
    }
  }
  return true;
}

bool CheckDlgButton(WindowHandle dialog, int id, int state) {
  auto* button = qobject_cast<QAbstractButton*>(Item(dialog, id));
  if (button == nullptr || !button->isCheckable()) return false;
  if (state == BST_CHECKED) {
    button->setChecked(true);
  } else {
    Uncheck(button);
  }
  return true;
}

int IsDlgButtonChecked(WindowHandle dialog, int id) {
  auto* button = qobject_cast<QAbstractButton*>(Item(dialog, id));
  return button != nullptr && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

bool SetDlgItemPicture(WindowHandle dialog, int id, Picture picture) {
  auto* place = dynamic_cast<PicturePlace*>(Item(dialog, id));
  if (place == nullptr) return false;
  place->setPicture(picture);
  return true;
}

Picture GetDlgItemPicture(WindowHandle dialog, int id) {
  auto* place = dynamic_cast<PicturePlace*>(Item(dialog, id));
  return place != nullptr ? place->picture() : Picture::None;
}

}  // namespace platform
