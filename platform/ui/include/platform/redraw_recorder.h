#pragma once
// Tests: a recorder of the redraw requests that chip models post, in post
// order, before any coalescing. The test program installs it; the modules it
// loads by name find the program's (as they find its pump script), so no
// module needs an export of its own for it.
#include <cstdint>

namespace platform {

using RedrawRecorder = void (*)(int32_t item, intptr_t parts);

// Installs `recorder` for this program and the modules it loads (null
// removes it).
void SetRedrawRecorder(RedrawRecorder recorder);
// The program's recorder, or this copy's own, or null. A dynamic lookup:
// call it when a module is entered, not per post.
RedrawRecorder FindRedrawRecorder();

}  // namespace platform
