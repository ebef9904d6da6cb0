#pragma once
// The watch window's list as the core and the other windows read it: the
// rows as the window shows them from its first data row (label, address, the
// value shown, the R, W and IO marks, the condition's Rel and Match), ending
// with the empty entry row, the window's current row and its register
// symbols. The window keeps the list and draws it; the core fills in values
// and asks the open windows to draw them.
#include <QString>
#include <functional>
#include <vector>

namespace monitor {

struct WatchRow {
  QString label, address, data;
  QString read, write, io;  // "X" when marked
  QString rel, match;
};

// A register symbol of the loaded symbol file, beside the watch rows.
struct WatchSymbol {
  QString label, value;
};

struct WatchList {
  // Rows numbered from 1 as the window numbers them; the last is the entry row.
  std::vector<WatchRow> rows;
  int current = 0;
  // The register symbols, in the order the window lists them from its row 1.
  std::vector<WatchSymbol> symbols;
  // Set by the watch and RAM windows while they are open: each draws the
  // values the core has put in the list or in the register file.
  std::function<void()> DrawWatch, DrawRam;
  // Brings symbol `row` (from 1) into the watch window's view; set while open.
  std::function<void(int row)> ShowSymbol;

  bool Open() const { return static_cast<bool>(DrawWatch); }
  int Count() const { return static_cast<int>(rows.size()); }
  // Row `row` from 1, or null past either end.
  const WatchRow* Row(int row) const {
    return row >= 1 && row <= Count() ? &rows[static_cast<size_t>(row - 1)] : nullptr;
  }
};

}  // namespace monitor
