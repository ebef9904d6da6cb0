#pragma once
#include "records.h"

namespace k42xxdis {

// Reads the code image (16-bit words, high byte first) and writes one
// instruction record per word and one reference record per operand into two
// scratch files; counts opcodes, words and the check sum.
void RunDecodingPass(LibraryState& state);

// Removes the scratch files of the pass.
void RemoveScratchFiles(LibraryState& state);

}  // namespace k42xxdis
