#pragma once
// Hexadecimal text of typed and displayed values, and the 16-bit flag test.
#include <cstdint>
#include <optional>
#include <string>

namespace monitor {

// Reads hex digits (either case, no prefix). Up to four digits are a 16-bit
// pattern, sign-extended whatever `wide` says ("FFFF" gives -1); five to
// eight digits a 32-bit pattern, only when `wide` is non-zero. Empty text,
// a character that is not a hex digit or a value too wide give 0.
int32_t HexToNumber(const std::string& text, int16_t wide);

// The hexadecimal digits at the start of a text (either case), up to the
// first other character; no leading digit gives 0. Up to four digits are a
// 16-bit pattern ("FFFF" -1, "8000" -32768); five to eight digits a 32-bit
// value when `wide`, and otherwise only when it lies in -32768..32767. Nothing
// when the value does not fit: more than eight digits, or too wide.
std::optional<int32_t> LeadingHexValue(const std::string& text, bool wide);

// Four upper-case hex digits of the value's 16-bit pattern (-1 gives "FFFF").
std::string NumberToHex(int16_t value);

// 1 for any non-zero value, 0 for 0.
int16_t IsNonZero(int16_t value);

}  // namespace monitor
