#pragma once
// The ROM image: its byte count, its header and its data bytes, for words of
// 16, 18 and 22 bits held in 2, 3 or 4 bytes each.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "protocol/frames.h"

namespace protocol {

// The largest image: its byte count is held in 16 signed bits.
inline constexpr int32_t kMostImageBytes = 32767;

// Bytes per instruction word: the bits divided by 8, rounded up.
int32_t InstructionBytes(int32_t bits);
// The bytes of a block, when they fit 16 signed bits.
std::optional<int16_t> BlockBytes(int64_t words, int64_t bytesPerWord);
// The image's byte count words x blocks x bytes per word, when it lies in
// 0..32767; factors of up to 32 bits each never wrap into that range.
std::optional<int32_t> ImageCount(int64_t words, int64_t blocks, int64_t bytesPerWord);

struct ImageShape {
  int32_t width = 16;      // 22 moves the image to 0x0000 under code 0xA7
  int32_t wordBytes = 2;   // bytes a file word takes
  int32_t count = 0;       // the data bytes announced
  bool complement = true;  // a file as built is sent complemented
};

// A6 01 00 CH CL, or A7 00 00 CH CL for 22-bit words.
Bytes ImageHeader(const ImageShape& shape);
// Exactly `count` data bytes: the file's words of `wordBytes` bytes, each
// sent last byte first (complemented unless told otherwise), as far as they
// go and cut at the count; an incomplete last word is dropped. Then the
// erased word of the width fills the rest, restarting at every word: 16 bits
// all 0xFF, 18 bits FF 9F 02, 22 bits FF FF 3F, zeros after and for others.
Bytes ImageData(const Bytes& file, const ImageShape& shape);
// The bytes of the file ImageData can use: the whole words that reach the
// count. A longer file is read no further.
size_t ImageFileBytes(const ImageShape& shape);
// The header followed by the data.
Bytes ImageFrame(const Bytes& file, const ImageShape& shape);

}  // namespace protocol
