#include "platform/controls.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <algorithm>

#include "platform/twips.h"

namespace platform {

Timer::Timer(QObject* parent) : QObject(parent) {
  QObject::connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
}

void Timer::SetInterval(int milliseconds) {
  interval_ = std::max(0, milliseconds);
  Rearm();
}

void Timer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Rearm();
}

void Timer::Rearm() {
  if (enabled_ && interval_ > 0) {
    timer_.start(interval_);
  } else {
    timer_.stop();
  }
}

void Timer::Tick() {
  if (onTimer) onTimer();
}

int KeyCodeOf(int key) {
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return vbKeyF1 + (key - Qt::Key_F1);
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return vbKeyA + (key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return vbKey0 + (key - Qt::Key_0);
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return vbKeyReturn;
    case Qt::Key_Escape:
      return vbKeyEscape;
    case Qt::Key_Delete:
      return vbKeyDelete;
    case Qt::Key_Home:
      return vbKeyHome;
    case Qt::Key_End:
      return vbKeyEnd;
    case Qt::Key_Pause:
      return vbKeyPause;
    case Qt::Key_Backspace:
      return vbKeyBack;
    case Qt::Key_Tab:
      return vbKeyTab;
    case Qt::Key_Space:
      return vbKeySpace;
    case Qt::Key_PageUp:
      return vbKeyPageUp;
    case Qt::Key_PageDown:
      return vbKeyPageDown;
    case Qt::Key_Insert:
      return vbKeyInsert;
    case Qt::Key_Left:
      return vbKeyLeft;
    case Qt::Key_Up:
      return vbKeyUp;
    case Qt::Key_Right:
      return vbKeyRight;
    case Qt::Key_Down:
      return vbKeyDown;
    case Qt::Key_Shift:
      return vbKeyShift;
    case Qt::Key_Control:
      return vbKeyControl;
    default:
      return 0;
  }
}

int ShiftMaskOf(Qt::KeyboardModifiers modifiers) {
  return (modifiers & Qt::ShiftModifier ? kShiftMask : 0) |
         (modifiers & Qt::ControlModifier ? kCtrlMask : 0) |
         (modifiers & Qt::AltModifier ? kAltMask : 0);
}

int MouseButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return 1;
    case Qt::RightButton:
      return 2;
    case Qt::MiddleButton:
      return 4;
    default:
      return 0;
  }
}

QColor ColorFromLong(long value) {
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

long LongFromColor(const QColor& color) {
  return color.red() + color.green() * 256L + color.blue() * 65536L;
}

int ButtonValue(const QAbstractButton& button) {
  return button.isChecked() ? 1 : 0;
}

void SetButtonValue(QAbstractButton& button, int value) {
  button.setChecked(value != 0);
}

int SelStart(const QLineEdit& box) {
  return box.hasSelectedText() ? box.selectionStart() : box.cursorPosition();
}

int SelLength(const QLineEdit& box) {
  return box.hasSelectedText() ? box.selectionLength() : 0;
}

void SetSelection(QLineEdit& box, int start, int length) {
  const int size = box.text().size();
  start = std::clamp(start, 0, size);
  length = std::clamp(length, 0, size - start);
  box.setSelection(start, length);
  if (length == 0) box.setCursorPosition(start);
}

namespace {

// Document positions count a line break as one character; the forms count two.
int ToCrLf(const QPlainTextEdit& box, int position) {
  return position + box.document()->findBlock(position).blockNumber();
}

int FromCrLf(const QPlainTextEdit& box, int position) {
  int document = 0;
  for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
    const int length = block.length() - 1;  // without the separator
    if (position <= length || !block.next().isValid()) {
      return document + std::clamp(position, 0, length);
    }
    position -= length + 2;
    document += length + 1;
    if (position < 0) return document - 1;  // inside a CR LF pair: before it
  }
  return document;
}

}  // namespace

int SelStart(const QPlainTextEdit& box) {
  return ToCrLf(box, box.textCursor().selectionStart());
}

int SelLength(const QPlainTextEdit& box) {
  const QTextCursor cursor = box.textCursor();
  return ToCrLf(box, cursor.selectionEnd()) - ToCrLf(box, cursor.selectionStart());
}

void SetSelection(QPlainTextEdit& box, int start, int length) {
  QTextCursor cursor = box.textCursor();
  const int from = FromCrLf(box, std::max(0, start));
  cursor.setPosition(from);
  cursor.setPosition(FromCrLf(box, std::max(0, start) + std::max(0, length)),
                     QTextCursor::KeepAnchor);
  box.setTextCursor(cursor);
}

void SetCrLfText(QPlainTextEdit& box, const QString& text) {
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  box.setPlainText(lines);
}

Panel3D::Panel3D(const QString& name, QWidget* parent) : QFrame(parent) {
  setObjectName(name);
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

void Panel3D::SetCaption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  update();
}

void Panel3D::SetForeColor(long color) {
  foreColor_ = color;
  update();
}

void Panel3D::SetFloodType(int type) {
  floodType_ = type;
  update();
}

void Panel3D::SetFloodPercent(int percent) {
  floodPercent_ = std::clamp(percent, 0, 100);
  update();
}

QSize Panel3D::sizeHint() const {
  const QFontMetrics metrics(font());
  return {metrics.horizontalAdvance(caption_) + 12, metrics.height() + 6};
}

void Panel3D::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  const QRect inner = contentsRect();
  if (floodType_ == 1 && floodPercent_ > 0) {
    QRect filled = inner;
    filled.setWidth(inner.width() * floodPercent_ / 100);
    painter.fillRect(filled, palette().highlight());
  }
  painter.setPen(ColorFromLong(foreColor_));
  painter.drawText(inner.adjusted(3, 0, -3, 0), Qt::AlignVCenter | Qt::AlignLeft, caption_);
}

PictureHolder::PictureHolder(const QString& name, const QPixmap& picture, QWidget* parent)
    : QLabel(parent), picture_(picture) {
  setObjectName(name);
  setPixmap(picture);
  hide();
}

ImageButton::ImageButton(const QString& name, QWidget* parent) : QLabel(parent) {
  setObjectName(name);
}

void ImageButton::SetPicture(const PictureHolder& holder) {
  pictureName_ = holder.objectName();
  setPixmap(holder.Picture());
}

void ImageButton::mousePressEvent(QMouseEvent* event) {
  if (!isEnabled()) return;
  pressed_ = true;
  const QPoint at = event->position().toPoint();
  if (onMouseDown) {
    onMouseDown(MouseButtonOf(event->button()), ShiftMaskOf(event->modifiers()),
                PixelsToTwips(at.x()), PixelsToTwips(at.y()));
  }
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event) {
  if (!isEnabled() || !pressed_) return;
  pressed_ = false;
  const QPoint at = event->position().toPoint();
  if (onMouseUp) {
    onMouseUp(MouseButtonOf(event->button()), ShiftMaskOf(event->modifiers()),
              PixelsToTwips(at.x()), PixelsToTwips(at.y()));
  }
  if (rect().contains(at) && onClick) onClick();
}

}  // namespace platform
