#pragma once
// Operations on the program grid that every view shares: showing and
// selecting a row, resetting the selection, finding the row of an address.
#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "k42target.h"

class QString;

namespace platform {
class GridControl;
}

namespace monitor {

class MonitorState;

// The program grid's columns.
inline constexpr int kBreakColumn = 0, kTraceColumn = 1, kLineColumn = 2, kAddrColumn = 3,
                     kCodeColumn = 4, kLabelColumn = 5, kInstrColumn = 6, kOperandColumn = 7,
                     kRemarkColumn = 8;

// Program memory: 4,096 words; what a download places where no row or listed
// word says otherwise.
inline constexpr int32_t kFillerUnit = 0xF0FF;
inline constexpr int32_t kBreakpointBit = 0x10000, kTracepointBit = 0x20000;

// Strict readings of the listing's and the grid's fields: a program address
// is 1-4 hex digits below 0x1000, a program word 1-4 hex digits (16 bits).
std::optional<int32_t> ProgramAddress(const std::string& text);
std::optional<int32_t> ProgramWord(const std::string& text);

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

// Bit 0 (breakpoint) or bit 1 (trace point) of the cell's flags; outside
// simulation the address's row is sent again with its marks. Addresses
// outside 0..4095 are ignored.
void SetBreakpoint(MonitorState& state, int32_t address, bool on);
void SetTracepoint(MonitorState& state, int32_t address, bool on);

// Sends the address's cell from ProgramMemory (word, + 0x10000 with its
// breakpoint, + 0x20000 with its trace point) to the target, as the download
// does. No grid row for the address: the message "ERROR: cannot find the Row
// corresponding to address", nothing sent.
void MarkCodeRow(MonitorState& state, int32_t address);

// The download's units from address 0 to the last listed address: a listed
// address gets its word from ProgramMemory (as the code load filled it) with
// its marks (+ 0x10000 breakpoint, + 0x20000 trace point), any other the
// filler.
std::vector<uint8_t> BuildDownloadStream(const std::vector<ProgramCell>& cells,
                                         const std::bitset<k42::kProgramCells>& listed);

// The listing text of the address's row: code right-aligned in 5 with "0",
// label right-aligned in 12, instruction in 6, operand in 20, remark in 20;
// "" when the address has no row.
QString FormatListingRow(const platform::GridControl& grid, int32_t address);
QString FormatListingRow(const MonitorState& state, int32_t address);

// The text from its first character above a blank; the whole text when there
// is none.
std::string TrimLeading(const std::string& text);
// 1-based position of the first character at or below a blank, or 0.
int16_t FirstBlank(const std::string& text);

}  // namespace monitor
