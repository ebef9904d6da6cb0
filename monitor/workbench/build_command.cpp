#include "workbench/build_command.h"

#include <exception>

#include "core/monitor_state.h"
#include "core/monitorform.h"
#include "core/project_source.h"
#include "platform/filenames.h"
#include "platform/messagebox.h"
#include "platform/process.h"
#include "workbench/buildout.h"
#include "workbench/filopen.h"
#include "workbench/mdinote.h"

namespace monitor {

namespace {

const char* const kAssembler = "K42XXASM.EXE";

bool HasAsmExtension(const std::string& name) {
  return name.size() >= 4 && platform::EqualsNoCase(name.substr(name.size() - 4), ".ASM");
}

// Loads BuildOut, clears its list, gives it the focus and starts the
// assembler, not waited for. A start that fails ends here without a word.
void StartAssembler(Workbench& bench, const std::vector<std::string>& arguments) {
  MonitorState& state = bench.State;
  auto* out = dynamic_cast<BuildOut*>(state.Forms.Load("BuildOut"));
  if (out == nullptr) return;
  out->ClearList();
  state.Forms.Show(out);
  out->ErrorList->setFocus();
  platform::StartProcess(kAssembler, arguments, /*wait=*/false, state.ProgramPath);
}

// The commands end silently on any error, as a failed start does.
template <typename Body>
void Silently(Body body) {
  try {
    body();
  } catch (const std::exception&) {
  }
}

}  // namespace

AssemblerCommand AssemblerArguments(const std::string& sourcePath, const std::string& projectFile) {
  if (sourcePath.empty()) return {{}, "No Source file defined for the current project"};
  if (!HasAsmExtension(sourcePath)) return {{}, "Source file must have the extension <.ASM>"};
  const std::string source = ProjectSourcePath(sourcePath, projectFile);
  return {{"/D/s" + source.substr(0, source.size() - 4)}, ""};
}

void LaunchAssembler(Workbench& bench) {
  Silently([&bench] {
    SaveAllDocuments(bench);
    platform::CommonDialog* found = bench.State.Forms.FrameDialog();
    if (found == nullptr) return;
    platform::CommonDialog& dialog = *found;
    dialog.DialogTitle = "Assembler Source File";
    dialog.Filter = "ASM Files (*.asm)|*.asm";
    dialog.FileName = bench.State.SourceFile.empty() ? "*.asm" : bench.State.SourceFile;
    dialog.FilterIndex = 1;
    dialog.CancelError = true;
    if (!DialogAnswered([&dialog] { dialog.ShowOpen(); }) || dialog.FileName == "*.asm") return;
    // A picked name is used as it stands: no project folder in front.
    const AssemblerCommand command = AssemblerArguments(dialog.FileName, "");
    if (command.refusal.empty()) StartAssembler(bench, command.arguments);
  });
}

void BuildProject(Workbench& bench) {
  Silently([&bench] {
    SaveAllDocuments(bench);
    const MonitorState& state = bench.State;
    const AssemblerCommand command = AssemblerArguments(state.SourceFile, state.ProjectFile);
    if (!command.refusal.empty()) {
      platform::MessageBox(command.refusal, "Tavix", platform::MB_OK);
      return;
    }
    StartAssembler(bench, command.arguments);
  });
}

void BindBuilds(Workbench& bench) {
  bench.State.Forms.Register("BuildOut", platform::FormKind::MdiChild,
                             [&bench] { return new BuildOut(bench); });
  bench.State.Seams.workbench.BuildProject = [&bench] { BuildProject(bench); };
  bench.State.Seams.workbench.LaunchAssembler = [&bench] { LaunchAssembler(bench); };
}

}  // namespace monitor
