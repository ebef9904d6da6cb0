#include "debug/symbol_loader.h"

#include "core/monitor_state.h"
#include "core/panel_controls.h"
#include "debug/watch_logic.h"
#include "debug/watchwin.h"
#include "platform/filenames.h"

namespace monitor {

void LoadSymbolFile(MonitorState& state, const std::string& path) {
  auto* window = dynamic_cast<Watchwin*>(state.Forms.Load("Watchwin"));
  if (window == nullptr) return;
  // Found without regard to case, as the listing beside it is.
  const std::vector<SymbolRow> symbols = ReadSymbols(ReadTextLines(platform::FindOrKeepPath(path)));
  platform::GridControl& grid = *window->grdSymbols;
  grid.BeginUpdate();
  // The list always ends with two empty rows; none of an earlier load stays.
  grid.SetRows(3);
  for (int col = 0; col < grid.Cols(); ++col) {
    grid.SetTextMatrix(1, col, "");
    grid.SetTextMatrix(2, col, "");
  }
  grid.SetRows(static_cast<int>(symbols.size()) + 3);
  for (size_t i = 0; i < symbols.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    grid.SetTextMatrix(row, 0, QString::fromLatin1(symbols[i].label));
    grid.SetTextMatrix(row, 1, QString::fromLatin1(symbols[i].value));
  }
  grid.EndUpdate();
  grid.SetRow(static_cast<int>(symbols.size()) + 1);
  std::vector<WatchSymbol>& listed = state.Watch.symbols;
  listed.clear();
  for (const SymbolRow& symbol : symbols)
    listed.push_back({QString::fromLatin1(symbol.label), QString::fromLatin1(symbol.value)});
  FocusPanel(state);
}

}  // namespace monitor
