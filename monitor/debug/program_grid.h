#pragma once
// The program grid's mouse: trace points by dragging over the T column
// (Ctrl unmarks), breakpoints by double-clicking the B column (the whole
// column selected clears them all), and the symbol of an operand looked up
// in the watch window's symbol grid by double-clicking it.
#include <QString>
#include <cstdint>

namespace platform {
class GridControl;
}

namespace monitor {

class IceView;
class MonitorState;

// On the current cell: "X" becomes "" (false), anything else "X" (true).
// Returns the row's address (-1 when its Addr is no program address) and
// the new state.
int32_t ToggleGridMark(platform::GridControl& grid, bool& state);

// Skips characters other than A-Z, digits, "_" and "."; returns the run of
// such characters after them and leaves what follows it in `text`.
QString GetWordAt(QString& text);

void grdProgram_MouseDown(MonitorState& state, IceView& panel, int button, int shift);
void grdProgram_MouseUp(MonitorState& state, IceView& panel, int shift);
void grdProgram_DblClick(MonitorState& state, IceView& panel);

}  // namespace monitor
