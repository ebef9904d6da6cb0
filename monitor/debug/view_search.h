#pragma once
// The debug views' search and label look-up: a text
// searched in the grid of the active view, the program grid moved to a label,
// and the label list of the go-to-label dialog. The program grid's own
// look-ups (FindCodeRow, ShowCodeRow) are in core/code_grid.h.
#include <QString>
#include <array>
#include <cstdint>

namespace platform {
class GridControl;
class ListBox;
}  // namespace platform

namespace monitor {

class MonitorState;

// Search options: bit 0 whole words only, bit 1 match case.
inline constexpr int kSearchWholeWord = 1, kSearchMatchCase = 2;

// The row of the last hit in each searchable view (slot 0 program, 1 watch
// symbols, 2 RAM): 0 before a hit, so the next search starts at row 1.
using LastFoundRows = std::array<int32_t, 3>;

// The searchable view of the main window's active child window, with the
// grid it declares (DebugView): the panel searches grdProgram (slot 0), the
// watch window grdSymbols (1), the RAM window grdRAM (2). Any other window,
// or none: no grid.
struct SearchView {
  platform::GridControl* grid = nullptr;
  int slot = -1;
};
SearchView ActiveSearchView(const MonitorState& state);

// The first row from `first` to `last` (kept within the grid) with a cell
// holding `text`, or -1. Only the first occurrence in a cell is judged; with
// whole words it must have no ASCII letter or digit on either side. An empty
// text matches nothing.
int MatchText(const platform::GridControl& grid, const QString& text, int options, int first,
              int last);

// Shows the find dialog FormFind, not modal.
void ShowFindDialog(MonitorState& state);

// Searches the active view for `text` from the row after its last hit and
// selects the row found. At the end, after an earlier hit, it asks whether to
// go on from the start; nothing found says "not found" and the next search
// starts at row 1.
void FindNextInView(MonitorState& state, LastFoundRows& lastFound, const QString& text,
                    int options);

// Shows and selects the first program-grid row whose Label cell is `label`
// exactly; the grid's current column becomes the Label column either way.
void GoToLabel(MonitorState& state, const QString& label);

// The program grid's non-empty Label cells into `list`, one entry per cell.
void FillLabelList(MonitorState& state, platform::ListBox& list);

}  // namespace monitor
