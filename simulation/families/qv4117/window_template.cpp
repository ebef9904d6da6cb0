// The dialog "Curpos" of the QV4117 family's window, as data: QV4124's port,
// prescaler, supply, timer and melody boxes, and the millisecond box.
#include <simcore/lcd/lcd_boxes.h>

#include "qv4117/model.h"
#include "qv4124/window.h"

namespace qv4117 {

std::vector<platform::ControlTemplate> Qv4117Controls() {
  using platform::ControlKind;
  using platform::IDC_STATIC;
  std::vector<platform::ControlTemplate> c;
  qv4124::AddPortGroups(c);
  simcore::lcd::AddPrescalerBox(c, IDC_STATIC, 184, 1, 63, 66);
  c.push_back({IDC_STATIC, ControlKind::GroupBox, "Supply", 251, 1, 38, 66});
  simcore::lcd::AddSupplySlider(c, 264, 10, 42, 30);
  simcore::lcd::AddTimerBox(c, IDC_STATIC, 5, 69, 123, 78, {"IRQCount0", "IRQComp"});
  qv4124::AddMelodyBox(c, 132, 70);
  simcore::lcd::AddMillisecondBox(c, IDC_STATIC, 233, 70, 65, 77);
  return c;
}

const platform::DialogTemplate& Qv4117Window() {
  static const platform::DialogTemplate t{"Curpos", 301, 150, nullptr, 8, Qv4117Controls()};
  return t;
}

}  // namespace qv4117
