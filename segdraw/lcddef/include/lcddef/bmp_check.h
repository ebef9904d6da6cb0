#pragma once
// The checks a segment bitmap file passes before its pixels are used: a
// 14-byte file header of type "BM", a 40-byte information header, the palette
// after it and the pixel data inside the file.
#include <cstdint>
#include <string_view>

namespace lcddef {

enum class BmpCheck {
  Ok,
  Unsupported,  // not "BM", another header size, no pixel offset, a short header
  Corrupt,      // width or height not positive, palette or pixels past the end
};

struct BmpLayout {
  int32_t width = 0, height = 0;
  uint16_t bitCount = 0;
  uint32_t paletteEntries = 0;  // the header's count, or 2^bits up to 8 bits per pixel
  uint32_t pixelOffset = 0;
  uint32_t imageSize = 0;       // computed from the row size when the header gives 0
};

BmpCheck CheckBmp(std::string_view file, BmpLayout* layout = nullptr);

}  // namespace lcddef
