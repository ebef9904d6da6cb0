// QV4116's periphery window: "Curpos", 264 x 148 dialog units; the ports,
// the family's prescaler, timer, supply slider and millisecond boxes, and the
// supply box's eight indicator LEDs.
#include <platform/dialog_items.h>
#include <platform/window.h>
#include <simcore/periphery_window.h>

#include "qv4116.h"

namespace qv4116 {

using namespace platform;
using namespace simcore::lcd;

namespace {

constexpr int kPortAGroup = 1019, kPortBGroup = 1020, kPrescalerGroup = 1048, kSupplyGroup = 1046,
              kTimerGroup = 1049, kMillisecondGroup = 1050;
constexpr int kPortALeds = 1086, kPortBLeds = 1090, kPortAMarkers = 1094, kIndicatorLeds = 1098;

const simcore::PinGroup kPinGroups[2] = {
    {kItemPortA, kPortAButton, kPortALeds, kPortAMarkers},
    {kItemPortB, kPortBButton, kPortBLeds, 0},
};

void AddPins(std::vector<ControlTemplate>& c, int groupId, const char* caption, int x, int width,
             const simcore::PinGroup& g) {
  static constexpr const char* kNames[4] = {"0", "1", "2", "3"};
  c.push_back({groupId, ControlKind::GroupBox, caption, x, 1, width, 67});
  for (int i = 0; i < 4; ++i) {
    const int y = 12 + i * 13;
    c.push_back({IDC_STATIC, ControlKind::Text, kNames[i], x + 4, y + 2, 8, 8});
    c.push_back({g.firstLed + i, ControlKind::Place, "", x + 14, y + 2, 8, 8});
    c.push_back({g.firstButton + i, ControlKind::PushButton, "L", x + 25, y, 16, 11});
    if (g.firstMarker != 0) c.push_back({g.firstMarker + i, ControlKind::Place, "", x + 46, y + 2, 8, 8});
  }
}

std::vector<ControlTemplate> Controls() {
  std::vector<ControlTemplate> c;
  AddPins(c, kPortAGroup, "PortA", 5, 64, kPinGroups[0]);
  AddPins(c, kPortBGroup, "PortB", 72, 56, kPinGroups[1]);
  AddPrescalerBox(c, kPrescalerGroup, 132, 1, 65, 67);
  // Supply: the slider, then the indicator LEDs in two columns.
  c.push_back({kSupplyGroup, ControlKind::GroupBox, "Supply", 201, 1, 57, 142});
  AddSupplySlider(c, 224, 10, 52, 30);
  c.push_back({IDC_STATIC, ControlKind::Text, "VDD", 226, 76, 14, 8});
  c.push_back({IDC_STATIC, ControlKind::Text, "PB0", 242, 76, 14, 8});
  static constexpr const char* kRows[4] = {"", "Active", "Result", "IRQ"};
  for (int row = 0; row < 4; ++row) {
    const int y = 88 + row * 13;
    if (row > 0) c.push_back({IDC_STATIC, ControlKind::Text, kRows[row], 204, y, 24, 8});
    c.push_back({kIndicatorLeds + row, ControlKind::Place, "", 229, y, 8, 8});
    c.push_back({kIndicatorLeds + 4 + row, ControlKind::Place, "", 245, y, 8, 8});
  }
  AddTimerBox(c, kTimerGroup, 5, 68, 123, 75, {"IRQ", "Comp.IRQ"});
  AddMillisecondBox(c, kMillisecondGroup, 132, 68, 65, 75);
  return c;
}

}  // namespace

const DialogTemplate& Chip::WindowTemplate() {
  static const DialogTemplate t{"Curpos", 264, 148, "Courier New", 8, Controls()};
  return t;
}

void Chip::Window_Init(WindowHandle d) {
  supply_ = kSupplyMax;
  InitSupplySlider(d, kSupplyMax, supply_);
}

TimerView Chip::timerView() const {
  return TimerView{test(L.timer.run), test(L.irq.endEnable), test(L.irq.compareEnable),
                   test(L.prescaler.pwm), test(L.timer.compare), L.timer.clock.of(reg(L.timer.control.reg)),
                   timer_.up(), timer_.value(), L.timer.width.of(reg(L.timer.high.reg)), timer_.count(),
                   test(L.irq.fullCompare)};
}

void Chip::Window_Redraw(int item, intptr_t parts) {
  const WindowHandle d = dialog();
  if (d == nullptr) return;
  switch (item) {
    case kItemPortA:
    case kItemPortB: simcore::DrawPinGroup(d, kPinGroups[item], ports_[item]); break;
    case kItemPrescaler: DrawPrescalerBox(d, parts, reg(L.irq.timeEnables.reg), test(L.prescaler.fast32Hz)); break;
    case kItemTimer: DrawTimerBox(d, parts, timerView()); break;
    case kItemSupply:
      for (int k = 0; k < 8; ++k)
        if (simcore::bitAt(static_cast<int>(parts), k))
          simcore::ShowLed(d, kIndicatorLeds + k, simcore::bitAt(indicator_, k));
      break;
    case kItemMillisecond:
      DrawMillisecondBox(d, parts,
                         MillisecondView{{ms_.digit(0), ms_.digit(1), ms_.digit(2)}, ms_.overflow(), ms_.running(),
                                         test(L.irq.millisecondEnable), reg(L.millisecond.control.reg), reg(L.millisecond.status.reg)});
      break;
    default: break;  // items 2, 3, 4 and 9 have no box here
  }
}

void Chip::Window_RedrawAll() {
  const WindowHandle d = dialog();
  if (d == nullptr) return;
  for (int i = 0; i < 2; ++i) simcore::DrawPinGroup(d, kPinGroups[i], ports_[i], true);
  Window_Redraw(kItemPrescaler, prescalerPart::kAll);
  Window_Redraw(kItemTimer, timerPart::kAll);
  Window_Redraw(kItemSupply, indicator::kAll);
  Window_Redraw(kItemMillisecond, millisecondPart::kAll);
  DrawSupplyText(d, supply_);
}

bool Chip::Window_Command(int id) {
  for (int port = 0; port < 2; ++port)
    if (clickPin(kPinGroups[port], ports_[port], id, [this, port] {
          if (port == 0)
            samplePortA();
          else
            samplePortB();
        }))
      return true;
  return false;
}

bool Chip::Window_Scroll(int barId, uint16_t code, int thumb) {
  if (barId != supplyBox::kBar || dialog() == nullptr) return false;
  if (const std::optional<int> supply = ScrollSupply(dialog(), kSupplyMax, code, thumb)) setSupply(*supply);
  return true;
}

}  // namespace qv4116
