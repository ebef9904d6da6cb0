#include "protocol/image.h"

#include <algorithm>

namespace protocol {
namespace {

// One erased word of the width in `wordBytes` bytes.
Bytes ErasedFill(int32_t width, int32_t wordBytes) {
  Bytes fill = width == 16   ? Bytes(static_cast<size_t>(wordBytes), 0xFF)
               : width == 18 ? Bytes{0xFF, 0x9F, 0x02}
               : width == 22 ? Bytes{0xFF, 0xFF, 0x3F}
                             : Bytes{};
  fill.resize(static_cast<size_t>(wordBytes), 0);
  return fill;
}

}  // namespace

int32_t InstructionBytes(int32_t bits) {
  // bits + 7 would overflow for the largest counts.
  return bits / 8 + (bits % 8 != 0 ? 1 : 0);
}

std::optional<int16_t> BlockBytes(int64_t words, int64_t bytesPerWord) {
  if (words < INT32_MIN || words > INT32_MAX || bytesPerWord < INT32_MIN ||
      bytesPerWord > INT32_MAX)
    return std::nullopt;
  const int64_t bytes = words * bytesPerWord;
  if (bytes < INT16_MIN || bytes > INT16_MAX) return std::nullopt;
  return static_cast<int16_t>(bytes);
}

std::optional<int32_t> ImageCount(int64_t words, int64_t blocks, int64_t bytesPerWord) {
  for (int64_t factor : {words, blocks, bytesPerWord})
    if (factor < INT32_MIN || factor > INT32_MAX) return std::nullopt;
  if (bytesPerWord == 0) return 0;
  // Checked before the last product: three factors of 32 bits would
  // overflow 64 bits together.
  int64_t count = words * blocks;
  if (count < -kMostImageBytes || count > kMostImageBytes) return std::nullopt;
  count *= bytesPerWord;
  if (count < 0 || count > kMostImageBytes) return std::nullopt;
  return static_cast<int32_t>(count);
}

Bytes ImageHeader(const ImageShape& shape) {
  const bool wide = shape.width == 22;
  return Header(wide ? kWideImageCode : kWriteCode, wide ? 0x0000 : kImageAddress,
                static_cast<uint16_t>(shape.count));
}

Bytes ImageData(const Bytes& file, const ImageShape& shape) {
  const size_t count = static_cast<size_t>(std::max(shape.count, 0));
  const size_t wordBytes = static_cast<size_t>(std::max(shape.wordBytes, 0));
  Bytes data;
  data.reserve(count);
  for (size_t at = 0; wordBytes > 0 && at + wordBytes <= file.size() && data.size() < count;
       at += wordBytes) {
    for (size_t i = wordBytes; i-- > 0;)
      data.push_back(shape.complement ? static_cast<uint8_t>(~file[at + i]) : file[at + i]);
  }
  data.resize(std::min(data.size(), count));
  const Bytes fill = ErasedFill(shape.width, std::max(shape.wordBytes, 1));
  while (data.size() < count) data.push_back(fill[data.size() % fill.size()]);
  return data;
}

size_t ImageFileBytes(const ImageShape& shape) {
  if (shape.count <= 0 || shape.wordBytes <= 0) return 0;
  const size_t count = static_cast<size_t>(shape.count);
  const size_t wordBytes = static_cast<size_t>(shape.wordBytes);
  return (count + wordBytes - 1) / wordBytes * wordBytes;
}

Bytes ImageFrame(const Bytes& file, const ImageShape& shape) {
  Bytes frame = ImageHeader(shape);
  const Bytes data = ImageData(file, shape);
  frame.insert(frame.end(), data.begin(), data.end());
  return frame;
}

}  // namespace protocol
