#pragma once
// Twips and pixels: the forms keep positions and sizes in twips (1/1440 inch)
// and convert them here only, with the primary screen's logical dpi. At 96
// dpi a pixel is 15 twips. Sizes that are stored in twips stay in twips in the
// control and are converted when applied, so a save and load never drifts.
class QWidget;

namespace platform {

// Twips per pixel, rounded to the nearest whole value (15 at 96 dpi).
int TwipsPerPixel();
int TwipsToPixels(int twips);
int PixelsToTwips(int pixels);

// A widget's place in its parent (or on the screen for a window), in twips.
struct TwipsRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const TwipsRect&) const = default;
};
TwipsRect WidgetTwips(const QWidget& widget);
void SetWidgetTwips(QWidget& widget, const TwipsRect& rect);

}  // namespace platform
