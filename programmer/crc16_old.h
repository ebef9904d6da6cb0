#pragma once
// The older CRC-16 of a code file: the file's 16-bit words (high byte first)
// go into the register as they are, and each missing word up to the ROM size
// counts as 0xFFFF. Not the programming panel's signature, which feeds the
// complement of each word.
#include <cstdint>
#include <string>

namespace pelto {

// 0..0xFFFF, or -1 when the file cannot be read.
int32_t FileCrc16Old(const std::string& path, int32_t maxrom);

}  // namespace pelto
