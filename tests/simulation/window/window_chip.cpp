// The test chip's periphery window: its template, boxes and controls.
#include <platform/dialog_items.h>

#include <cstdio>

#include "window_chip.h"

namespace winchip {

using platform::ControlKind;

const platform::DialogTemplate& WindowChip::WindowTemplate() {
  static const platform::DialogTemplate t{
      "Curpos", 200, 90, nullptr, 8,
      {
          {kPortGroup, ControlKind::GroupBox, "Port", 5, 1, 70, 60},
          {1000, ControlKind::Text, "0", 12, 10, 10, 8},
          {1001, ControlKind::Text, "1", 27, 10, 10, 8},
          {1002, ControlKind::Text, "2", 42, 10, 10, 8},
          {1003, ControlKind::Text, "3", 57, 10, 10, 8},
          {kFirstLed + 0, ControlKind::Place, "", 12, 20, 8, 8},
          {kFirstLed + 1, ControlKind::Place, "", 27, 20, 8, 8},
          {kFirstLed + 2, ControlKind::Place, "", 42, 20, 8, 8},
          {kFirstLed + 3, ControlKind::Place, "", 57, 20, 8, 8},
          {kFirstMarker + 0, ControlKind::Place, "", 12, 30, 8, 5},
          {kFirstMarker + 1, ControlKind::Place, "", 27, 30, 8, 5},
          {kFirstMarker + 2, ControlKind::Place, "", 42, 30, 8, 5},
          {kFirstMarker + 3, ControlKind::Place, "", 57, 30, 8, 5},
          {kFirstButton + 0, ControlKind::PushButton, "L", 10, 40, 12, 12},
          {kFirstButton + 1, ControlKind::PushButton, "L", 25, 40, 12, 12},
          {kFirstButton + 2, ControlKind::PushButton, "L", 40, 40, 12, 12},
          {kFirstButton + 3, ControlKind::PushButton, "L", 55, 40, 12, 12},
          {1048, ControlKind::GroupBox, "Timer", 80, 1, 60, 40},
          {kEnableLed, ControlKind::Place, "", 85, 12, 8, 8},
          {1065, ControlKind::Text, "Enabled", 96, 12, 40, 8},
          {kCounterText, ControlKind::Text, "0", 85, 25, 50, 8},
          {1046, ControlKind::GroupBox, "Supply", 145, 1, 50, 80},
          {kSupplyBar, ControlKind::VScroll, "", 150, 10, 10, 60},
          {kSupplyText, ControlKind::Text, "3.60V", 162, 35, 30, 8},
      }};
  return t;
}

void WindowChip::Window_Init(platform::WindowHandle dialog) {
  platform::WindowHandle bar = platform::GetDlgItem(dialog, kSupplyBar);
  platform::SetScrollRange(bar, 0, kSupplyMax);
  platform::SetScrollPos(bar, kSupplyMax - supply_);
}

void WindowChip::Window_Redraw(int item, intptr_t parts) {
  platform::WindowHandle d = dialog();
  if (item == kItemPort) {
    ++portDraws_;
    simcore::DrawPinGroup(d, kPins, port_);
  } else if (item == kItemStatus) {
    ++statusDraws_;
    if (parts & kPartEnableLed) simcore::ShowLed(d, kEnableLed, (enable_ & 8) != 0);
    if (parts & kPartCounter) platform::SetDlgItemText(d, kCounterText, std::to_string(ticks_));
  }
}

void WindowChip::Window_RedrawAll() {
  simcore::DrawPinGroup(dialog(), kPins, port_, true);
  ++portDraws_;
  Window_Redraw(kItemStatus, ~intptr_t{0});
}

bool WindowChip::Window_Command(int id) {
  return clickPin(kPins, port_, id, [this] { SamplePort(); });
}

bool WindowChip::Window_Scroll(int barId, uint16_t code, int thumb) {
  if (barId != kSupplyBar) return false;
  platform::WindowHandle bar = platform::GetDlgItem(dialog(), kSupplyBar);
  const auto next = simcore::ScrollTarget({0, kSupplyMax, 1, 10}, platform::GetScrollPos(bar), code, thumb);
  if (!next) return true;
  platform::SetScrollPos(bar, *next);
  supply_ = kSupplyMax - *next;
  char text[16];
  std::snprintf(text, sizeof text, "%u.%02uV", static_cast<unsigned>(supply_ / 100),
                static_cast<unsigned>(supply_ % 100));
  platform::SetDlgItemText(dialog(), kSupplyText, text);
  return true;
}

}  // namespace winchip
