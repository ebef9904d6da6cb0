#pragma once
// Source files: the Open and Save As dialogs, loading a file into a new
// editor and saving editors.
// Every read and write goes through FindOrKeepPath (an existing file found
// without regard to case, else the user's case), and a save is an atomic
// write to that path, or to a symbolic link's target, so a failed save
// leaves the previous file as it was and a link stays a link.
#include <cstdint>
#include <string>

#include "core/dialog_answer.h"

namespace monitor {

class Workbench;
class frmNotePad;

// File > Open: the "Open File" dialog, then LoadSourceFile unless cancelled.
void ShowOpenFileDialog(Workbench& bench);
// The "Save File As..." dialog: the chosen name, or "" when cancelled.
std::string ShowSaveAsDialog(Workbench& bench);

// Reads the whole file, then opens it in a new editor: caption and path the
// path as used, unchanged, shown, and at the top of the recent files. A file
// that cannot be opened ("Can't open file: ") or read ("Format error : ")
// opens no window and takes no slot.
void LoadSourceFile(Workbench& bench, const std::string& path);

// Writes the editor's text to `name`. On success the editor's path becomes
// the path used and its changed flag is cleared; on failure a message names
// the system's reason and nothing changes. True when written.
bool SaveDocument(Workbench& bench, frmNotePad& editor, const std::string& name);
// File > Save (the path, or Save As for an untitled document) and File >
// Save As (then the recent files) of an editor window.
void SaveCommand(Workbench& bench, frmNotePad& editor);
void SaveAsCommand(Workbench& bench, frmNotePad& editor);

// Writes every changed editor with a path; untitled ones are skipped. A
// failure is shown and the loop goes on; only a written editor is unchanged.
void SaveAllDocuments(Workbench& bench);
// Asks for every changed editor whether to save it (Yes, No); Yes writes to
// its path, or a Save As name for an untitled one (the caption stays).
void QuerySaveDocuments(Workbench& bench);

}  // namespace monitor
