#include "debug/search_dialogs.h"

#include <memory>

#include "core/monitor_state.h"
#include "debug/formfind.h"
#include "debug/formgolabel.h"
#include "debug/view_search.h"

namespace monitor {

namespace {

FormGoLabel* GoLabelDialog(const MonitorState& state) {
  return dynamic_cast<FormGoLabel*>(state.Forms.Get("FormGoLabel"));
}

}  // namespace

void RefillOpenLabelList(MonitorState& state) {
  if (FormGoLabel* dialog = GoLabelDialog(state)) FillLabelList(state, *dialog->ListLabels);
}

void RegisterSearchDialogs(MonitorState& state) {
  using platform::FormKind;
  // The history and the last hits outlive the dialog, as long as the monitor.
  auto memory = std::make_shared<FindMemory>();
  state.Forms.Register("FormFind", FormKind::Dialog,
                       [&state, memory] { return new FormFind(state, memory); });
  state.Forms.Register("FormGoLabel", FormKind::Dialog,
                       [&state] { return new FormGoLabel(state); });
  DebugViewServices& debug = state.Seams.debug;
  debug.ShowFindDialog = [&state] { ShowFindDialog(state); };
  debug.FindNextInView = [&state, memory] { FindNextFromMenu(state, *memory); };
  // The dialog fills its list as it loads; a closed one is left closed.
  debug.FillLabelList = [&state] { RefillOpenLabelList(state); };
  debug.ClearLabelPrefix = [&state] {
    if (FormGoLabel* dialog = GoLabelDialog(state)) dialog->ClearPrefix();
  };
}

}  // namespace monitor
