#pragma once
#include "records.h"

namespace k42xxdis {

// Fills the opcode, mnemonic and operands of `record` from its address and
// word. An undefined word gets opcode 72, "DW" and one data-word operand.
// Returns 0.
int DecodeInstruction(InstructionRecord& record);

}  // namespace k42xxdis
