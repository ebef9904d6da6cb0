#pragma once
// The small controls the forms rely on where Qt's own widgets behave
// differently. Everything else is a Qt widget used directly:
// - Text boxes are QLineEdit or QPlainTextEdit (selection helpers below).
// - Check and option buttons are QCheckBox and QRadioButton with a value of
//   0/1 (ButtonValue). A form takes their Click from `clicked`, which a
//   programmatic change never emits, so display refreshes are silent.
// - A text box's Change is `textEdited` for the same reason.
// - Scroll bars are QScrollBar: Min, Max, Value and LargeChange are minimum,
//   maximum, value and pageStep, and Change is `valueChanged`, which fires on
//   user and programmatic changes alike, including clamping by a new range.
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <functional>
#include <string>

class QAbstractButton;
class QLineEdit;
class QPlainTextEdit;

namespace platform {

// A timer with Interval (ms), Enabled and the Timer event. Enabling restarts
// the interval; an interval of 0 keeps it off whatever Enabled says.
class Timer : public QObject {
 public:
  explicit Timer(QObject* parent = nullptr);

  int Interval() const { return interval_; }
  void SetInterval(int milliseconds);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // True while ticks are due (enabled with a non-zero interval).
  bool Running() const { return timer_.isActive(); }

  std::function<void()> onTimer;
  // One tick, as the interval's end gives it (tests call it directly).
  void Tick();

 private:
  void Rearm();
  QTimer timer_;
  int interval_ = 0;
  bool enabled_ = true;
};

// Key codes of the forms' KeyDown events and the shift mask (1 Shift, 2 Ctrl,
// 4 Alt). Keys without a code give 0.
enum KeyCodes : int {
  vbKeyBack = 8,
  vbKeyTab = 9,
  vbKeyReturn = 13,
  vbKeyShift = 16,
  vbKeyControl = 17,
  vbKeyPause = 19,
  vbKeyEscape = 27,
  vbKeySpace = 32,
  vbKeyPageUp = 33,
  vbKeyPageDown = 34,
  vbKeyEnd = 35,
  vbKeyHome = 36,
  vbKeyLeft = 37,
  vbKeyUp = 38,
  vbKeyRight = 39,
  vbKeyDown = 40,
  vbKeyInsert = 45,
  vbKeyDelete = 46,
  vbKey0 = 48,
  vbKeyA = 65,
  vbKeyF1 = 112,
};
constexpr int kShiftMask = 1, kCtrlMask = 2, kAltMask = 4;
int KeyCodeOf(int qtKey);
int ShiftMaskOf(Qt::KeyboardModifiers modifiers);

// Colours as long values: red + green * 256 + blue * 65536.
QColor ColorFromLong(long value);
long LongFromColor(const QColor& color);

// A check or option button's value, 0 or 1; setting it fires no Click.
int ButtonValue(const QAbstractButton& button);
void SetButtonValue(QAbstractButton& button, int value);

// Text-box selection as 0-based character positions. In multi-line text a
// line break counts as two characters (CR LF), as the text the forms read.
int SelStart(const QLineEdit& box);
int SelLength(const QLineEdit& box);
void SetSelection(QLineEdit& box, int start, int length);
int SelStart(const QPlainTextEdit& box);
int SelLength(const QPlainTextEdit& box);
void SetSelection(QPlainTextEdit& box, int start, int length);
// Multi-line text whose rows end in CR LF (or LF), shown as lines.
void SetCrLfText(QPlainTextEdit& box, const QString& text);

// A 3-D panel: Caption, ForeColor, and a flood display (type 0 none, 1
// filling from the left; percentage 0-100, clamped).
class Panel3D : public QFrame {
 public:
  explicit Panel3D(const QString& name, QWidget* parent = nullptr);

  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  long ForeColor() const { return foreColor_; }
  void SetForeColor(long color);
  int FloodType() const { return floodType_; }
  void SetFloodType(int type);
  int FloodPercent() const { return floodPercent_; }
  void SetFloodPercent(int percent);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString caption_;
  long foreColor_ = 0;
  int floodType_ = 0;
  int floodPercent_ = 0;
};

// A hidden picture holder of a form: a picture drawn with QPainter, named as
// the form names it, whose Picture image buttons copy.
class PictureHolder : public QLabel {
 public:
  PictureHolder(const QString& name, const QPixmap& picture, QWidget* parent);
  const QPixmap& Picture() const { return picture_; }

 private:
  QPixmap picture_;
};

// An image whose picture is copied from a picture holder. It remembers the
// holder's name, so a test can tell which picture it shows.
class ImageButton : public QLabel {
 public:
  explicit ImageButton(const QString& name, QWidget* parent = nullptr);

  void SetPicture(const PictureHolder& holder);
  const QString& pictureName() const { return pictureName_; }

  // button 1 left, 2 right, 4 middle; x and y in twips.
  std::function<void(int button, int shift, int x, int y)> onMouseDown, onMouseUp;
  std::function<void()> onClick;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QString pictureName_;
  bool pressed_ = false;
};

int MouseButtonOf(Qt::MouseButton button);

}  // namespace platform
