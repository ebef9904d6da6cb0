#pragma once
// The project's breakpoint and trace-point lists and the program grid.
//
// A list holds program addresses in decimal, four digits each, joined by ","
// ("0005,0300,4095"); an empty list is empty. Collecting reads the rows whose
// mark cell ("B" or "T") holds "X" and takes each row's address from its Addr
// cell, so a program with gaps keeps its marks at the right addresses. At
// most 10 breakpoints and 50 trace points are kept, the first in grid order.
// Applying puts "X" back into the row of each listed address and marks the
// address through the given setter.
#include <cstdint>
#include <functional>
#include <string>

namespace platform {
class GridControl;
}

namespace monitor {

class MonitorState;

enum class MarkKind { Breakpoint, Tracepoint };

// The marks of one column of the grid as a list. More marks than the limit
// show "only the first <n> breakpoints will be saved !" (or tracepoints)
// once, and the first ones are kept. A row whose Addr cell is not 1 to 4
// hexadecimal digits below 1000 (hex) does not count.
std::string CollectMarks(const platform::GridControl& grid, MarkKind kind);

// The row of an address, or -1; and the mark of an address.
using CodeRowFinder = std::function<int(int32_t address)>;
using MarkSetter = std::function<void(int32_t address, bool on)>;

// Marks every address of `list` that has a row: "X" in its cell first, then
// the setter. An entry is read as a decimal number after leading blanks; one
// without digits, outside 0..4095 or without a row is skipped silently.
// Marks already in the grid stay.
void ApplyMarks(platform::GridControl& grid, MarkKind kind, const std::string& list,
                const CodeRowFinder& findRow, const MarkSetter& setMark);

// The control panel's program grid, or null while the panel is not loaded.
platform::GridControl* ProgramGrid(const MonitorState& state);

// BreakpointList and TracepointList from the panel's grid; nothing without it.
void CollectBreakpoints(MonitorState& state);
void CollectTracepoints(MonitorState& state);
// The lists into the panel's grid after a code load, through FindCodeRow,
// SetBreakpoint and SetTracepoint; nothing without the panel.
void ApplyBreakpointLine(MonitorState& state);
void ApplyTracepointLine(MonitorState& state);

}  // namespace monitor
