#pragma once
// Source files: the Open and Save As dialogs, loading a file into a new
// editor, saving editors, and the checked open of a data file.
// Every read and write goes through FindOrKeepPath (an existing file found
// without regard to case, else the user's case), and a save is an atomic
// write to that path, or to a symbolic link's target, so a failed save
// leaves the previous file as it was and a link stays a link.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/atomic_write.h"

namespace monitor {

class Workbench;
class frmNotePad;

// Runs a common dialog whose Cancel raises the cancel error: false when it
// was cancelled. Any other error goes on to the caller.
bool DialogAnswered(const std::function<void()>& show);

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

// Opens a data file for output (mode 1), asking before it replaces or
// creates one when `ask` is not 0. The file's own name must not hold
// ";<=>?[*]" or a blank (folders may). The content goes to a temporary file
// that replaces the file only when it is committed, so a failed save keeps the
// previous file. Null when nothing was opened (a refused name, a question
// cancelled, an error given up); `unreported`, when given, then receives the
// errno of a failure that ReportFileError had no message for (else 0). Other
// modes open nothing and give null.
std::unique_ptr<platform::AtomicFile> OpenFileChecked(const std::string& name, int mode,
                                                      int recordLength, int ask,
                                                      int* unreported = nullptr);
// Shows the file error's message ("File Error"): 0 retry, 1 ignore, 2 give
// up; 3 without a message for an error the table does not name.
int ReportFileError(int errorNumber);

}  // namespace monitor
