#pragma once
// The 16-bit signature of a code image (16-bit words, high byte first),
// padded to the size of the target's program memory: the programmer's
// signature fed with the inverted words, an absent word counting as 0x0000.
#include <cstdint>
#include <string>

namespace stdk42xx {

// The signature of the file as "%04X" in `text`, over its words up to
// protocol::FileSignatureWords. Returns the number of whole words read, -1
// for a type other than 16, -2 when the file cannot be opened (text
// untouched on both).
int32_t CodeFileChecksum(int32_t type, const std::string& path, int32_t words, std::string& text);

}  // namespace stdk42xx
