#pragma once
// The list controls of the forms, where Qt's own behave differently:
// - ComboBox, an editable combo box whose text is its own: adding or removing
//   entries never changes it, and the list grows only through AddItem (Enter
//   inserts nothing, nothing is completed as the user types).
// - ListBox, a list box whose Click runs for every user choice and every
//   ListIndex set by the program, also when the entry chosen is the one
//   already selected; filling and clearing it raise nothing. Its own search by
//   typed letters is off: a form that wants a type-ahead builds it on KeyPress.
#include <QComboBox>
#include <QListWidget>
#include <functional>

namespace platform {

class ComboBox : public QComboBox {
 public:
  explicit ComboBox(const QString& name, QWidget* parent = nullptr);

  QString Text() const { return currentText(); }
  void SetText(const QString& text);
  // Inserts at `index` (-1 or past the end appends); the text stays.
  void AddItem(const QString& text, int index = -1);
  // Removes one entry; the text stays. An index outside the list does nothing.
  void RemoveItem(int index);
  int ListCount() const { return count(); }
  QString List(int index) const { return itemText(index); }
  // The selected entry, -1 for none. Selecting one shows its text; -1 keeps
  // the text.
  int ListIndex() const { return currentIndex(); }
  void SetListIndex(int index);

  // Change: the user edited the text. LostFocus: the box lost the focus.
  std::function<void()> onChange, onLostFocus;

 protected:
  void focusOutEvent(QFocusEvent* event) override;
};

class ListBox : public QListWidget {
 public:
  explicit ListBox(const QString& name, QWidget* parent = nullptr);

  void AddItem(const QString& text);
  // Empties the list; no Click.
  void Clear();
  int ListCount() const { return count(); }
  QString List(int index) const;
  int ListIndex() const { return currentRow(); }
  // Selects an entry (-1 none) and raises Click for an entry.
  void SetListIndex(int index);
  // The selected entry's text, "" when none is selected.
  QString Text() const;

  std::function<void()> onClick;
  // KeyDown with the key code and shift mask (setting the code to 0 consumes
  // the key); KeyPress with the character code: printable characters, 8 for
  // Backspace and 27 for Escape.
  std::function<void(int& keyCode, int shift)> onKeyDown;
  std::function<void(int charCode)> onKeyPress;

  void keyboardSearch(const QString& search) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void RaiseClick();
};

}  // namespace platform
