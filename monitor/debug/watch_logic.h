#pragma once
// The plain rules behind the watch and RAM windows, kept apart from the
// widgets: the condition text of a watch row, the symbol file's register
// symbols, the RAM rows' labels and the grids' proportional columns.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace monitor {

// A data-breakpoint condition as typed into Rel/Match: the mode (">" 1,
// "=" 2, "<" 4, each set once) and the 4-bit compare value, with the texts
// the grid shows for them.
struct WatchCondition {
  int32_t mode = 7;
  int32_t compare = 0;
  std::string rel = "<>=";
  std::string match = "0000";
};

// Trailing blanks are ignored; an empty text means "always" (mode 7). The
// relation characters lead; the first other character starts the compare
// value (hexadecimal, low four bits), and with no relation the mode is 2.
WatchCondition ParseCondition(const std::string& text);

// The Rel text of a mode: "<", ">", "=" in that order.
std::string RelationText(int32_t mode);

struct SymbolRow {
  std::string label;
  std::string value;  // the last four characters of the value field, as written
};

// The register symbols ("-Reg") of a symbol file's lines, in file order.
// Nothing is taken before the indented "Value:Length" column line; a symbol
// stands on one line, or as a lone name followed by an indented value line.
std::vector<SymbolRow> ReadSymbols(const std::vector<std::string>& lines);

// The lines of a file, bytes one-to-one, LF or CR LF ends. An unreadable
// file gives no lines.
std::vector<std::string> ReadTextLines(const std::string& path);

// For each of the 128 register cells, the label of the first symbol row whose
// value is that address; empty when none is.
std::array<std::string, 128> RamLabels(const std::vector<SymbolRow>& symbols);


}  // namespace monitor
