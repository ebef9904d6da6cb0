#include "debug/debug_forms.h"

#include "core/monitor_state.h"
#include "debug/display.h"
#include "debug/iceview.h"
#include "debug/ramwin.h"
#include "debug/search_dialogs.h"
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
}

}  // namespace monitor
