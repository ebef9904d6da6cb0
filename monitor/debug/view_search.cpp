#include "debug/view_search.h"

#include <algorithm>

#include "core/code_grid.h"
#include "core/debug_view.h"
#include "core/monitor_state.h"
#include "core/panel_controls.h"
#include "platform/forms.h"
#include "platform/grid_control.h"
#include "platform/list_controls.h"
#include "platform/messagebox.h"

namespace monitor {

namespace {

const char* const kAppTitle = "Tavix";

// 1-based position of `text` in `cell`, or 0. An empty text occurs nowhere:
// searching for nothing finds nothing.
int Occurrence(const QString& cell, const QString& text, Qt::CaseSensitivity sensitivity) {
  if (text.isEmpty()) return 0;
  return static_cast<int>(cell.indexOf(text, 0, sensitivity)) + 1;
}

bool WordCharacter(QChar c) {
  const char16_t u = c.unicode();
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9');
}

bool Matches(const QString& cell, const QString& text, int options) {
  const int p = Occurrence(
      cell, text, (options & kSearchMatchCase) != 0 ? Qt::CaseSensitive : Qt::CaseInsensitive);
  if (p == 0) return false;
  if ((options & kSearchWholeWord) == 0) return true;
  if (p > 1 && WordCharacter(cell.at(p - 2))) return false;
  const qsizetype after = p - 1 + text.size();
  return after >= cell.size() || !WordCharacter(cell.at(after));
}

}  // namespace

SearchView ActiveSearchView(const MonitorState& state) {
  static constexpr const char* kViewForms[] = {"IceView", "Watchwin", "RAMWin"};
  const platform::ChildHost* frame = state.Forms.Frame();
  const platform::Form* child = frame != nullptr ? frame->ActiveChild() : nullptr;
  const auto* view = dynamic_cast<const DebugView*>(child);
  if (view == nullptr) return {};
  for (int slot = 0; slot < 3; ++slot) {
    if (child->objectName() == QLatin1String(kViewForms[slot])) return {view->SearchGrid(), slot};
  }
  return {};
}

int MatchText(const platform::GridControl& grid, const QString& text, int options, int first,
              int last) {
  first = std::max(first, 0);
  last = std::min(last, grid.Rows() - 1);
  for (int row = first; row <= last; ++row) {
    for (int col = 0; col < grid.Cols(); ++col) {
      if (Matches(grid.TextMatrix(row, col), text, options)) return row;
    }
  }
  return -1;
}

void ShowFindDialog(MonitorState& state) {
  state.Forms.Show("FormFind");
}

void FindNextInView(MonitorState& state, LastFoundRows& lastFound, const QString& text,
                    int options) {
  const SearchView view = ActiveSearchView(state);
  if (view.grid == nullptr) return;
  platform::GridControl& grid = *view.grid;
  int32_t& lastHit = lastFound[static_cast<size_t>(view.slot)];
  int row = MatchText(grid, text, options, lastHit + 1, grid.Rows() - 1);
  if (row < 0 && lastHit > 1) {
    if (platform::MessageBox("End of File arrived; continue from start ?", kAppTitle,
                             platform::MB_YESNO | platform::MB_ICONQUESTION) != platform::IDYES) {
      return;
    }
    row = MatchText(grid, text, options, 1, lastHit);
  }
  if (row >= 0) {
    lastHit = row;
    ShowCodeRow(grid, row, 1);
    return;
  }
  platform::MessageBox("not found", kAppTitle, platform::MB_OK | platform::MB_ICONEXCLAMATION);
  lastHit = 0;
}

void GoToLabel(MonitorState& state, const QString& label) {
  PanelControls* panel = Panel(state);
  if (panel == nullptr) return;
  platform::GridControl& grid = *panel->grdProgram;
  grid.SetCol(kLabelColumn);
  for (int row = 1; row < grid.Rows(); ++row) {
    if (grid.TextMatrix(row, kLabelColumn) == label) {
      ShowCodeRow(grid, row, 1);
      return;
    }
  }
}

void FillLabelList(MonitorState& state, platform::ListBox& list) {
  list.Clear();
  PanelControls* panel = Panel(state);
  if (panel == nullptr) return;
  platform::GridControl& grid = *panel->grdProgram;
  grid.SetCol(kLabelColumn);
  for (int row = 1; row < grid.Rows(); ++row) {
    const QString label = grid.TextMatrix(row, kLabelColumn);
    if (!label.isEmpty()) list.AddItem(label);
  }
}

}  // namespace monitor
