#pragma once
#include "records.h"

namespace k42xxdis {

// Reads the code image (16-bit words, high byte first) and writes one
// instruction record per word and one reference record per operand into two
// scratch files; counts opcodes, words and the check sum. Words past the code
// space are left out, with a message. False when the image cannot be read:
// nothing is decoded and the writers must leave the earlier outputs as they are.
bool RunDecodingPass(LibraryState& state);

// Removes the scratch files of the pass.
void RemoveScratchFiles(LibraryState& state);

}  // namespace k42xxdis
