#include "writers.h"

namespace k42xxdis {

namespace {

void WriteDisassemblyHeader(TextOut& out, const LibraryState& state) {
  WriteCommonHeader(out, HeaderKind::kAssembly, state.printPath, state, kPrintPrefix);
}

}  // namespace

void WriteDisassemblyListing(LibraryState& state) {
  WriteFromScratchFiles(state, state.printPath, "Unable to open print file", false,
                        [&](TextOut& out, const std::vector<InstructionRecord>& records,
                            const std::vector<OperandReference>&) {
                          WriteDisassemblyHeader(out, state);
                          WriteVariableEquLines(out, state, kPrintPrefix);
                          WriteEquListEnd(out, kPrintPrefix);
                          for (const InstructionRecord& r : records)
                            out.Line(Printf("%06X %04X    %04X :   ", r.address, r.address, r.word) +
                                     LabelField(state, r.address) + InstructionText(OperandStyle::kPrint, r));
                          out.Line("         : END");
                        });
}

}  // namespace k42xxdis
