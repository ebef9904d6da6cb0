#pragma once
// Twips and pixels: the forms keep positions and sizes in twips (1/1440 inch)
// and convert them here only, with the primary screen's logical dpi. At 96
// dpi a pixel is 15 twips. Sizes that are stored in twips stay in twips in the
// control and are converted when applied, so a save and load never drifts.
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace platform {

// Twips per pixel, rounded to the nearest whole value (15 at 96 dpi).
int TwipsPerPixel();
int TwipsToPixels(int twips);
int PixelsToTwips(int pixels);

// A widget's place in its parent (or on the screen for a window), in twips.
// A child widget's is its geometry. A window's is the top-left corner of its
// frame and the size inside its decoration: a window manager adds the
// decoration only after the window is shown, so a rectangle that counted it
// would be applied without it and stored with it, and grow on every round.
struct TwipsRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const TwipsRect&) const = default;
};
TwipsRect WidgetTwips(const QWidget& widget);
void SetWidgetTwips(QWidget& widget, const TwipsRect& rect);

// The arithmetic of a window's place, free of any window. A placement asks
// for the frame's corner and the inner size; what the window then has, an
// inner rectangle inside `decoration`, gives back the same placement.
struct WindowPlace {
  QPoint frameTopLeft;  // pixels
  QSize innerSize;
};
WindowPlace WindowPlaceOf(const TwipsRect& rect);
TwipsRect WindowTwips(const QRect& inner, const QMargins& decoration);

}  // namespace platform
