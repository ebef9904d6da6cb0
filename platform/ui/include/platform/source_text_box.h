#pragma once
// The editor's text control: plain text, no word wrap, tabs kept, no length
// limit. Its text model is the one the editors' algorithms use:
// - Text() is the document's raw text with one LF per line end; SelStart and
//   SelLength are 0-based offsets into it, and line n (1-based) is block n-1.
// - It never goes through toPlainText(), which turns a no-break space into a
//   blank: text, selection and clipboard all keep every character.
// - Everything that enters the text (typing, paste, drop, SetSelText) passes
//   the input filter first, so the text shown is the text that will be
//   written. Shift+Enter inserts an ordinary line end. U+2029, U+FDD0 and
//   U+FDD1, which the document would take as breaks, are held as the
//   noncharacters U+FDED..U+FDEF and given back as themselves.
// - onChange fires on every change of the content, typed or set by code (a
//   font change is not one); onClick on a mouse press and on focus-in.
#include <QFont>
#include <QPlainTextEdit>
#include <functional>

namespace platform {

class SourceTextBox : public QPlainTextEdit {
 public:
  explicit SourceTextBox(const QString& name, QWidget* parent = nullptr);

  QString Text() const;
  void SetText(const QString& text);
  int SelStart() const;
  int SelLength() const;
  // Sets the selection, clamped to the text; a length of 0 puts the caret.
  void SetSelection(int start, int length);
  QString SelText() const;
  // Replaces the selection as one undoable step.
  void SetSelText(const QString& text);
  void ScrollToSelection() { ensureCursorVisible(); }

  QFont Font() const { return font(); }
  void SetFont(const QFont& font);

  // Turns text that enters the box into storable text. The default turns
  // CR LF and a lone CR into LF.
  void SetInputFilter(std::function<QString(const QString&)> filter);
  QString Storable(const QString& text) const;

  std::function<void()> onChange, onClick;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;
  QMimeData* createMimeDataFromSelection() const override;

 private:
  std::function<QString(const QString&)> filter_;
  bool settingFont_ = false;
};

// CR LF and lone CR as LF; every other character is kept (U+2028 and
// U+2029 too: they are no line ends of a file).
QString WithLineFeeds(const QString& text);

}  // namespace platform
