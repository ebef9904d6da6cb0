#pragma once
// The LCD definitions that ship for the LCD chips, drawn with the editor's
// own document: a row-wise glass of seven-segment digits with a point, one
// digit per two LCD memory nibbles. The first nibble of a digit lights the
// top, upper right, lower right and bottom bars (bits 1, 2, 4, 8), the second
// the lower left, upper left and middle bars and the point.
#include <string>
#include <vector>

class CSegdrawDoc;

namespace segdraw {

struct ChipGlass {
  const char* file;  // the chip's own definition, "<digits>LDEF.CFG"
  int nibbles;       // the LCD memory nibbles it shows, from index 0
};

// Each covers the chip's whole LCD memory: QV4124 32 nibbles (banks 0 and
// 1), QV4116 eight, the QV4117 family forty (banks 0 to 2).
const std::vector<ChipGlass>& ShippedChipGlasses();

// Makes `doc` a new document holding the digits for `nibbles` LCD memory
// nibbles (an even number, at most 40), ten digits to a row, and the
// default allocation of those nibbles over four common outputs.
void DrawDigitGlass(CSegdrawDoc& doc, int nibbles);

}  // namespace segdraw
