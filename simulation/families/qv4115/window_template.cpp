// The dialog "Curpos" of QV4115's periphery window, as data: one group box
// per unit. LED and marker places are picture places drawn from the model.
#include <vector>

#include "qv4115/model.h"
#include "qv4115/window.h"
#include "qv4115/window_boxes.h"

namespace qv4115 {

using namespace boxes;

namespace {

Controls controls() {
  Controls c;
  addPorts(c, 4, 2);
  addSupply(c, 202, 2);
  c.push_back({1047, ControlKind::GroupBox, "ADC", 240, 2, 38, 72});
  c.push_back({kAdcBar1, ControlKind::VScroll, "", 246, 12, 10, 46});
  c.push_back({kAdcBar2, ControlKind::VScroll, "", 262, 12, 10, 46});
  c.push_back({kAdcText1, ControlKind::Text, "", 244, 62, 14, 8, platform::kAlignCenter});
  c.push_back({kAdcText2, ControlKind::Text, "", 260, 62, 14, 8, platform::kAlignCenter});
  c.push_back({1048, ControlKind::GroupBox, "Prescaler", 4, 60, 62, 36});
  AddLed(c, kOneHzLed, IDC_STATIC, "1Hz IRQ", 8, 70);
  AddLed(c, kPrescalerLed, kPrescalerText, "8Hz IRQ", 8, 82);
  addTimer(c, 70, 52);
  addSwb(c, 202, 76);
  addEeprom(c, 4, 98, 48);
  return c;
}

}  // namespace

const platform::DialogTemplate& Qv4115Window() {
  static const platform::DialogTemplate t{"Curpos", 314, 148, "Courier New", 8, controls()};
  return t;
}

}  // namespace qv4115
