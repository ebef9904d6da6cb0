// The LCD family's shared window boxes: controls and drawing.
#include "simcore/lcd/lcd_boxes.h"

#include <platform/dialog_items.h>
#include <platform/window.h>
#include <simcore/periphery_window.h>

#include <cstdio>
#include <string>

namespace simcore::lcd {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::IDC_STATIC;

namespace {

std::string Format(const char* format, unsigned a, unsigned b = 0) {
  char text[32];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

void AddLed(std::vector<ControlTemplate>& c, int id, int labelId, const char* label, int x, int y,
            int width) {
  c.push_back({id, ControlKind::Place, "", x, y, 8, 8});
  c.push_back({labelId, ControlKind::Text, label, x + 11, y, width, 8});
}

constexpr const char* kTimerInputs[8] = {"PA0", "16KHz", "2048Hz", "512Hz", "128Hz", "8Hz", "1Hz", "PA3"};
constexpr const char* kWidths[4] = {"10", "8", "6", "4"};
constexpr int kWidthMasks[4] = {1023, 255, 63, 15};

}  // namespace

void AddTimerBox(std::vector<ControlTemplate>& c, int groupId, int x, int y, int width, int height,
                 TimerLabels labels) {
  using namespace timerBox;
  c.push_back({groupId, ControlKind::GroupBox, "Timer", x, y, width, height});
  AddLed(c, kEnabledLed, kEnabledLabel, "Enabled", x + 4, y + 11, 44);
  AddLed(c, kEndLed, kEndLabel, labels.end, x + 4, y + 24, 44);
  AddLed(c, kCompareLed, kCompareLabel, labels.compare, x + 4, y + 37, 44);
  AddLed(c, kPwmLed, kPwmLabel, "PWM", x + 4, y + 50, 44);
  AddLed(c, kCompareOnLed, kCompareOnLabel, "EnComp", x + 4, y + 63, 44);
  const struct {
    const char* label;
    int id;
    const char* text;
  } values[5] = {{"Input", kInput, "PA0"}, {"Step", kStep, "+1"}, {"Start.Val", kCount, "0"},
                 {"Comp.Val", kCompareValue, "0"}, {"Comp.bits", kWidth, "0"}};
  for (int i = 0; i < 5; ++i) {
    c.push_back({IDC_STATIC, ControlKind::Text, values[i].label, x + 57, y + 11 + 13 * i, 38, 8});
    c.push_back({values[i].id, ControlKind::Text, values[i].text, x + 97, y + 11 + 13 * i, 24, 8});
  }
}

void DrawTimerBox(platform::WindowHandle d, intptr_t parts, const TimerView& v) {
  using namespace timerBox;
  const int mask = kWidthMasks[v.widthCode & 3];
  if (parts & timerPart::kEnabled) ShowLed(d, kEnabledLed, v.running);
  if (parts & timerPart::kIrqEnd) ShowLed(d, kEndLed, v.endMask);
  if (parts & timerPart::kIrqCompare) ShowLed(d, kCompareLed, v.compareMask);
  if (parts & timerPart::kPwm) ShowLed(d, kPwmLed, v.pwm);
  if (parts & timerPart::kCompareOn) ShowLed(d, kCompareOnLed, v.compareOn);
  if (parts & timerPart::kInput) platform::SetDlgItemText(d, kInput, kTimerInputs[v.input & 7]);
  if (parts & timerPart::kStep) platform::SetDlgItemText(d, kStep, v.up ? "+1" : "-1");
  if (parts & timerPart::kCompareValue)
    platform::SetDlgItemText(d, kCompareValue, Format("%X", v.fullCompare ? v.value : v.value & mask));
  if (parts & timerPart::kWidth) platform::SetDlgItemText(d, kWidth, kWidths[v.widthCode & 3]);
  if (parts & timerPart::kCount) platform::SetDlgItemText(d, kCount, Format("%X", v.count & mask));
}

void AddPrescalerBox(std::vector<ControlTemplate>& c, int groupId, int x, int y, int width, int height) {
  using namespace prescalerBox;
  c.push_back({groupId, ControlKind::GroupBox, "Prescaler", x, y, width, height});
  AddLed(c, kOneHzLed, IDC_STATIC, "1Hz IRQ", x + 4, y + 13, width - 17);
  AddLed(c, kRateLed, kRateText, "32Hz IRQ", x + 4, y + 27, width - 17);
  AddLed(c, kBlinkLed, IDC_STATIC, "Blink IRQ", x + 4, y + 41, width - 17);
}

void DrawPrescalerBox(platform::WindowHandle d, intptr_t parts, int masks, bool fast32Hz) {
  using namespace prescalerBox;
  if (parts & prescalerPart::kLabel) platform::SetDlgItemText(d, kRateText, fast32Hz ? "32 Hz IRQ" : "8 Hz IRQ");
  if (parts & prescalerPart::kLeds) {
    ShowLed(d, kBlinkLed, masks & 2);
    ShowLed(d, kRateLed, masks & 4);
    ShowLed(d, kOneHzLed, masks & 8);
  }
}

void AddSupplySlider(std::vector<ControlTemplate>& c, int x, int y, int height, int textWidth) {
  c.push_back({supplyBox::kBar, ControlKind::VScroll, "", x, y, 10, height});
  c.push_back({supplyBox::kText, ControlKind::Text, "0.00V", x + 5 - textWidth / 2, y + height + 2, textWidth,
               8, platform::kAlignCenter});
}

void DrawSupplyText(platform::WindowHandle d, int supply) {
  platform::SetDlgItemText(d, supplyBox::kText, Format("%u.%02uV", supply / 100, supply % 100));
}

void InitSupplySlider(platform::WindowHandle d, int maximum, int supply) {
  const platform::WindowHandle bar = platform::GetDlgItem(d, supplyBox::kBar);
  platform::SetScrollRange(bar, 0, maximum);
  platform::SetScrollPos(bar, maximum - supply);
  DrawSupplyText(d, supply);
}

std::optional<int> ScrollSupply(platform::WindowHandle d, int maximum, uint16_t code, int thumb) {
  const platform::WindowHandle bar = platform::GetDlgItem(d, supplyBox::kBar);
  const std::optional<int> next = ScrollTarget({0, maximum, 1, 10}, platform::GetScrollPos(bar), code, thumb);
  if (!next) return std::nullopt;
  platform::SetScrollPos(bar, *next);
  DrawSupplyText(d, maximum - *next);
  return maximum - *next;
}

void AddMillisecondBox(std::vector<ControlTemplate>& c, int groupId, int x, int y, int width, int height) {
  using namespace millisecondBox;
  c.push_back({groupId, ControlKind::GroupBox, "Millisecond", x, y, width, height});
  AddLed(c, kEnabledLed, IDC_STATIC, "Enabled", x + 4, y + 11, 40);
  AddLed(c, kCountLed, IDC_STATIC, "Count", x + 4, y + 24, 24);
  c.push_back({kDigits, ControlKind::Text, "000", x + 40, y + 24, 20, 8});
  AddLed(c, kStartLed, IDC_STATIC, "Start", x + 4, y + 37, 40);
  AddLed(c, kStopLed, IDC_STATIC, "Stop", x + 4, y + 50, 40);
  AddLed(c, kIrqLed, kInterval, "0.1 Sec IRQ", x + 4, y + 63, width - 17);
}

void DrawMillisecondBox(platform::WindowHandle d, intptr_t parts, const MillisecondView& v) {
  using namespace millisecondBox;
  // The edge that starts: rising unless the status says falling. With
  // opposite edges the stop edge is the other one; with one toggling edge
  // both LEDs show it.
  const bool startRising = (v.status & 4) == 0;
  const bool stopRising = (v.control & 2) ? !startRising : startRising;
  if (parts & millisecondPart::kDigits) {
    const char digits[4] = {"0123456789ABCDEF"[v.digits[2] & 15], "0123456789ABCDEF"[v.digits[1] & 15],
                            "0123456789ABCDEF"[v.digits[0] & 15], 0};
    platform::SetDlgItemText(d, kDigits, digits);
  }
  if (parts & millisecondPart::kStart) ShowLed(d, kStartLed, startRising);
  if (parts & millisecondPart::kStop) ShowLed(d, kStopLed, stopRising);
  if (parts & millisecondPart::kIrq) ShowLed(d, kIrqLed, v.irqMask);
  if (parts & millisecondPart::kInterval)
    platform::SetDlgItemText(d, kInterval, (v.status & 2) ? "1Sec IRQ" : "0.1Sec IRQ");
  if (parts & millisecondPart::kCount) ShowLed(d, kCountLed, v.overflow);
  if (parts & millisecondPart::kEnabled) ShowLed(d, kEnabledLed, v.running);
}

}  // namespace simcore::lcd
