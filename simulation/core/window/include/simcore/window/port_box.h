#pragma once
// The box of a 4-pin port in a dialog template: a group box with, per pin, a
// label, an LED place, the pin button (none when the group has no buttons)
// and the edge marker place (when the group has markers).
#include <platform/dialog.h>

#include <vector>

#include "simcore/window/pin_group.h"

namespace simcore {

constexpr int kPortBoxWidth = 62;
// The height of a port box: markers need a row more.
constexpr int PortBoxHeight(const PinGroup& g) {
  return g.firstMarker != 0 ? 56 : 48;
}

// `firstLabel`: id of the label of pin 0 (labels numbered in order), or 0 for
// unaddressed labels.
inline void AddPortBox(std::vector<platform::ControlTemplate>& c, const char* caption,
                       const PinGroup& g, int x, int y, int firstLabel = 0) {
  static constexpr const char* kPinNames[4] = {"0", "1", "2", "3"};
  using platform::ControlKind;
  c.push_back({platform::IDC_STATIC, ControlKind::GroupBox, caption, x, y, kPortBoxWidth,
               PortBoxHeight(g)});
  for (int i = 0; i < g.pins && i < 4; ++i) {
    const int px = x + 5 + i * 14;
    const int label = firstLabel != 0 ? firstLabel + i : platform::IDC_STATIC;
    c.push_back(
        {label, ControlKind::Text, kPinNames[i], px - 2, y + 10, 14, 8, platform::kAlignCenter});
    c.push_back({g.firstLed + i, ControlKind::Place, "", px, y + 19, 10, 10});
    if (g.firstButton != 0)
      c.push_back({g.firstButton + i, ControlKind::PushButton, "L", px - 1, y + 31, 12, 12});
    if (g.firstMarker != 0)
      c.push_back({g.firstMarker + i, ControlKind::Place, "", px, y + 45, 10, 6});
  }
}

// An indicator LED place with its label to the right.
inline void AddLed(std::vector<platform::ControlTemplate>& c, int id, int labelId,
                   const char* label, int x, int y, int labelWidth = 48) {
  c.push_back({id, platform::ControlKind::Place, "", x, y, 8, 8});
  c.push_back({labelId, platform::ControlKind::Text, label, x + 11, y, labelWidth, 8});
}

}  // namespace simcore
