// The module 42150000: chip QV4115.
#include <simcore/module_exports.h>

#include "qv4115.h"

K42_CHIP_MODULE(qv4115::Qv4115)

// Records every redraw request of the model in post order, before
// coalescing (null stops recording).
K42_EXPORT void SetRedrawRecorder(simcore::RedrawRecorder recorder) {
  gModuleChip.setRedrawRecorder(recorder);
}
