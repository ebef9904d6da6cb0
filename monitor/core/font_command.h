#pragma once
// Edit > Font: the font of the debug view that the active child's caption
// names (the control panel's program grid, the watch window's controls, the
// RAM window's grid and edit box), chosen in the font dialog, applied to the
// text controls the view declares (DebugView) and stored under the view's
// registry key. A child captioned otherwise, or no child, gets the dialog and
// no change.
#include <QString>
#include <string>

namespace monitor {

class MonitorState;

void FontCommand(MonitorState& state);

// The registry key of the view a caption names, or "" for none.
std::string FontKeyOf(const QString& caption);

}  // namespace monitor
