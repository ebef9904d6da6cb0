#pragma once
// The panel's block parameters read from its boxes, once, into numbers, and
// what the programmer's frames take of them.
#include <cstdint>
#include <optional>
#include <string>

#include "protocol/frames.h"

namespace monitor {

using ProgrammerFrame = protocol::Bytes;

// A whole decimal number (blanks around it allowed); nothing otherwise.
std::optional<int32_t> WholeNumber(const std::string& text);

// The boxes instrbits, nbblocks, blocksize and padbits, each as a number
// when it is one, and the ML and MH boxes.
struct RomParams {
  std::optional<int32_t> bits, blocks, words, padbits;
  bool ml = false, mh = false;
};
RomParams ReadRomParams(const std::string& instrbits, const std::string& nbblocks,
                        const std::string& blocksize, const std::string& padbits, bool ml, bool mh);

// The parameter block, B = bytes per word * block size. Nothing when a field
// is not a number, the bits or the blocks exceed 255, or B exceeds 32767.
std::optional<protocol::Parameters> ParameterBlock(const RomParams& params);
// The image's byte count C = block size * blocks * bytes per word; nothing
// when a field is not a number or C exceeds 32767.
std::optional<int32_t> ImageCount(const RomParams& params);
// Bytes per word of the source file's padding (a box that is no number: 0).
int32_t PaddingBytes(const RomParams& params);

}  // namespace monitor
