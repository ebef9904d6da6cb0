#include "platform/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
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

TwipsRect WidgetTwips(const QWidget& widget) {
  const QRect frame = widget.isWindow() ? widget.frameGeometry() : widget.geometry();
  return {PixelsToTwips(frame.x()), PixelsToTwips(frame.y()), PixelsToTwips(frame.width()),
          PixelsToTwips(frame.height())};
}

void SetWidgetTwips(QWidget& widget, const TwipsRect& rect) {
  const int width = TwipsToPixels(rect.width), height = TwipsToPixels(rect.height);
  const int left = TwipsToPixels(rect.left), top = TwipsToPixels(rect.top);
  if (widget.isWindow()) {
    // Outer geometry: the frame's size includes the decoration.
    const QRect frame = widget.frameGeometry(), inner = widget.geometry();
    const int extraW = frame.width() - inner.width(), extraH = frame.height() - inner.height();
    widget.resize(std::max(0, width - extraW), std::max(0, height - extraH));
    widget.move(left, top);
  } else {
    widget.setGeometry(left, top, width, height);
  }
}

}  // namespace platform
