#include "workbench/workbench.h"

#include "core/monitor_state.h"
#include "workbench/filopen.h"
#include "workbench/frmfind.h"
#include "workbench/frmnotepad.h"
#include "workbench/mdinote.h"
#include "workbench/project.h"
#include "workbench/project_dialog.h"
#include "workbench/project_lists.h"
#include "workbench/recent_files.h"

namespace monitor {

void BindWorkbench(Workbench& bench) {
  using platform::FormKind;
  MonitorState& state = bench.State;
  state.Forms.Register("frmNotePad", FormKind::MdiChild,
                       [&bench] { return new frmNotePad(bench); });
  state.Forms.Register("frmFind", FormKind::Dialog, [&bench] { return new frmFind(bench); });
  WorkbenchServices& seams = state.Seams.workbench;
  seams.OpenNewEditor = [&bench] { OpenNewEditor(bench); };
  seams.LoadSourceFile = [&bench](const std::string& path) { LoadSourceFile(bench, path); };
  seams.ShowOpenFileDialog = [&bench] { ShowOpenFileDialog(bench); };
  seams.LoadRecentFileList = [&bench] { LoadRecentFileList(bench); };
  seams.QuerySaveDocuments = [&bench] { QuerySaveDocuments(bench); };
  BindProject(state);
}

void BindProject(MonitorState& state) {
  state.Forms.Register("Project", platform::FormKind::Dialog,
                       [&state] { return new Project(state); });
  WorkbenchServices& seams = state.Seams.workbench;
  MonitorState* s = &state;
  seams.LoadRecentProjects = [s] { LoadRecentProjects(*s); };
  seams.AskSaveProject = [s] { return AskSaveProject(*s); };
  seams.SaveProjectCommand = [s] { return SaveProjectCommand(*s); };
  seams.NewProject = [s] { NewProject(*s); };
  seams.OpenProjectCommand = [s] { OpenProjectCommand(*s); };
  seams.SaveProject = [s] { SaveProject(*s); };
  seams.SaveProjectAs = [s] { SaveProjectAs(*s); };
  seams.CloseProject = [s] { CloseProject(*s); };
  seams.OpenProjectFile = [s](const std::string& path) { OpenProjectFile(*s, path); };
  seams.ApplyBreakpointLine = [s] { ApplyBreakpointLine(*s); };
  seams.ApplyTracepointLine = [s] { ApplyTracepointLine(*s); };
}

}  // namespace monitor
