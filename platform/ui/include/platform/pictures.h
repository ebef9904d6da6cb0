#pragma once
// The small pictures of dialog picture places, drawn with QPainter: pin
// LEDs, indicator LEDs, interrupt edge markers and the melody images.
class QPainter;
class QRect;

namespace platform {

enum class Picture {
  None,           // nothing: the dialog's background
  PinLow,         // pin level 0: dark LED
  PinHigh,        // pin level 1: red LED
  IndicatorOff,   // grey LED
  IndicatorOn,    // green LED
  MarkerNone,     // no interrupt on the pin
  MarkerFalling,  // interrupt on the falling edge
  MarkerRising,   // interrupt on the rising edge
  MelodyOff,
  Melody1,
  Melody2,
  Melody3,
};

// Draws `picture` stretched into `area`.
void DrawPicture(QPainter& painter, const QRect& area, Picture picture);

}  // namespace platform
