#pragma once
// Hexadecimal text of the code list and the emulator link. The two text
// conversions raise run-time error 6 (Overflow) where the value leaves the
// signed 32-bit range; `LongToBytes3` where it leaves 0..0xFFFFFF.
#include <array>
#include <cstdint>
#include <string>

namespace monitor {

// Digit by digit; a character that is not a hex digit counts as 0.
int32_t HexStrToLong(const std::string& text);

// Pads `text` on the left with zeros to six characters, keeping its last six,
// and converts the first five of them (the sixth is not used).
int32_t HexStr6ToLong(std::string& text);

// Low, middle and high byte of a value from 0 to 0xFFFFFF.
std::array<uint8_t, 3> LongToBytes3(int32_t value);

}  // namespace monitor
