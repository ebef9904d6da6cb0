// The library's one entry: a host that knows only the library's name makes
// the control here, then reaches its members through Qt's meta-object calls.
#include "pelto.h"

extern "C" __attribute__((visibility("default"))) QWidget* PeltoControl_Pelto(QWidget* parent) {
  return new pelto::Pelto(parent);
}

// Scales every wait and timer of a control to `percent` % (tests and
// benchmarks run the control's waits faster).
extern "C" __attribute__((visibility("default"))) void PeltoControl_TimePercent(QWidget* control,
                                                                               int percent) {
  if (auto* pelto = qobject_cast<pelto::Pelto*>(control)) {
    pelto->SetTimings(pelto::PeltoTimings::Scaled(percent));
  }
}
