#pragma once
// Text helpers shared by the assembler's output files: number formats, the
// print-zone line writer, ASCII case and blank trimming.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace k42asm {

// A number as the old BASIC Str$ writes it: a leading blank unless negative.
std::string StrNumber(int64_t value);

// Decimal with leading zeros to at least `width` digits ("-0001" for -1).
std::string FormatLineNumber(int64_t value, int width);

// The low 16 bits as exactly four upper-case hexadecimal digits.
std::string FormatHex(int64_t value);

// Builds one line by the print-zone rule: ";" joins fields directly, ","
// moves to the next 14-column zone that starts after the current column.
class PrintZoneLine {
 public:
  PrintZoneLine& Join(const std::string& field) {
    text_ += field;
    return *this;
  }
  PrintZoneLine& NextZone();
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

std::string UpperAscii(std::string text);
std::string TrimLeft(const std::string& text);
std::string TrimRight(const std::string& text);
std::string Trim(const std::string& text);
std::string_view TrimLeft(std::string_view text);
std::string_view TrimRight(std::string_view text);
std::string_view Trim(std::string_view text);

// Takes the next comma-separated field off `text`: the field up to the first
// "," without trailing blanks; `text` keeps what follows, without leading blanks.
std::string NextToken(std::string& text);

// Walks a comma-separated list field by field as NextToken does, without
// copying the rest at every step (a list may fill a line of megabytes).
class ListCursor {
 public:
  explicit ListCursor(std::string_view text) : rest_(text) {}
  bool empty() const { return rest_.empty(); }
  std::string_view rest() const { return rest_; }
  std::string Next();

 private:
  std::string_view rest_;
};

// The fields of a list, by ListCursor; an empty text has none.
std::vector<std::string> SplitList(std::string_view text);

// The number at the start of a text as the old BASIC Val reads it: leading
// blanks skipped, "&H" hexadecimal, otherwise decimal with optional fraction
// and exponent; nothing readable gives 0.
double ValNumber(const std::string& text);

}  // namespace k42asm
