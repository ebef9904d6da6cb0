#pragma once
// The in-place text box of the grids: a one-line editor placed over a cell,
// with the focus and key events of the forms (GotFocus, LostFocus, KeyDown
// before the box handles the key; setting the key code to 0 consumes it).
#include <QLineEdit>
#include <functional>

namespace platform {

class EditBox : public QLineEdit {
 public:
  explicit EditBox(const QString& name, QWidget* parent = nullptr);

  // Places the box in twips within its parent.
  void Place(int leftTwips, int topTwips, int widthTwips);
  // The text with all of it selected, shown and focused.
  void Open(const QString& text);

  std::function<void()> onGotFocus, onLostFocus;
  std::function<void(int& keyCode, int shift)> onKeyDown;

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace platform
