#pragma once
// Every redraw request a periphery model posts, in post order and before
// the posts are coalesced, handed to a recorder that a test sets. The
// modules a program loads find the program's recorder through its exported
// `TavixRedrawRecorder`, as their message boxes find its presenter.
#include <cstdint>
#include <functional>

namespace platform {

using RedrawRecorder = std::function<void(int item, intptr_t parts)>;

// Installs the recorder of this program (empty: none).
void SetRedrawRecorder(RedrawRecorder recorder);

// The recorder a post reaches: this program's, or the one of the program
// hosting this module. Looked up once; the slot is empty while none is set.
const RedrawRecorder& ActiveRedrawRecorder();

}  // namespace platform
