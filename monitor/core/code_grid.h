#pragma once
// Operations on the program grid that every view shares: showing and
// selecting a row, resetting the selection, finding the row of an address.
#include <cstdint>

namespace platform {
class GridControl;
}

namespace monitor {

class MonitorState;

// The program grid's address column ("Addr").
inline constexpr int kAddrColumn = 3;

// Scrolls `grid` so that `row` is visible, with a few rows of context above
// it, and selects the whole row. A row below the fixed rows or past the last
// row beeps and changes nothing.
void ShowCodeRow(platform::GridControl& grid, int row, int fixedRows);

// The selection becomes row 1, column 0.
void SetGridSelection(platform::GridControl& grid);

// The first row from 1 whose address column holds the low 16 bits of
// `address` as "%04X", or -1. The current cell is unchanged.
int16_t FindCodeRow(const platform::GridControl& grid, int32_t address);
// The same in the panel's grdProgram; -1 while the panel is not loaded.
int16_t FindCodeRow(const MonitorState& state, int32_t address);

}  // namespace monitor
