#pragma once
// The five output files, each written when its flag is set.
#include <functional>
#include <string>
#include <vector>

#include "output_text.h"
#include "records.h"

namespace k42xxdis {

void WriteAssemblyFile(LibraryState& state);           // flag 0x02
void WriteDisassemblyListing(LibraryState& state);     // flag 0x04
void WriteDisSymbolFile(LibraryState& state);          // flag 0x08
void WriteRomCharacteristicFile(LibraryState& state);  // flag 0x10
void WriteCrossReference(LibraryState& state);         // flag 0x20

// "; Referenced Addresses" and an EQU line per referenced variable; then the
// rule that ends the list.
void WriteVariableEquLines(TextOut& out, const LibraryState& state, std::string_view prefix);
void WriteEquListEnd(TextOut& out, std::string_view prefix);

using BodyWriter = std::function<void(TextOut& out, const std::vector<InstructionRecord>& records,
                                      const std::vector<OperandReference>& references)>;

// The steps shared by the writers that read the scratch files: read them back,
// mark the maps, let `write` build the text, replace the output file. A file
// that cannot be written shows `createFailure` with an empty caption. A
// missing reference file is reported only when `reportMissingReferences`.
void WriteFromScratchFiles(LibraryState& state, const std::string& path, const char* createFailure,
                           bool reportMissingReferences, const BodyWriter& write);

}  // namespace k42xxdis
