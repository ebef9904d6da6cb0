// QV4131's periphery window: the family's boxes without the converter, the
// prescaler's three LEDs, the system clock adjustment and ClkSup texts, and
// the SWB's size, ClkSup and external clock texts.
#include <platform/dialog_items.h>

#include <string>

#include "qv4131.h"
#include "qv4115/window_boxes.h"

namespace qv4131 {

using namespace qv4115::boxes;
using platform::SetDlgItemText;
namespace baseSwb = qv4115::swbItem;

namespace {

constexpr int kPrescaler4688Led = 1106, kPrescaler4688Text = 1112;
constexpr int kClockAdjustBox = 1067, kClockAdjustText = 1066, kClkSupText = 1147;
constexpr const char* kExternalClocks[4] = {"Ext/1", "Ext/4", "Ext/88", "Ext/352"};

Controls controls() {
  Controls c;
  addPorts(c, 4, 2);
  addSupply(c, 202, 2);
  c.push_back({kClockAdjustBox, ControlKind::GroupBox, "Sys.Clk.Adj", 240, 2, 71, 72});
  c.push_back(
      {kClockAdjustText, ControlKind::Text, "000000", 246, 16, 58, 8, platform::kAlignCenter});
  c.push_back({IDC_STATIC, ControlKind::Text, "ClkSup", 246, 40, 30, 8});
  c.push_back({kClkSupText, ControlKind::Text, "0", 280, 40, 20, 8});
  addTimer(c, 70, 52);
  c.push_back({1048, ControlKind::GroupBox, "Prescaler", 70, 120, 128, 25});
  AddLed(c, kPrescaler4688Led, kPrescaler4688Text, "9400Hz", 73, 131, 26);
  AddLed(c, qv4115::kPrescalerLed, qv4115::kPrescalerText, "586 Hz", 113, 131, 26);
  AddLed(c, qv4115::kOneHzLed, IDC_STATIC, "1Hz IRQ", 153, 131, 32);
  addSwb(c, 202, 76);
  addEeprom(c, 4, 60, 85);
  return c;
}

std::string Bits(int value, int count) {
  std::string text;
  for (int b = count - 1; b >= 0; --b) text += ((value >> b) & 1) ? '1' : '0';
  return text;
}

}  // namespace

const platform::DialogTemplate& Qv4131::WindowTemplate() {
  static const platform::DialogTemplate t{"Curpos", 315, 147, "Courier New", 8, controls()};
  return t;
}

// The family's start without the converter and the detector level: the
// level stays what register 108 chose.
void Qv4131::Window_Init(platform::WindowHandle d) {
  initSupplyAndLists(d);
}

void Qv4131::drawSwb(intptr_t parts) {
  Model::drawSwb(parts & ~baseSwb::kClockText);
  platform::WindowHandle d = dialog();
  if (parts & baseSwb::kClockText)
    SetDlgItemText(d, qv4115::kSwbClockText,
                   swbClockCopy_ == 0 && swbAutomatic_
                       ? kExternalClocks[divider_ & 3]
                       : kQv4131.texts.swbClocks[swbClockCopy_ & 3]);
  if (parts & swbItem::kSize) SetDlgItemText(d, qv4115::kSwbSizeText, std::to_string(swb_.size()));
  if (parts & swbItem::kClkSup) SetDlgItemText(d, kClkSupText, std::to_string(clkSup_));
}

void Qv4131::Window_Redraw(int item, intptr_t parts) {
  platform::WindowHandle d = dialog();
  switch (item) {
    case qv4115::kItemSwb:
      drawSwb(parts);
      break;
    case qv4115::kItemPrescaler: {
      const int enables = latch_.at(kQv4131.irq.systemEnables.reg);
      simcore::ShowLed(d, kPrescaler4688Led, enables & kReq4688Hz);
      simcore::ShowLed(d, qv4115::kPrescalerLed, enables & kReq293Hz);
      simcore::ShowLed(d, qv4115::kOneHzLed, enables & kReq057Hz);
      break;
    }
    case kItemClockAdjust:
      SetDlgItemText(d, kClockAdjustText, Bits(clockAdjust_, 6));
      break;
    default:
      Model::Window_Redraw(item, parts);
      break;
  }
}

}  // namespace qv4131
