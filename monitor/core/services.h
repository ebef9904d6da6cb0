#pragma once
// The seams through which the monitor core reaches the floors above it: the
// debug views and the workbench. Each operation has the name
// its subsystem gives it. The
// code that builds an operation assigns it here when the monitor starts
// (see BindServices in the program); until then it is empty, and the core
// acts as that subsystem would with nothing open. A menu command that needs
// an empty operation is disabled at start-up (Services::Bound).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace monitor {

// The control panel, the debug views and the trace window.
struct DebugViewServices {
  // Reads and shows the trace; no effect while no trace window can be open.
  std::function<void()> UpdateTraceWindow;
  std::function<void()> ShowFindDialog;
  std::function<void()> FindNextInView;
  std::function<void()> FillLabelList;
  // Empties the go-to-label dialog's typed prefix while it is loaded.
  std::function<void()> ClearLabelPrefix;
};

// Editors, projects and builds.
struct WorkbenchServices {
  std::function<void()> LoadRecentProjects;
  std::function<void()> LoadRecentFileList;
  // 6 Yes (after saving), 7 No, 2 Cancel.
  std::function<int16_t()> AskSaveProject;
  // The answer when the project was modified, empty when it was not.
  std::function<std::optional<int16_t>()> SaveProjectCommand;
  std::function<void()> NewProject, OpenProjectCommand, SaveProject, SaveProjectAs, CloseProject;
  std::function<void(const std::string& path)> OpenProjectFile;
  // The project's mark lists into the program grid after a code load.
  std::function<void()> ApplyBreakpointLine, ApplyTracepointLine;
  std::function<void()> OpenNewEditor;
  std::function<void(const std::string& path)> LoadSourceFile;
  std::function<void()> ShowOpenFileDialog;
  // Asks for each changed editor whether to save it, before code is loaded.
  std::function<void()> QuerySaveDocuments;
  std::function<void()> BuildProject, LaunchAssembler;
  std::function<void()> DisassembleBinary, ConvertCodToBin;
};

struct Services {
  DebugViewServices debug;
  WorkbenchServices workbench;

  // True when the operation of that name is bound. Unknown names are false.
  bool Bound(const std::string& operation) const;

  // The operations with what they answer while they are not bound.
  int16_t AskSaveProject() const;
  std::optional<int16_t> SaveProjectCommand() const;
  // Calls a bound operation without arguments; nothing when it is not bound.
  static void Call(const std::function<void()>& operation) {
    if (operation) operation();
  }
};

}  // namespace monitor
