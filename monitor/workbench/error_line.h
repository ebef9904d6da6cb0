#pragma once
// Reading the assembler's output lines: the program size, the file and line
// of an error, and the selection of that line in an editor's text.
#include <cstdint>
#include <optional>
#include <string>

class QTextDocument;

namespace monitor {

// The number at the start of a text: leading blanks, an optional sign,
// decimal digits and an optional fraction. Anything after it is ignored; no
// digits read 0.
double LeadingNumber(const std::string& text);
// LeadingNumber rounded to the nearest integer, halves to even, and held
// within `low`..`high`.
int64_t RoundedNumber(const std::string& text, int64_t low, int64_t high);

// The size in a line holding "Prog-Size": the number read from its characters
// 11 to 14, whatever stands there (the digits of "Prog-Size=nnnn").
int16_t ParseProgramSize(const std::string& line);

// An error line: the file named before " ERROR ", and the number after the
// first "line " (one less than the line's 1-based number), when there is one.
struct ErrorItem {
  std::string fileName;
  std::optional<int16_t> line;
};
// Nothing for an empty item, one without "ERROR", or one with no file name
// before it.
std::optional<ErrorItem> ParseErrorItem(const std::string& item);

// The selection of error line L in an editor's text: block L, from its first
// character to its end without the line end. A block that does not exist, or
// L below 0, gives the caret at 0 with no selection.
struct TextSelection {
  int start = 0;
  int length = 0;
};
TextSelection ErrorLineSelection(const QTextDocument& text, int line);

}  // namespace monitor
