#pragma once
// The editors' Edit commands and their Print and New Template. The clipboard
// commands, Delete and Select All act on the active control, and only when it
// is an editor's text; anything else does nothing.
#include <QString>

namespace monitor {

class Workbench;
class frmNotePad;

void CopySelection(Workbench& bench);
void CutSelection(Workbench& bench);
void PasteClipboard(Workbench& bench);
// The selection, or the one character after the caret (a line end joins two
// lines); nothing at the end of the text.
void DeleteSelection(Workbench& bench);
void SelectAll(Workbench& bench);

// The locale's short date, a blank and its long time without the time zone.
QString TimeDateText();
// Replaces this editor's selection with TimeDateText().
void InsertTimeDate(frmNotePad& editor);
// The font dialog preset from this editor; the choice goes to every editor
// in use and to "editor window". Cancel or an empty name changes nothing.
void EditorFontCommand(Workbench& bench, frmNotePad& editor);
// The printer dialog, then the selection (when chosen) or the whole text.
void PrintCommand(Workbench& bench, frmNotePad& editor);
// Opens tavix/Start.asm in the folder that holds the program folder.
void NewTemplate(Workbench& bench);

}  // namespace monitor
