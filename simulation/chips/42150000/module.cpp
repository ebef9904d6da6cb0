// The module 42150000: chip QV4115.
#include <simcore/module_exports.h>

#include "qv4115.h"

K42_CHIP_MODULE(qv4115::Chip)

// Test control: records every redraw request of the model in post order
// (null stops recording).
K42_EXPORT void SetRedrawRecorder(qv4115::Chip::RedrawRecorder recorder) {
  gModuleChip.setRedrawRecorder(recorder);
}
