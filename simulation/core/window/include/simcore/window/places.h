#pragma once
// The LEDs and markers of a periphery window: picture places of the dialog,
// set from the model's state when a box is drawn.
#include <platform/dialog_items.h>

namespace simcore {

// A pin LED: red when the level is high.
inline void ShowPinLed(platform::WindowHandle dialog, int placeId, bool high) {
  platform::SetDlgItemPicture(dialog, placeId, high ? platform::Picture::PinHigh : platform::Picture::PinLow);
}

// An indicator LED (enables, running flags): green when on.
inline void ShowLed(platform::WindowHandle dialog, int placeId, bool on) {
  platform::SetDlgItemPicture(dialog, placeId,
                              on ? platform::Picture::IndicatorOn : platform::Picture::IndicatorOff);
}

}  // namespace simcore
