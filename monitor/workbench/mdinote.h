#pragma once
// The editor documents: the slot table's form pointers, new editors, the
// editor font, the active editor, and the editor's search.
#include <QString>
#include <cstdint>
#include <optional>

#include "workbench/workbench_state.h"

namespace platform {
class SourceTextBox;
}

namespace monitor {

class frmNotePad;

// The first free slot from 1 up, taken; else one more slot, in use and
// unchanged. The changed flag of a reused slot was cleared when it was freed.
int16_t GrowEditorArrays(Workbench& bench);
// A fresh, hidden editor window for a slot: Tag, editor font, caption
// "Untitled:<slot>".
frmNotePad* NewEditorWindow(Workbench& bench, int16_t slot);
// File > New: an empty editor, shown.
void OpenNewEditor(Workbench& bench);
// The font of "editor window", when a name is stored.
void ApplyEditorFont(frmNotePad& editor);

// The main window's active child when it is an editor.
frmNotePad* ActiveEditor(const Workbench& bench);
// The active control when it is an editor's text: the active child's focus
// widget. Null otherwise, and every editor command then does nothing.
platform::SourceTextBox* ActiveEditorText(const Workbench& bench);

// The search over a text in the editor's offset model: the new selection
// start of a match of `find`, or nothing.
struct SearchRequest {
  int selStart = 0;
  int lastStart = 0;
  bool restart = false;
  bool matchCase = false;
  bool down = true;
};
std::optional<int> SearchText(const QString& text, const QString& find,
                              const SearchRequest& request);

// Searches the active editor's text for FindText and selects the match, or
// says "Cannot find"; nothing when the active control is not an editor's.
void SearchActiveEditor(Workbench& bench);

}  // namespace monitor
