#include "lcddef/bmp_check.h"

namespace lcddef {
namespace {

uint32_t U32(std::string_view b, size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 |
                               static_cast<uint8_t>(b[at + 2]) << 16 |
                               static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24);
}
uint16_t U16(std::string_view b, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

constexpr size_t kFileHeader = 14;
constexpr size_t kInfoHeader = 40;

}  // namespace

BmpCheck CheckBmp(std::string_view file, BmpLayout* out) {
  if (file.size() < kFileHeader + kInfoHeader || file.substr(0, 2) != "BM" ||
      U32(file, kFileHeader) != kInfoHeader)
    return BmpCheck::Unsupported;
  BmpLayout l;
  l.pixelOffset = U32(file, 10);
  l.width = static_cast<int32_t>(U32(file, 18));
  l.height = static_cast<int32_t>(U32(file, 22));
  l.bitCount = U16(file, 28);
  l.imageSize = U32(file, 34);
  l.paletteEntries = U32(file, 46);
  if (l.pixelOffset == 0) return BmpCheck::Unsupported;
  if (l.width <= 0 || l.height <= 0 || l.bitCount == 0 || l.bitCount > 32) return BmpCheck::Corrupt;
  if (l.paletteEntries == 0 && l.bitCount <= 8) l.paletteEntries = 1u << l.bitCount;
  const uint64_t rowBytes = (static_cast<uint64_t>(l.bitCount) * static_cast<uint64_t>(l.width) + 31) / 32 * 4;
  const uint64_t computed = rowBytes * static_cast<uint64_t>(l.height);
  if (l.imageSize == 0) {
    if (computed > UINT32_MAX) return BmpCheck::Corrupt;
    l.imageSize = static_cast<uint32_t>(computed);
  }
  const uint64_t paletteEnd = kFileHeader + kInfoHeader + 4ull * l.paletteEntries;
  if (paletteEnd > file.size() || l.paletteEntries > 256) return BmpCheck::Corrupt;
  // The pixels a reader takes are the rows themselves, whatever image size
  // the header claims.
  if (static_cast<uint64_t>(l.pixelOffset) + computed > file.size()) return BmpCheck::Corrupt;
  if (out != nullptr) *out = l;
  return BmpCheck::Ok;
}

}  // namespace lcddef
