#include "digit_glass.h"

#include <algorithm>

#include "segdraw_doc.h"

namespace segdraw {
namespace {

constexpr int kPitch = 48;       // from one digit to the next
constexpr int kRowPitch = 70;    // from one row of digits to the next
constexpr int kDigitsPerRow = 10;
constexpr int kBar = 4;          // thickness of a bar
constexpr int kLength = 24;      // length of a bar

struct Bar {
  int left, top, width, height;
};

// The eight segments of a digit at (0, 0) in the order of their bits: the
// first nibble's four, then the second's.
constexpr Bar kSegments[8] = {
    {14, 5, kLength, kBar},       // top
    {38, 9, kBar, kLength},       // upper right
    {38, 37, kBar, kLength},      // lower right
    {14, 61, kLength, kBar},      // bottom
    {10, 37, kBar, kLength},      // lower left
    {10, 9, kBar, kLength},       // upper left
    {14, 33, kLength, kBar},      // middle
    {45, 61, kBar, kBar},         // point
};

}  // namespace

const std::vector<ChipGlass>& ShippedChipGlasses() {
  static const std::vector<ChipGlass> glasses = {
      {"4224LDEF.CFG", 32},  {"4216LDEF.CFG", 8},  {"4217LDEF.CFG", 40},
      {"4218LDEF.CFG", 40}, {"4219LDEF.CFG", 40}, {"4223LDEF.CFG", 40},
  };
  return glasses;
}

void DrawDigitGlass(CSegdrawDoc& doc, int nibbles) {
  doc.OnNewDocument();
  const int digits = nibbles / 2;
  const int columns = std::min(digits, kDigitsPerRow);
  const int rows = (digits + kDigitsPerRow - 1) / kDigitsPerRow;
  doc.SetDisplayRect(10, 10, 10 + columns * kPitch + 8, 10 + (rows - 1) * kRowPitch + 74);
  for (int digit = 0; digit < digits; ++digit) {
    const int x = digit % kDigitsPerRow * kPitch, y = digit / kDigitsPerRow * kRowPitch;
    for (int k = 0; k < 8; ++k) {
      const int i = doc.AddSegment();
      doc.SetAddress(i, static_cast<uint16_t>(2 * digit + k / 4));
      doc.SetBit(i, static_cast<uint16_t>(1 << (k % 4)));
      doc.SetLeft(i, x + kSegments[k].left);
      doc.SetTop(i, y + kSegments[k].top);
      doc.SetWidth(i, kSegments[k].width);
      doc.SetHeight(i, kSegments[k].height);
    }
  }
  doc.SetAllocationParameters(static_cast<int16_t>(nibbles), 4, -1);
}

}  // namespace segdraw
