#include "pelto_frames.h"

#include <algorithm>

namespace pelto {
namespace {

void PutHeader(Bytes& frame, uint8_t code, int address, int count) {
  frame.push_back(code);
  frame.push_back(static_cast<uint8_t>((address >> 8) & 0xFF));
  frame.push_back(static_cast<uint8_t>(address & 0xFF));
  frame.push_back(static_cast<uint8_t>((count >> 8) & 0xFF));
  frame.push_back(static_cast<uint8_t>(count & 0xFF));
}

// One word of the fill pattern of a width; empty leaves zeros.
Bytes FillWord(int32_t instructionSize) {
  switch (instructionSize) {
    case 16: return {0xFF};
    case 18: return {0xFF, 0x9F, 0x02};
    case 22: return {0xFF, 0xFF, 0x3F};
    default: return {};
  }
}

}  // namespace

Bytes WriteFrame(int address, const Bytes& data, uint8_t code) {
  Bytes frame;
  frame.reserve(5 + data.size());
  PutHeader(frame, code, address, static_cast<int>(data.size()));
  frame.insert(frame.end(), data.begin(), data.end());
  return frame;
}

Bytes ReadRequest(int address, int count) {
  Bytes frame;
  PutHeader(frame, 0xA5, address, count);
  return frame;
}

Bytes CommandFrame(uint8_t command) {
  return WriteFrame(kCommandAddress, {command});
}

Bytes EraseTimeFrame(int32_t instructionSize) {
  return WriteFrame(kEraseTimeAddress, {static_cast<uint8_t>(instructionSize == 22 ? 2 : 100)});
}

std::optional<Bytes> RomParamsFrame(int32_t instructionSize, int16_t blockSize,
                                    int16_t padBytes, int16_t nbOfBlocks) {
  const int blockBytes = blockSize * padBytes;
  if (blockBytes < -32768 || blockBytes > 32767) return std::nullopt;
  return WriteFrame(kParamsAddress,
                    {static_cast<uint8_t>(instructionSize & 0xFF), 0,
                     static_cast<uint8_t>((blockBytes >> 8) & 0xFF),
                     static_cast<uint8_t>(blockBytes & 0xFF),
                     static_cast<uint8_t>(nbOfBlocks & 0xFF), 0, 0});
}

std::optional<int> ImageBytes(int16_t blockSize, int16_t nbOfBlocks, int16_t padBytes) {
  const long n = static_cast<long>(blockSize) * nbOfBlocks * padBytes;
  if (n < 0 || n > 32767) return std::nullopt;
  return static_cast<int>(n);
}

Bytes RomImageFrame(const Bytes& file, const ImageShape& shape) {
  const bool wide = shape.instructionSize == 22;
  Bytes frame;
  frame.reserve(5 + shape.dataBytes);
  PutHeader(frame, wide ? 0xA7 : 0xA6, wide ? 0x0000 : kImageAddress, shape.dataBytes);
  const size_t end = 5 + static_cast<size_t>(shape.dataBytes);
  if (shape.padBytes > 0) {
    const size_t words = std::min(file.size() / shape.padBytes,
                                  static_cast<size_t>(shape.dataBytes) / shape.padBytes);
    for (size_t w = 0; w < words; ++w) {
      for (int i = shape.padBytes - 1; i >= 0; --i) {
        const uint8_t byte = file[w * shape.padBytes + i];
        frame.push_back(shape.converted ? byte : static_cast<uint8_t>(~byte));
      }
    }
  }
  const Bytes fill = FillWord(shape.instructionSize);
  // The fill pattern restarts at every word boundary of the data area.
  const size_t step = fill.size() == 1 ? 1 : std::max(shape.padBytes, 1);
  while (frame.size() < end) {
    const size_t at = (frame.size() - 5) % step;
    frame.push_back(at < fill.size() ? fill[at] : 0);
  }
  return frame;
}

}  // namespace pelto
