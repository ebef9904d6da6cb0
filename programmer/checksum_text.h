#pragma once
// The text of a checksum or instruction as the programmer control shows it
// from the programmer's status bytes: the first two bytes, then the third
// when there are 3 bytes per word or the fourth when there are 4, each as two
// upper-case hexadecimal digits, except that the third byte of a word of 3
// bytes narrower than 20 bits has no leading zero. The control and the
// checksum library format with this one rule, so their texts can agree.
#include <cstdint>
#include <string>

namespace pelto {

// `field` holds the four bytes from the first one on.
std::string ChecksumText(const uint8_t field[4], int padBytes, int32_t instructionSize);

}  // namespace pelto
