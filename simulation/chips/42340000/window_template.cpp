// The dialog "Curpos" of QV4234's periphery window, as data: port A, the two
// voltage sliders, the prescaler, the timer and the option words.
#include "qv4234.h"
#include "window.h"

namespace qv4234 {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::IDC_STATIC;
using simcore::AddLed;

namespace {

// The width of an indicator LED's label.
constexpr int kLabelWidth = 50;

void addText(std::vector<ControlTemplate>& c, const char* label, int id, const char* text, int x, int y) {
  c.push_back({IDC_STATIC, ControlKind::Text, label, x, y, 40, 8});
  c.push_back({id, ControlKind::Text, text, x + 42, y, 28, 8});
}

std::vector<ControlTemplate> controls() {
  static constexpr const char* kPinNames[kPins] = {"0", "1", "2", "3", "4", "5"};
  std::vector<ControlTemplate> c;
  // Port A.
  c.push_back({1019, ControlKind::GroupBox, "PortA", 4, 4, 92, 60});
  for (int p = 0; p < kPins; ++p) {
    const int x = 10 + p * 14;
    c.push_back({IDC_STATIC, ControlKind::Text, kPinNames[p], x - 2, 14, 14, 8, platform::kAlignCenter});
    c.push_back({kFirstPinButton + p + kPinLedOffset, ControlKind::Place, "", x, 24, 10, 10});
    c.push_back({kFirstPinButton + p, ControlKind::PushButton, "L", x - 3, 36, 16, 12});
    c.push_back({kFirstPinButton + p + kPinMarkerOffset, ControlKind::Place, "", x, 51, 10, 6});
  }
  // ADC / SVLD.
  c.push_back({1050, ControlKind::GroupBox, "ADC / SVLD", 100, 4, 84, 104});
  c.push_back({1071, ControlKind::Text, "ADC", 106, 14, 30, 8});
  c.push_back({1072, ControlKind::Text, "SVLD", 146, 14, 30, 8});
  c.push_back({kAdcSlider, ControlKind::VScroll, "", 112, 24, 10, 60});
  c.push_back({kSupplySlider, ControlKind::VScroll, "", 152, 24, 10, 60});
  c.push_back({kAdcLabel, ControlKind::Text, "0.00 V", 104, 86, 36, 8});
  c.push_back({kSupplyLabel, ControlKind::Text, "0.00 V", 144, 86, 36, 8});
  c.push_back({kModeLed, ControlKind::Place, "", 106, 96, 8, 8});
  c.push_back({kChannelLed, ControlKind::Place, "", 146, 96, 8, 8});
  // Prescaler.
  c.push_back({1048, ControlKind::GroupBox, "Prescaler", 4, 68, 92, 40});
  AddLed(c, kOneHzLed, 1112, "1 Hz IRQ", 8, 78, 60);
  AddLed(c, kPrescalerLed, kPrescalerLabel, "8 Hz IRQ", 8, 90, 60);
  // Timer.
  c.push_back({1049, ControlKind::GroupBox, "Timer", 188, 4, 150, 104});
  AddLed(c, kEndEnableLed, IDC_STATIC, "IRQCount0", 192, 14, kLabelWidth);
  AddLed(c, kCompareEnableLed, IDC_STATIC, "IRQComp", 192, 26, kLabelWidth);
  AddLed(c, kRunLed, IDC_STATIC, "Enabled", 192, 38, kLabelWidth);
  AddLed(c, kPwmLed, IDC_STATIC, "PWM", 192, 50, kLabelWidth);
  AddLed(c, kCompareOnLed, IDC_STATIC, "EnComp", 192, 62, kLabelWidth);
  addText(c, "Input", kInputText, "PA0", 262, 14);
  addText(c, "Step", kDirectionText, "-1", 262, 26);
  addText(c, "Comp.Val", kCompareText, "0", 262, 38);
  addText(c, "Comp.bits", kWidthText, "10", 262, 50);
  addText(c, "Start.Val", kCounterText, "0", 262, 62);
  // MOpt.
  c.push_back({1152, ControlKind::GroupBox, "MOpt", 342, 4, 70, 40});
  static constexpr const char* kWordNames[4] = {"0", "1", "2", "3"};
  for (int i = 0; i < 4; ++i) {
    c.push_back({1157 + i, ControlKind::Text, kWordNames[i], 348 + i * 16, 14, 12, 8, platform::kAlignCenter});
    c.push_back({kFirstOptionText + i, ControlKind::Text, "00", 348 + i * 16, 26, 12, 8, platform::kAlignCenter});
  }
  return c;
}

}  // namespace

const platform::DialogTemplate& Chip::WindowTemplate() {
  static const platform::DialogTemplate t{"Curpos", 416, 112, nullptr, 8, controls()};
  return t;
}

}  // namespace qv4234
