#pragma once
// The boxes the family's windows share, as dialog controls at a place:
// ports, the supply bar, the timer and the SWB. Each chip's template puts
// them where its window has them.
#include <platform/dialog.h>
#include <simcore/periphery_window.h>

#include <vector>

#include "qv4115/window.h"

namespace qv4115::boxes {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::IDC_STATIC;
using Controls = std::vector<ControlTemplate>;
using simcore::AddLed;  // an LED place with its label to the right

inline void addPort(Controls& c, int groupId, const char* name, const simcore::PinGroup& g, int x,
                    int y) {
  static constexpr const char* kPinNames[4] = {"0", "1", "2", "3"};
  c.push_back({groupId, ControlKind::GroupBox, name, x, y, 62, g.firstMarker ? 56 : 48});
  for (int i = 0; i < 4; ++i) {
    const int px = x + 5 + i * 14;
    c.push_back({IDC_STATIC, ControlKind::Text, kPinNames[i], px - 2, y + 10, 14, 8,
                 platform::kAlignCenter});
    c.push_back({g.firstLed + i, ControlKind::Place, "", px, y + 19, 10, 10});
    c.push_back({g.firstButton + i, ControlKind::PushButton, "L", px - 1, y + 31, 12, 12});
    if (g.firstMarker) c.push_back({g.firstMarker + i, ControlKind::Place, "", px, y + 45, 10, 6});
  }
}

// Ports A, B and C side by side from (x, y).
inline void addPorts(Controls& c, int x, int y) {
  addPort(c, 1019, "PortA", kPinsA, x, y);
  addPort(c, 1020, "PortB", kPinsB, x + 66, y);
  addPort(c, 1021, "PortC", kPinsC, x + 132, y);
}

inline void addSupply(Controls& c, int x, int y) {
  c.push_back({1046, ControlKind::GroupBox, "Supply", x, y, 34, 72});
  c.push_back({kSupply.bar, ControlKind::VScroll, "", x + 12, y + 10, 10, 46});
  c.push_back(
      {kSupply.text, ControlKind::Text, "0.00V", x + 2, y + 60, 30, 8, platform::kAlignCenter});
}

inline void addTimer(Controls& c, int x, int y) {
  c.push_back({1049, ControlKind::GroupBox, "Timer", x, y, 128, 66});
  AddLed(c, kTimerEnabledLed, 1065, "Enabled", x + 4, y + 10);
  AddLed(c, kTimerEndLed, 1063, "IRQCount0", x + 4, y + 20);
  AddLed(c, kTimerCompareLed, 1064, "IRQComp", x + 4, y + 30);
  AddLed(c, kTimerPwmLed, 1069, "PWM", x + 4, y + 40);
  AddLed(c, kTimerCompareEnableLed, 1070, "EnComp", x + 4, y + 50);
  const struct {
    const char* label;
    int id;
    const char* text;
  } kTexts[5] = {{"Input", kTimerSourceText, "PA0"},
                 {"Step", kTimerStepText, "+1"},
                 {"Start.Val", kTimerCounterText, "0"},
                 {"Comp.Val", kTimerCompareText, "0"},
                 {"Comp.bits", kTimerWidthText, "0"}};
  for (int i = 0; i < 5; ++i) {
    c.push_back({IDC_STATIC, ControlKind::Text, kTexts[i].label, x + 64, y + 10 + 10 * i, 38, 8});
    c.push_back({kTexts[i].id, ControlKind::Text, kTexts[i].text, x + 102, y + 10 + 10 * i, 24, 8});
  }
}

inline void addSwb(Controls& c, int x, int y) {
  c.push_back({1022, ControlKind::GroupBox, "SWB", x, y, 108, 68});
  c.push_back({kSwbModeText, ControlKind::Text, "----------", x + 4, y + 10, 60, 8});
  AddLed(c, kSwbClockLed, kSwbClockText, "16KHz Clk", x + 4, y + 20);
  AddLed(c, kSwbDataLed, IDC_STATIC, "Data", x + 4, y + 30);
  c.push_back({IDC_STATIC, ControlKind::Text, "Size", x + 68, y + 10, 18, 8});
  c.push_back({kSwbSizeText, ControlKind::Text, "0H", x + 88, y + 10, 16, 8});
  c.push_back({kSwbSentEdit, ControlKind::Edit, "", x + 4, y + 42, 100, 12});
}

// The EEPROM box: its label and the byte list under it.
inline void addEeprom(Controls& c, int x, int y, int height) {
  c.push_back({1050, ControlKind::GroupBox, "EEPROM", x, y, 62, height});
  c.push_back({IDC_STATIC, ControlKind::Text, "Addr  Data", x + 4, y + 9, 54, 8});
  c.push_back({kEepromList, ControlKind::List, "", x + 4, y + 18, 54, height - 20});
}

}  // namespace qv4115::boxes
