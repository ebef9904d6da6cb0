#include "workbench/tools/code_file_commands.h"

#include "core/monitor_state.h"
#include "core/monitorform.h"
#include "core/project_source.h"
#include "platform/filenames.h"
#include "platform/messagebox.h"
#include "platform/process.h"
#include "platform/run_time_error.h"
#include "tavix_version.h"
#include "workbench/tools/disassembler_binding.h"

namespace monitor {
namespace {

bool HasBinExtension(const std::string& name) {
  return name.size() >= 4 && platform::EqualsNoCase(name.substr(name.size() - 4), ".BIN");
}

}  // namespace

std::string DisassemblyPrefix(const MonitorState& state) {
  const std::string source = ProjectSourcePath(state);
  return source.empty() ? "*." : platform::BaseName(source) + ".";
}

void DisassembleBinary(MonitorState& state) {
  platform::CommonDialog* found = state.Forms.FrameDialog();
  if (found == nullptr) return;
  platform::CommonDialog& dialog = *found;
  dialog.DialogTitle = "Binary File";
  dialog.Filter = "BIN Files (*.bin)|*.bin";
  dialog.FileName = DisassemblyPrefix(state) + "bin";
  platform::MessageBox(dialog.FileName, kProductName, platform::MB_OK);
  dialog.FilterIndex = 1;
  dialog.CancelError = true;
  try {
    dialog.ShowOpen();
  } catch (const platform::RunTimeError&) {
    return;  // cancelled
  }
  const std::string name = dialog.FileName;
  if (name == "*.bin" || !HasBinExtension(name)) return;
  // The picked name goes in as it stands; the outputs keep its base.
  const std::string base = name.substr(0, name.size() - 4);
  try {
    Disassemble_K42XX(state.ProgramPath, {name, base, base, base, base + ".STA", base},
                      kRomCharacteristicOutput);
  } catch (const platform::RunTimeError&) {
    // Without the library the command does nothing.
  }
}

void ConvertCodToBin(MonitorState& state) {
  Monitorform* frame = state.MainForm();
  if (frame == nullptr) return;
  platform::CommonDialog& dialog = frame->monitorCMD;
  dialog.Filter = "COD Files (*.cod)|*.cod|All Files (*.*)|*.*";
  dialog.FilterIndex = 1;
  dialog.CancelError = false;
  if (!dialog.ShowOpen() || dialog.FileName.empty()) return;
  std::string converter = platform::ResolveExecutablePath("binmake", state.ProgramPath);
  if (converter.empty()) converter = platform::FindOnPath("binmake");
  if (converter.empty()) return;
  platform::StartProcess(converter, {dialog.FileName}, false);
}

}  // namespace monitor
