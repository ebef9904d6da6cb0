#include "platform/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace platform {

int TwipsPerPixel() {
  double dpi = 96.0;
  if (QScreen* screen = QGuiApplication::primaryScreen()) dpi = screen->logicalDotsPerInch();
  if (dpi <= 0) dpi = 96.0;
  int perPixel = static_cast<int>(std::lround(1440.0 / dpi));
  return perPixel > 0 ? perPixel : 1;
}

int TwipsToPixels(int twips) {
  const int perPixel = TwipsPerPixel();
  // Round to the nearest pixel, halves away from zero.
  return twips >= 0 ? (twips + perPixel / 2) / perPixel : -((-twips + perPixel / 2) / perPixel);
}

int PixelsToTwips(int pixels) {
  return pixels * TwipsPerPixel();
}

WindowPlace WindowPlaceOf(const TwipsRect& rect) {
  return {QPoint(TwipsToPixels(rect.left), TwipsToPixels(rect.top)),
          QSize(std::max(0, TwipsToPixels(rect.width)), std::max(0, TwipsToPixels(rect.height)))};
}

TwipsRect WindowTwips(const QRect& inner, const QMargins& decoration) {
  return {PixelsToTwips(inner.x() - decoration.left()), PixelsToTwips(inner.y() - decoration.top()),
          PixelsToTwips(inner.width()), PixelsToTwips(inner.height())};
}

TwipsRect WidgetTwips(const QWidget& widget) {
  const QRect inner = widget.geometry();
  if (!widget.isWindow()) return WindowTwips(inner, QMargins());
  const QRect frame = widget.frameGeometry();
  return WindowTwips(inner,
                     QMargins(inner.left() - frame.left(), inner.top() - frame.top(),
                              frame.right() - inner.right(), frame.bottom() - inner.bottom()));
}

void SetWidgetTwips(QWidget& widget, const TwipsRect& rect) {
  const WindowPlace place = WindowPlaceOf(rect);
  if (!widget.isWindow()) {
    widget.setGeometry(QRect(place.frameTopLeft, place.innerSize));
    return;
  }
  // move() places a window's frame: the window manager's own decoration,
  // once it has one, goes around the inner size.
  widget.resize(place.innerSize);
  widget.move(place.frameTopLeft);
}

}  // namespace platform
