#pragma once
// Hexadecimal text of typed and displayed values, and the 16-bit flag test.
#include <cstdint>
#include <string>

namespace monitor {

// Reads hex digits (either case, no prefix). Up to four digits are a 16-bit
// pattern, sign-extended whatever `wide` says ("FFFF" gives -1); five to
// eight digits a 32-bit pattern, only when `wide` is non-zero. Empty text,
// a character that is not a hex digit or a value too wide give 0.
int32_t HexToNumber(const std::string& text, int16_t wide);

// Four upper-case hex digits of the value's 16-bit pattern (-1 gives "FFFF").
std::string NumberToHex(int16_t value);

// 1 for any non-zero value, 0 for 0.
int16_t IsNonZero(int16_t value);

}  // namespace monitor
