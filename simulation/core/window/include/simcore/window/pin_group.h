#pragma once
// A group of pin buttons with their LEDs and interrupt markers, drawn from a
// port's pin-state words (periphery/port.h).
#include <platform/dialog_items.h>

#include <array>
#include <cstdint>

#include "periphery/port.h"
#include "simcore/window/places.h"

namespace simcore {

// The text of a pin button: "NC" for a pin the chip drives, else its level.
inline const char* PinText(uint32_t word) {
  if (word & periphery::pin::kDriven) return "NC";
  return (word & periphery::pin::kLevel) ? "H" : "L";
}

// The marker pictures by marker kind (pin word bits 4-5).
using MarkerPictures = std::array<platform::Picture, 4>;
constexpr MarkerPictures kEdgeMarkers = {platform::Picture::MarkerNone, platform::Picture::MarkerFalling,
                                         platform::Picture::MarkerRising, platform::Picture::MarkerRising};

// The button texts of pins serving a function of the chip, by pin (null:
// the pin has none).
using FunctionTexts = std::array<const char*, 4>;

struct PinGroup {
  int item;                 // the redraw item of the port's box
  int firstButton;          // button id of pin 0 (the item's lParam); pins follow in order; 0: no buttons
  int firstLed = 0;         // LED place of pin 0, 0 for none
  int firstMarker = 0;      // marker place of pin 0, 0 for none
  int pins = periphery::Port::kPins;
  MarkerPictures markers = kEdgeMarkers;
  FunctionTexts functions = {};

  // The pin a button id names, or -1.
  int pinOf(int buttonId) const {
    const int p = buttonId - firstButton;
    return firstButton != 0 && p >= 0 && p < pins ? p : -1;
  }
  // The text of pin p's button: its function's while it serves one.
  const char* text(int p, uint32_t word) const {
    if ((word & periphery::pin::kFunction) != 0 && p < 4 && functions[p] != nullptr) return functions[p];
    return PinText(word);
  }
};

// Draws the group from the port: every LED and marker, and the button texts
// whose refresh is due (every text with `allTexts`). Takes the refreshes.
inline void DrawPinGroup(platform::WindowHandle dialog, const PinGroup& group, periphery::Port& port,
                         bool allTexts = false) {
  for (int p = 0; p < group.pins; ++p) {
    const uint32_t word = port.word(p);
    if (group.firstLed != 0) ShowPinLed(dialog, group.firstLed + p, (word & periphery::pin::kLevel) != 0);
    if (group.firstMarker != 0) {
      const platform::Picture marker = (word & periphery::pin::kMarker) != 0
                                           ? group.markers[(word & periphery::pin::kMarkerKind) >> 4]
                                           : platform::Picture::None;
      platform::SetDlgItemPicture(dialog, group.firstMarker + p, marker);
    }
    if ((port.takeRefresh(p) || allTexts) && group.firstButton != 0)
      platform::SetDlgItemText(dialog, group.firstButton + p, group.text(p, word));
  }
}

}  // namespace simcore
