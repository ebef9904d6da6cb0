#include "debug/program_grid.h"

#include <algorithm>

#include "core/code_grid.h"
#include "core/data_cells.h"
#include "core/monitor_state.h"
#include "debug/iceview.h"
#include "platform/grid_control.h"
#include "platform/hooks.h"

namespace monitor {

namespace {

constexpr int kCtrl = 2;

int32_t RowAddress(const platform::GridControl& grid, int row) {
  return ProgramAddress(grid.TextMatrix(row, kAddrColumn).toStdString()).value_or(-1);
}

bool WordCharacter(QChar c) {
  return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.';
}

// Marks reach the cells only for rows that name a program address.
void MarkRow(MonitorState& state, void (*mark)(MonitorState&, int32_t, bool), int32_t address,
             bool on) {
  if (address >= 0) mark(state, address, on);
  state.ProjectModified = -1;
}

void LookUpSymbol(MonitorState& state, platform::GridControl& grid) {
  grid.SetSelection(grid.Row(), grid.Col(), grid.Row(), grid.Col());
  QString operand = grid.Text().toUpper();
  QString word = GetWordAt(operand);
  if (word == "NOT") word = GetWordAt(operand);
  if (word.isEmpty()) return;
  const std::vector<WatchSymbol>& symbols = state.Watch.symbols;
  const auto found = std::find_if(symbols.begin(), symbols.end(),
                                  [&word](const WatchSymbol& symbol) { return symbol.label == word; });
  if (found == symbols.end()) {
    state.LastSymbolName.clear();
    return;
  }
  state.LastSymbolName = word.toStdString();
  state.LastSymbolValue = found->value.toStdString();
  if (state.Watch.ShowSymbol) state.Watch.ShowSymbol(static_cast<int>(found - symbols.begin()) + 1);
}

}  // namespace

int32_t ToggleGridMark(platform::GridControl& grid, bool& state) {
  state = grid.Text() != "X";
  grid.SetText(state ? "X" : "");
  return RowAddress(grid, grid.Row());
}

QString GetWordAt(QString& text) {
  qsizetype start = 0;
  while (start < text.size() && !WordCharacter(text[start])) ++start;
  qsizetype end = start;
  while (end < text.size() && WordCharacter(text[end])) ++end;
  const QString word = text.mid(start, end - start);
  text = text.mid(end);
  return word;
}

void grdProgram_MouseDown(MonitorState&, IceView& panel, int, int) {
  panel.TraceColumnFlag = panel.grdProgram->MouseCol() == kTraceColumn ? -1 : 0;
}

void grdProgram_MouseUp(MonitorState& state, IceView& panel, int shift) {
  platform::GridControl& grid = *panel.grdProgram;
  if (panel.TraceColumnFlag == 0 || grid.Col() != kTraceColumn) return;
  const int first = grid.SelStartRow();
  const int last = std::min(grid.SelEndRow(), grid.Rows() - 2);
  for (int row = first; row <= last; ++row) {
    grid.SetRow(row);
    grid.SetCol(kTraceColumn);
    bool on = grid.Text() == "X";
    if ((on && shift == kCtrl) || (!on && shift == 0)) ToggleGridMark(grid, on);
    MarkRow(state, SetTracepoint, RowAddress(grid, row), on);
  }
  grid.Refresh();
}

void grdProgram_DblClick(MonitorState& state, IceView& panel) {
  platform::GridControl& grid = *panel.grdProgram;
  const int mouseRow = grid.MouseRow();
  if (grid.Col() == kOperandColumn && mouseRow >= 1) {
    LookUpSymbol(state, grid);
    return;
  }
  if (grid.MouseCol() != kBreakColumn || mouseRow < 0) return;
  const bool wholeColumn =
      mouseRow == 0 || (grid.SelStartRow() == 1 && grid.SelEndRow() > grid.SelStartRow());
  if (wholeColumn) {
    state.ProjectModified = -1;
    for (int row = 1; row < grid.Rows(); ++row) {
      if (grid.TextMatrix(row, kBreakColumn) != "X") continue;
      grid.SetTextMatrix(row, kBreakColumn, "");
      MarkRow(state, SetBreakpoint, RowAddress(grid, row), false);
    }
    return;
  }
  if (grid.Row() < 1 || grid.Row() > grid.Rows() - 1) return;
  bool on = false;
  const int32_t address = ToggleGridMark(grid, on);
  MarkRow(state, SetBreakpoint, address, on);
}

// The grid's mouse events to the handlers above.
void IceView::BindProgramGrid() {
  IceView& panel = *this;
  MonitorState& state = state_;
  platform::GridControl& grid = *panel.grdProgram;
  grid.onMouseDown = [&state, &panel](int button, int shift, int, int) {
    grdProgram_MouseDown(state, panel, button, shift);
  };
  grid.onMouseUp = [&state, &panel](int, int shift, int, int) {
    platform::GuardedCall([&] { grdProgram_MouseUp(state, panel, shift); });
  };
  grid.onDblClick = [&state, &panel] {
    platform::GuardedCall([&] { grdProgram_DblClick(state, panel); });
  };
}

}  // namespace monitor
