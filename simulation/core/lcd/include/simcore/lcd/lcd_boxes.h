#pragma once
// The boxes the LCD family's windows share: the timer, the prescaler
// requests, the supply slider and the millisecond counter. Each is its
// controls (added to a chip's template at the box's place) and its drawing
// from a view of the model, so every chip shows them alike.
#include <platform/dialog.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace simcore::lcd {

// ---- Timer box: its controls, and the parts of its redraw item by bit.
namespace timerBox {
constexpr int kEnabledLed = 1119, kEndLed = 1120, kCompareLed = 1121, kPwmLed = 1122, kCompareOnLed = 1123;
constexpr int kEnabledLabel = 1065, kEndLabel = 1063, kCompareLabel = 1064, kPwmLabel = 1069,
              kCompareOnLabel = 1070;
constexpr int kInput = 1124, kStep = 1125, kCompareValue = 1126, kWidth = 1127, kCount = 1130;
}  // namespace timerBox
namespace timerPart {
constexpr int kEnabled = 1, kIrqEnd = 2, kIrqCompare = 4, kPwm = 8, kCompareOn = 16, kInput = 32, kStep = 64,
              kCompareValue = 128, kWidth = 256, kCount = 512, kAll = 1023;
}

struct TimerView {
  bool running, endMask, compareMask, pwm, compareOn;
  int input;        // clock 0..7
  bool up;
  int value;        // start and compare value
  int widthCode;    // 0..3: 10, 8, 6, 4 bits
  int count;
  bool fullCompare; // the compare value is shown whole
};
// The labels of the end and compare LEDs differ between windows.
struct TimerLabels {
  const char* end;
  const char* compare;
};
void AddTimerBox(std::vector<platform::ControlTemplate>& c, int groupId, int x, int y, int width,
                 int height, TimerLabels labels);
void DrawTimerBox(platform::WindowHandle dialog, intptr_t parts, const TimerView& v);

// ---- Prescaler box: the three request masks and the 8/32 Hz text.
namespace prescalerBox {
constexpr int kBlinkLed = 1106, kRateLed = 1107, kOneHzLed = 1108, kRateText = 1109;
}
namespace prescalerPart {
constexpr int kLabel = 1, kLeds = 2, kAll = 3;
}
// `masks`: bit 1 blink, bit 2 8/32 Hz, bit 3 1 Hz.
void AddPrescalerBox(std::vector<platform::ControlTemplate>& c, int groupId, int x, int y, int width,
                     int height);
void DrawPrescalerBox(platform::WindowHandle dialog, intptr_t parts, int masks, bool fast32Hz);

// ---- Supply slider: position p is maximum - p hundredths of a volt.
namespace supplyBox {
constexpr int kBar = 1044, kText = 1045;
}
void AddSupplySlider(std::vector<platform::ControlTemplate>& c, int x, int y, int height, int textWidth);
// Range 0..maximum, the bar at the top, the text of `supply`.
void InitSupplySlider(platform::WindowHandle dialog, int maximum, int supply);
void DrawSupplyText(platform::WindowHandle dialog, int supply);
// A scroll code on the bar: the new supply, or nothing when the code cannot
// move it (bar and text then stay).
std::optional<int> ScrollSupply(platform::WindowHandle dialog, int maximum, uint16_t code, int thumb);

// ---- Millisecond box (redraw item 8).
namespace millisecondBox {
constexpr int kDigits = 1079, kInterval = 1085;
constexpr int kCountLed = 1110, kStartLed = 1111, kStopLed = 1112, kIrqLed = 1113, kEnabledLed = 1114;
}
namespace millisecondPart {
constexpr int kDigits = 1, kStart = 2, kStop = 4, kIrq = 8, kInterval = 16, kCount = 32, kEnabled = 64,
              kAll = 127;
}
struct MillisecondView {
  int digits[3];  // units, tens, hundreds
  bool overflow, running, irqMask;
  int control;    // bit 1 start/stop by opposite edges
  int status;     // bit 1 every second, bit 2 falling edge starts
};
void AddMillisecondBox(std::vector<platform::ControlTemplate>& c, int groupId, int x, int y, int width,
                       int height);
void DrawMillisecondBox(platform::WindowHandle dialog, intptr_t parts, const MillisecondView& v);

}  // namespace simcore::lcd
