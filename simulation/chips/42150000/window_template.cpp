// The dialog "Curpos" of QV4115's periphery window, as data: one group box
// per unit. LED and marker places are picture places drawn from the model.
#include <vector>

#include "qv4115_model.h"
#include "window.h"

namespace qv4115 {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::IDC_STATIC;

namespace {

constexpr const char* kPinNames[4] = {"0", "1", "2", "3"};

void addPort(std::vector<ControlTemplate>& c, int groupId, const char* name, const simcore::PinGroup& g,
             int x, int y) {
  c.push_back({groupId, ControlKind::GroupBox, name, x, y, 62, g.firstMarker ? 56 : 48});
  for (int i = 0; i < 4; ++i) {
    const int px = x + 5 + i * 14;
    c.push_back({IDC_STATIC, ControlKind::Text, kPinNames[i], px - 2, y + 10, 14, 8, platform::kAlignCenter});
    c.push_back({g.firstLed + i, ControlKind::Place, "", px, y + 19, 10, 10});
    c.push_back({g.firstButton + i, ControlKind::PushButton, "L", px - 1, y + 31, 12, 12});
    if (g.firstMarker) c.push_back({g.firstMarker + i, ControlKind::Place, "", px, y + 45, 10, 6});
  }
}

void addLed(std::vector<ControlTemplate>& c, int id, int labelId, const char* label, int x, int y) {
  c.push_back({id, ControlKind::Place, "", x, y, 8, 8});
  c.push_back({labelId, ControlKind::Text, label, x + 11, y, 48, 8});
}

std::vector<ControlTemplate> controls() {
  std::vector<ControlTemplate> c;
  addPort(c, 1019, "PortA", kPinsA, 4, 2);
  addPort(c, 1020, "PortB", kPinsB, 70, 2);
  addPort(c, 1021, "PortC", kPinsC, 136, 2);
  // Supply and ADC.
  c.push_back({1046, ControlKind::GroupBox, "Supply", 202, 2, 34, 72});
  c.push_back({kSupply.bar, ControlKind::VScroll, "", 214, 12, 10, 46});
  c.push_back({kSupply.text, ControlKind::Text, "0.00V", 204, 62, 30, 8, platform::kAlignCenter});
  c.push_back({1047, ControlKind::GroupBox, "ADC", 240, 2, 38, 72});
  c.push_back({kAdcBar1, ControlKind::VScroll, "", 246, 12, 10, 46});
  c.push_back({kAdcBar2, ControlKind::VScroll, "", 262, 12, 10, 46});
  c.push_back({kAdcText1, ControlKind::Text, "", 244, 62, 14, 8, platform::kAlignCenter});
  c.push_back({kAdcText2, ControlKind::Text, "", 260, 62, 14, 8, platform::kAlignCenter});
  // Prescaler.
  c.push_back({1048, ControlKind::GroupBox, "Prescaler", 4, 60, 62, 36});
  addLed(c, kOneHzLed, IDC_STATIC, "1Hz IRQ", 8, 70);
  addLed(c, kPrescalerLed, kPrescalerText, "8Hz IRQ", 8, 82);
  // Timer.
  c.push_back({1049, ControlKind::GroupBox, "Timer", 70, 52, 128, 66});
  addLed(c, kTimerEnabledLed, 1065, "Enabled", 74, 62);
  addLed(c, kTimerEndLed, 1063, "IRQCount0", 74, 72);
  addLed(c, kTimerCompareLed, 1064, "IRQComp", 74, 82);
  addLed(c, kTimerPwmLed, 1069, "PWM", 74, 92);
  addLed(c, kTimerCompareEnableLed, 1070, "EnComp", 74, 102);
  const struct { const char* label; int id; const char* text; } kTexts[5] = {
      {"Input", kTimerSourceText, "PA0"}, {"Step", kTimerStepText, "+1"}, {"Start.Val", kTimerCounterText, "0"},
      {"Comp.Val", kTimerCompareText, "0"}, {"Comp.bits", kTimerWidthText, "0"}};
  for (int i = 0; i < 5; ++i) {
    c.push_back({IDC_STATIC, ControlKind::Text, kTexts[i].label, 134, 62 + 10 * i, 38, 8});
    c.push_back({kTexts[i].id, ControlKind::Text, kTexts[i].text, 172, 62 + 10 * i, 24, 8});
  }
  // SWB.
  c.push_back({1022, ControlKind::GroupBox, "SWB", 202, 76, 108, 68});
  c.push_back({kSwbModeText, ControlKind::Text, "----------", 206, 86, 60, 8});
  addLed(c, kSwbClockLed, kSwbClockText, "16KHz Clk", 206, 96);
  addLed(c, kSwbDataLed, IDC_STATIC, "Data", 206, 106);
  c.push_back({IDC_STATIC, ControlKind::Text, "Size", 270, 86, 18, 8});
  c.push_back({kSwbSizeText, ControlKind::Text, "0H", 290, 86, 16, 8});
  c.push_back({kSwbSentEdit, ControlKind::Edit, "", 206, 118, 100, 12});
  // EEPROM.
  c.push_back({1050, ControlKind::GroupBox, "EEPROM", 4, 98, 62, 48});
  c.push_back({IDC_STATIC, ControlKind::Text, "Addr  Data", 8, 107, 54, 8});
  c.push_back({kEepromList, ControlKind::List, "", 8, 116, 54, 28});
  return c;
}

}  // namespace

const platform::DialogTemplate& Qv4115Window() {
  static const platform::DialogTemplate t{"Curpos", 314, 148, "Courier New", 8, controls()};
  return t;
}

}  // namespace qv4115
