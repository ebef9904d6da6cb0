#include "core/code_grid.h"

#include <algorithm>

#include "core/panel_controls.h"
#include "platform/grid_control.h"
#include "platform/messagebox.h"
#include "platform/twips.h"

namespace monitor {

void ShowCodeRow(platform::GridControl& grid, int row, int fixedRows) {
  const int rows = grid.Rows();
  if (row < fixedRows || row > rows - 1) {
    platform::Beep();
    return;
  }
  // Rows that fit, from the grid's height and the height of a row plus its
  // spacing; at least one.
  const int rowHeight = static_cast<int>(grid.RowHeight(1) * 1.12);
  const int height = platform::PixelsToTwips(grid.height());
  const int visible = std::max(1, rowHeight > 0 ? height / rowHeight : 1);
  int top = grid.TopRow();
  int bottom = top + visible - 1;
  if (row < top || row > bottom) {
    top = row;
    bottom = row + visible - 1;
    if (bottom > rows) {
      bottom = rows;
      top = std::max(1, rows - visible);
    }
    const int context = std::clamp(top - fixedRows - 5, 0, 5);
    grid.SetTopRow(bottom - row < 8 ? top : top - context);
  }
  grid.SetSelection(row, 0, row, grid.Cols() - 1);
}

void SetGridSelection(platform::GridControl& grid) {
  grid.SetSelection(1, 0, 1, 0);
}

int16_t FindCodeRow(const platform::GridControl& grid, int32_t address) {
  const QString text = QString::asprintf("%04X", static_cast<unsigned>(address) & 0xFFFFu);
  return static_cast<int16_t>(grid.FindInColumn(kAddrColumn, text));
}

int16_t FindCodeRow(const MonitorState& state, int32_t address) {
  const PanelControls* panel = Panel(state);
  return panel != nullptr ? FindCodeRow(*panel->grdProgram, address) : int16_t{-1};
}

}  // namespace monitor
