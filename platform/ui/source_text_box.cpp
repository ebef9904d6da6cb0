#include "platform/source_text_box.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>
#include <utility>

namespace platform {

QString WithLineFeeds(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == u'\r') {
      out += u'\n';
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

SourceTextBox::SourceTextBox(const QString& name, QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName(name);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setWordWrapMode(QTextOption::NoWrap);
  setTabChangesFocus(false);
  setUndoRedoEnabled(true);
  connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
    if (settingFont_ || (removed == 0 && added == 0)) return;
    if (onChange) onChange();
  });
}

namespace {

// Characters the document takes as block or frame breaks, and the
// noncharacters that stand in for them inside the box, one for one, so that
// offsets into Text() stay offsets into the document.
constexpr std::pair<char16_t, char16_t> kStandIns[] = {
    {0x2029, 0xFDED}, {0xFDD0, 0xFDEE}, {0xFDD1, 0xFDEF}};

QString ToDocument(QString text) {
  for (const auto& [kept, standIn] : kStandIns) text.replace(QChar(kept), QChar(standIn));
  return text;
}

}  // namespace

QString SourceTextBox::Text() const {
  QString text = document()->toRawText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  for (const auto& [kept, standIn] : kStandIns) text.replace(QChar(standIn), QChar(kept));
  return text;
}

void SourceTextBox::SetText(const QString& text) {
  const QString storable = Storable(text);
  const bool wasEmpty = document()->isEmpty();
  setPlainText(ToDocument(storable));
  // Setting an empty text into an empty box changes nothing in the document,
  // but it is a change of the text all the same.
  if (wasEmpty && storable.isEmpty() && onChange) onChange();
}

int SourceTextBox::SelStart() const {
  return textCursor().selectionStart();
}

int SourceTextBox::SelLength() const {
  const QTextCursor cursor = textCursor();
  return cursor.selectionEnd() - cursor.selectionStart();
}

void SourceTextBox::SetSelection(int start, int length) {
  QTextCursor cursor = textCursor();
  const int size = std::max(0, document()->characterCount() - 1);
  start = std::clamp(start, 0, size);
  length = std::clamp(length, 0, size - start);
  cursor.setPosition(start);
  cursor.setPosition(start + length, QTextCursor::KeepAnchor);
  setTextCursor(cursor);
}

QString SourceTextBox::SelText() const {
  const QTextCursor cursor = textCursor();
  if (!cursor.hasSelection()) return QString();
  return Text().mid(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart());
}

void SourceTextBox::SetSelText(const QString& text) {
  QTextCursor cursor = textCursor();
  cursor.beginEditBlock();
  cursor.insertText(ToDocument(Storable(text)));
  cursor.endEditBlock();
  setTextCursor(cursor);
}

void SourceTextBox::SetFont(const QFont& font) {
  settingFont_ = true;
  setFont(font);
  settingFont_ = false;
}

void SourceTextBox::SetInputFilter(std::function<QString(const QString&)> filter) {
  filter_ = std::move(filter);
}

QString SourceTextBox::Storable(const QString& text) const {
  return filter_ ? filter_(text) : WithLineFeeds(text);
}

void SourceTextBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    // The widget would insert U+2028 for Shift+Enter.
    if (!isReadOnly()) {
      SetSelText(QStringLiteral("\n"));
      ensureCursorVisible();
      event->accept();
      return;
    }
  }
  const QString typed = event->text();
  if (!isReadOnly() && !typed.isEmpty() && typed[0].isPrint() &&
      (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0) {
    const QString storable = Storable(typed);
    if (storable != typed) {
      SetSelText(storable);
      ensureCursorVisible();
      event->accept();
      return;
    }
  }
  QPlainTextEdit::keyPressEvent(event);
}

void SourceTextBox::mousePressEvent(QMouseEvent* event) {
  QPlainTextEdit::mousePressEvent(event);
  if (onClick) onClick();
}

void SourceTextBox::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  if (onClick) onClick();
}

bool SourceTextBox::canInsertFromMimeData(const QMimeData* source) const {
  return source->hasText();
}

void SourceTextBox::insertFromMimeData(const QMimeData* source) {
  if (source->hasText()) SetSelText(source->text());
  ensureCursorVisible();
}

QMimeData* SourceTextBox::createMimeDataFromSelection() const {
  auto* data = new QMimeData;
  data->setText(SelText());
  return data;
}

}  // namespace platform
