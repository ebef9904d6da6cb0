#include "workbench/tools/workbench_tools.h"

#include "core/monitor_state.h"
#include "workbench/tools/code_file_commands.h"
#include "workbench/tools/dissassamble_params.h"
#include "workbench/tools/frmabout.h"
#include "workbench/tools/frmtip.h"

namespace monitor {

void BindWorkbenchTools(MonitorState& state) {
  using platform::FormKind;
  state.Forms.Register("Dissassamble_params", FormKind::Dialog,
                       [&state] { return new Dissassamble_params(state); });
  state.Forms.Register("frmAbout", FormKind::Dialog, [] { return new frmAbout(); });
  state.Forms.Register("frmTip", FormKind::Dialog, [&state] { return new frmTip(state); });
  state.Seams.workbench.DisassembleBinary = [&state] { DisassembleBinary(state); };
  state.Seams.workbench.ConvertCodToBin = [&state] { ConvertCodToBin(state); };
}

}  // namespace monitor
