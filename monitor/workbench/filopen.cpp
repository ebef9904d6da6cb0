#include "workbench/filopen.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "core/monitor_state.h"
#include "core/monitorform.h"
#include "platform/atomic_write.h"
#include "platform/filenames.h"
#include "platform/hooks.h"
#include "platform/messagebox.h"
#include "platform/read_file.h"
#include "platform/run_time_error.h"
#include "workbench/frmnotepad.h"
#include "workbench/mdinote.h"
#include "workbench/recent_files.h"

namespace monitor {

namespace {

const char* const kAppTitle = "Tavix";

// The main window's common dialog; null when the window is not loaded.
platform::CommonDialog* Dialog(Workbench& bench) {
  return bench.State.Forms.FrameDialog();
}

std::string MainCaption(Workbench& bench) {
  Monitorform* frame = bench.State.MainForm();
  return frame != nullptr ? frame->Caption().toStdString() : kAppTitle;
}

// Where a save writes: a symbolic link's target, so the link stays a link.
std::string WriteTarget(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_symlink(path, error)) return path;
  std::filesystem::path target = std::filesystem::read_symlink(path, error);
  if (error) return path;
  if (target.is_relative()) target = std::filesystem::path(path).parent_path() / target;
  return target.string();
}

// Writes a text to the path used for `name`; on failure the message with the
// system's reason. The path used, or "" when the write failed.
std::string WriteSource(const frmNotePad& editor, const std::string& name) {
  const std::string path = platform::FindOrKeepPath(name);
  const std::string bytes = EncodeSource(editor.Text1->Text(), editor.Encoding());
  int error = 0;
  bool written;
  {
    platform::WaitCursor wait;
    written = platform::WriteFileAtomically(WriteTarget(path), bytes, &error);
  }
  if (written) return path;
  platform::MessageBox(std::string(std::strerror(error)) + ": " + path, kAppTitle,
                       platform::MB_OK | platform::MB_ICONEXCLAMATION);
  return "";
}

// The message of a file that could not be read: a folder, or a read that
// failed, is a format error; anything else (a pipe or device too) cannot be
// opened.
std::string ReadFailureText(int error) {
  return error == EISDIR || error == EIO || error == EFBIG ? "Format error : "
                                                           : "Can't open file: ";
}

}  // namespace

void ShowOpenFileDialog(Workbench& bench) {
  platform::CommonDialog* dialog = Dialog(bench);
  if (dialog == nullptr) return;
  dialog->CancelError = true;
  dialog->DialogTitle = "Open File";
  dialog->Filter = "Assembler Files (*.asm)|*.asm|All Files (*.*)|*.*";
  dialog->FilterIndex = 1;
  dialog->FileName.clear();
  if (!DialogAnswered([&] { dialog->ShowOpen(); })) return;
  LoadSourceFile(bench, dialog->FileName);
}

std::string ShowSaveAsDialog(Workbench& bench) {
  platform::CommonDialog* dialog = Dialog(bench);
  if (dialog == nullptr) return "";
  dialog->CancelError = true;
  dialog->DialogTitle = "Save File As...";
  dialog->FileName.clear();
  dialog->Filter = "Source (*.asm)|*.asm|All (*.*)|*.*";
  if (!DialogAnswered([&] { dialog->ShowSave(); })) return "";
  return dialog->FileName;
}

void LoadSourceFile(Workbench& bench, const std::string& path) {
  const std::string used = platform::FindOrKeepPath(path);
  std::string bytes;
  int error = 0;
  if (!platform::ReadWholeFile(used, bytes, &error)) {
    platform::MessageBox(ReadFailureText(error) + path, kAppTitle, platform::MB_OK);
    return;
  }
  platform::WaitCursor wait;
  const int16_t slot = GrowEditorArrays(bench);
  frmNotePad* editor = NewEditorWindow(bench, slot);
  if (editor == nullptr) {
    bench.State.EditorSlot[static_cast<size_t>(slot)] = EditorSlotRecord{};
    return;
  }
  editor->SetPath(used);
  editor->SetDocumentText(DecodeSource(bytes));
  bench.State.EditorSlot[static_cast<size_t>(slot)].Changed = 0;
  editor->ShowWindow();
  RefreshFileMenu(bench, used);
}

bool SaveDocument(Workbench& bench, frmNotePad& editor, const std::string& name) {
  const std::string used = WriteSource(editor, name);
  if (used.empty()) return false;
  editor.SetPath(used);
  const size_t slot = static_cast<size_t>(editor.Slot());
  if (slot < bench.State.EditorSlot.size()) bench.State.EditorSlot[slot].Changed = 0;
  return true;
}

void SaveCommand(Workbench& bench, frmNotePad& editor) {
  const std::string name = editor.Untitled() ? ShowSaveAsDialog(bench) : editor.Path();
  if (!name.empty()) SaveDocument(bench, editor, name);
}

void SaveAsCommand(Workbench& bench, frmNotePad& editor) {
  const std::string name = ShowSaveAsDialog(bench);
  if (name.empty()) return;
  // A name that could not be written is not a recent file.
  if (SaveDocument(bench, editor, name)) RefreshFileMenu(bench, editor.Path());
}

namespace {

// Each changed editor in use, in slot order.
template <typename Visit>
void ForEachChangedEditor(Workbench& bench, Visit visit) {
  std::vector<EditorSlotRecord>& records = bench.State.EditorSlot;
  for (size_t slot = 1; slot < records.size() && slot < bench.NotePad.size(); ++slot) {
    if (records[slot].Free != 0 || records[slot].Changed == 0 || !bench.NotePad[slot]) continue;
    if (visit(*bench.NotePad[slot])) records[slot].Changed = 0;
  }
}

}  // namespace

void SaveAllDocuments(Workbench& bench) {
  ForEachChangedEditor(bench, [](frmNotePad& editor) {
    return !editor.Untitled() && !WriteSource(editor, editor.Path()).empty();
  });
}

void QuerySaveDocuments(Workbench& bench) {
  ForEachChangedEditor(bench, [&bench](frmNotePad& editor) {
    const int answer =
        platform::MessageBox(editor.Caption().toStdString() +
                                 " has been changed.\r\nWould you want to save the changes?",
                             MainCaption(bench), platform::MB_YESNO | platform::MB_ICONQUESTION);
    if (answer != platform::IDYES) return false;
    const std::string name = editor.Untitled() ? ShowSaveAsDialog(bench) : editor.Path();
    return !name.empty() && !WriteSource(editor, name).empty();
  });
}

}  // namespace monitor
