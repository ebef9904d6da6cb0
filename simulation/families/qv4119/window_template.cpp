// The dialog "Curpos" of the gated chips: the QV4117 family's boxes and the
// "CPU" box with the clock selector.
#include "qv4119/model.h"

namespace qv4119 {

platform::DialogTemplate GatedWindow(int width, int cpuX) {
  using platform::ControlKind;
  std::vector<platform::ControlTemplate> c = qv4117::Qv4117Controls();
  c.push_back({kCpuGroup, ControlKind::GroupBox, "CPU", cpuX, 1, 40, 67});
  c.push_back({k32kHz, ControlKind::RadioButton, "32kHz", cpuX + 4, 11, 34, 10, platform::kGroupStart});
  c.push_back({k64kHz, ControlKind::RadioButton, "64kHz", cpuX + 4, 23, 34, 10});
  c.push_back({k128kHz, ControlKind::RadioButton, "128kHz", cpuX + 4, 35, 34, 10});
  c.push_back({kClockText, ControlKind::Text, "0 kHz", cpuX + 4, 52, 34, 8});
  return {"Curpos", width, 150, nullptr, 8, std::move(c)};
}

}  // namespace qv4119
