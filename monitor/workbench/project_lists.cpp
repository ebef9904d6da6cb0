#include "workbench/project_lists.h"

#include <cstdio>

#include "core/code_grid.h"
#include "core/monitor_state.h"
#include "core/panel_controls.h"
#include "platform/grid_control.h"
#include "platform/messagebox.h"

namespace monitor {

namespace {

constexpr int32_t kLastAddress = 0x0FFF;

struct MarkRules {
  int column;
  size_t limit;
  const char* word;
};

MarkRules RulesOf(MarkKind kind) {
  return kind == MarkKind::Breakpoint ? MarkRules{0, 10, "breakpoints"}
                                      : MarkRules{1, 50, "tracepoints"};
}

// The address of an Addr cell: 1 to 4 hexadecimal digits below 1000 (hex).
int32_t AddressOf(const QString& cell) {
  if (cell.isEmpty() || cell.size() > 4) return -1;
  int32_t value = 0;
  for (const QChar c : cell) {
    const char16_t u = c.unicode();
    const int digit = u >= '0' && u <= '9'   ? u - '0'
                      : u >= 'A' && u <= 'F' ? u - 'A' + 10
                      : u >= 'a' && u <= 'f' ? u - 'a' + 10
                                             : -1;
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value <= kLastAddress ? value : -1;
}

// A list entry: leading blanks, then decimal digits; -1 without digits or
// above the last address.
int32_t EntryAddress(const std::string& entry) {
  size_t i = entry.find_first_not_of(' ');
  if (i == std::string::npos || entry[i] < '0' || entry[i] > '9') return -1;
  int64_t value = 0;
  for (; i < entry.size() && entry[i] >= '0' && entry[i] <= '9'; ++i) {
    value = value * 10 + (entry[i] - '0');
    if (value > kLastAddress) return -1;
  }
  return static_cast<int32_t>(value);
}

}  // namespace

std::string CollectMarks(const platform::GridControl& grid, MarkKind kind) {
  const MarkRules rules = RulesOf(kind);
  std::string list;
  size_t count = 0;
  for (int row = 1; row < grid.Rows(); ++row) {
    if (grid.TextMatrix(row, rules.column) != "X") continue;
    const int32_t address = AddressOf(grid.TextMatrix(row, kAddrColumn));
    if (address < 0) continue;
    if (++count > rules.limit) {
      platform::MessageBox(
          "only the first " + std::to_string(rules.limit) + " " + rules.word + " will be saved !",
          "Tavix", platform::MB_OK | platform::MB_ICONEXCLAMATION);
      break;
    }
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04d", address);
    if (!list.empty()) list += ',';
    list += digits;
  }
  return list;
}

void ApplyMarks(platform::GridControl& grid, MarkKind kind, const std::string& list,
                const CodeRowFinder& findRow, const MarkSetter& setMark) {
  if (list.empty()) return;
  const int column = RulesOf(kind).column;
  grid.BeginUpdate();
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    const int32_t address = EntryAddress(list.substr(start, end - start));
    start = end + 1;
    if (address < 0) continue;
    const int row = findRow(address);
    if (row < 1 || row >= grid.Rows()) continue;
    // The cell first: marking an address sends its row's marks as they stand.
    grid.SetTextMatrix(row, column, "X");
    if (setMark) setMark(address, true);
  }
  grid.EndUpdate();
}

platform::GridControl* ProgramGrid(const MonitorState& state) {
  PanelControls* panel = Panel(state);
  return panel != nullptr ? panel->grdProgram : nullptr;
}

void CollectBreakpoints(MonitorState& state) {
  if (platform::GridControl* grid = ProgramGrid(state))
    state.BreakpointList = CollectMarks(*grid, MarkKind::Breakpoint);
}

void CollectTracepoints(MonitorState& state) {
  if (platform::GridControl* grid = ProgramGrid(state))
    state.TracepointList = CollectMarks(*grid, MarkKind::Tracepoint);
}

namespace {

void ApplyLine(MonitorState& state, MarkKind kind) {
  platform::GridControl* grid = ProgramGrid(state);
  if (grid == nullptr) return;
  auto* const set = kind == MarkKind::Breakpoint ? &SetBreakpoint : &SetTracepoint;
  ApplyMarks(
      *grid, kind, kind == MarkKind::Breakpoint ? state.BreakpointList : state.TracepointList,
      [grid](int32_t address) { return FindCodeRow(*grid, address); },
      [&state, set](int32_t address, bool on) { set(state, address, on); });
}

}  // namespace

void ApplyBreakpointLine(MonitorState& state) {
  ApplyLine(state, MarkKind::Breakpoint);
}

void ApplyTracepointLine(MonitorState& state) {
  ApplyLine(state, MarkKind::Tracepoint);
}

}  // namespace monitor
