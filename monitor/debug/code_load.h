#pragma once
// Loading an assembled program into the control panel: the listing reader,
// the program grid and cells it fills, and the panel's Load and Download
// buttons.
//
// The listing's code lines hold "line address code : text"; the reader turns
// each into a grid row of nine texts (B, T, Line, Addr, Code, Label, Instr,
// Operand, Remarks) and a program word, keeps labels of lines of their own
// for the next row, and skips macro definition bodies.
#include <QString>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace monitor {

class IceView;
class MonitorState;

// At most this many rows of code (rows 1 to 4,095).
inline constexpr int kMaxListingRows = 4095;

// True when `text` holds a macro start keyword (lookForStart) or end keyword
// with a blank before it and a blank or the end after it, in any case.
bool IsMacroLine(bool lookForStart, const std::string& text);

struct ListingWord {
  int32_t address;
  int32_t word;  // 16 bits
};

struct Listing {
  std::vector<std::array<QString, 9>> rows;
  // Every word the listing gave, rowless data words included, in order.
  std::vector<ListingWord> words;
  // Reading stopped at a bad address or code (the failing row is the last).
  bool failed = false;
  // The row limit stopped the reading: no empty row follows.
  bool full = false;
};

// The reader over the listing's lines (Latin-1, without line ends).
Listing LoadDebugInfo(const std::vector<std::string>& lines);

// Reads the listing file into grdProgram (one bulk fill) and ProgramCell:
// the flags of every cell cleared first, then the listed words written and
// recorded in ListedAddresses. A missing file or a bad field shows "Unable
// to find Debug information file"; what was read before stays.
void LoadDebugInfo(MonitorState& state, const std::string& path);

// The Load button's command; `button` is the mouse button (1 left).
void LoadCodeCommand(MonitorState& state, int button);
// The Download button's command (in-circuit emulator).
void DownloadCommand(MonitorState& state);

}  // namespace monitor
