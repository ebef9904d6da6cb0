// The redraw recorder of tests, shared with the modules a program loads.
#include "platform/redraw_recorder.h"

#include <dlfcn.h>

namespace platform {
namespace {

RedrawRecorder& LocalRecorder() {
  static RedrawRecorder recorder;
  return recorder;
}

}  // namespace
}  // namespace platform

// Exported by every executable linking platform_ui.
extern "C" __attribute__((visibility("default"))) const void* TavixRedrawRecorder() {
  return &platform::LocalRecorder();
}

namespace platform {

void SetRedrawRecorder(RedrawRecorder recorder) { LocalRecorder() = std::move(recorder); }

const RedrawRecorder& ActiveRedrawRecorder() {
  static const RedrawRecorder* const active = []() -> const RedrawRecorder* {
    using Lookup = const void* (*)();
    auto lookup = reinterpret_cast<Lookup>(dlsym(RTLD_DEFAULT, "TavixRedrawRecorder"));
    if (lookup == nullptr || lookup == &TavixRedrawRecorder) return &LocalRecorder();
    return static_cast<const RedrawRecorder*>(lookup());
  }();
  return *active;
}

}  // namespace platform
