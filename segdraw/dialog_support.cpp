#include "dialog_support.h"

#include <QFontDatabase>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStyledItemDelegate>

#include <platform/hooks.h>
#include <platform/messagebox.h>

namespace segdraw {
namespace {

constexpr int kTabCharacters = 2;  // 8 dialog units

// Draws an item's tabs as blanks up to the next tab stop.
class TabStopDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    QString expanded;
    for (QChar ch : option->text) {
      if (ch == '\t')
        expanded += QString(kTabCharacters - expanded.size() % kTabCharacters, ' ');
      else
        expanded += ch;
    }
    option->text = expanded;
  }
};

QFont FixedFont() { return QFontDatabase::systemFont(QFontDatabase::FixedFont); }

}  // namespace

bool RunDialog(QDialog& dialog) {
  dialog.setResult(QDialog::Rejected);
  platform::RunModalForm(dialog);
  return dialog.result() == QDialog::Accepted;
}

bool FetchInteger(QLineEdit* field, int min, int max, int& value) {
  bool ok = false;
  const qlonglong v = field->text().trimmed().toLongLong(&ok);
  if (ok && v >= min && v <= max) {
    value = static_cast<int>(v);
    return true;
  }
  const std::string text = ok ? "Please enter an integer between " + std::to_string(min) + " and " +
                                    std::to_string(max) + "."
                              : std::string("Please enter an integer.");
  platform::MessageBox(text, "Segdraw", platform::MB_ICONEXCLAMATION);
  field->setFocus();
  field->selectAll();
  return false;
}

void UseTabStops(QListWidget* list) {
  list->setFont(FixedFont());
  list->setItemDelegate(new TabStopDelegate(list));
}

void UseTabStops(QPlainTextEdit* text) {
  text->setFont(FixedFont());
  text->setTabStopDistance(kTabCharacters * text->fontMetrics().averageCharWidth());
}

}  // namespace segdraw
