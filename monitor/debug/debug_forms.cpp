#include "debug/debug_forms.h"

#include "core/code_grid.h"
#include "core/data_cells.h"
#include "core/monitor_state.h"
#include "core/panel_controls.h"
#include "core/view.h"
#include "core/view_clearing.h"
#include "debug/display.h"
#include "debug/iceview.h"
#include "debug/ramwin.h"
#include "debug/search_dialogs.h"
#include "debug/symbol_loader.h"
#include "debug/tracewin.h"
#include "debug/watchwin.h"

namespace monitor {

void RegisterDebugForms(MonitorState& state) {
  using platform::FormKind;
  state.Forms.Register("IceView", FormKind::MdiChild, [&state] { return new IceView(state); });
  state.Forms.Register("Display", FormKind::MdiChild, [&state] { return new Display(state); });
  state.Forms.Register("Watchwin", FormKind::MdiChild, [&state] { return new Watchwin(state); });
  state.Forms.Register("RAMWin", FormKind::MdiChild, [&state] { return new RAMWin(state); });
  RegisterSearchDialogs(state);
  RegisterTraceForms(state);
  state.Seams.debug.LoadSymbolFile = [&state](const std::string& path) {
    LoadSymbolFile(state, path);
  };
  state.Seams.debug.FillRamWindow = [&state] { FillRamWindow(state); };
  state.Seams.debug.FindCodeRow = [&state](int32_t address) { return FindCodeRow(state, address); };
  state.Seams.debug.SetBreakpoint = [&state](int32_t address, bool on) {
    SetBreakpoint(state, address, on);
  };
  state.Seams.debug.SetTracepoint = [&state](int32_t address, bool on) {
    SetTracepoint(state, address, on);
  };
  state.Seams.link.RefreshAfterStop = [&state] { RefreshAfterStop(state); };
  state.Seams.debug.RefreshPanel = [&state] { RefreshPanel(state); };
  state.Seams.debug.ShowCodeRow = [&state](int16_t row) {
    if (PanelControls* panel = Panel(state)) ShowCodeRow(*panel->grdProgram, row, 1);
  };
  state.Seams.debug.ClearPanelState = [&state] { ClearPanelState(state); };
  state.Seams.debug.ClearCommandBits = [&state] { ClearCommandBits(state); };
}

}  // namespace monitor
