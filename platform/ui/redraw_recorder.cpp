// The redraw recorder of tests, found by modules through the program.
#include "platform/redraw_recorder.h"

#include <dlfcn.h>

namespace platform {
namespace {
RedrawRecorder gRecorder = nullptr;
using RecorderLookup = RedrawRecorder (*)();
}  // namespace
}  // namespace platform

// Exported by every executable linking platform_ui: the program's recorder.
extern "C" __attribute__((visibility("default"))) platform::RedrawRecorder TavixRedrawRecorder() {
  return platform::gRecorder;
}

namespace platform {

void SetRedrawRecorder(RedrawRecorder recorder) {
  gRecorder = recorder;
}

RedrawRecorder FindRedrawRecorder() {
  if (gRecorder != nullptr) return gRecorder;
  auto lookup = reinterpret_cast<RecorderLookup>(dlsym(RTLD_DEFAULT, "TavixRedrawRecorder"));
  if (lookup == nullptr || lookup == &TavixRedrawRecorder) return nullptr;
  return lookup();
}

}  // namespace platform
