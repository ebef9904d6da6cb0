#include "workbench/workbench.h"

#include "core/monitor_state.h"
#include "workbench/filopen.h"
#include "workbench/frmfind.h"
#include "workbench/frmnotepad.h"
#include "workbench/mdinote.h"
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
}

}  // namespace monitor
