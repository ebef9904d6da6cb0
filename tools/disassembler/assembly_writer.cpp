#include "writers.h"

namespace k42xxdis {
namespace {

void WriteAssemblyHeader(TextOut& out, const LibraryState& state) {
  WriteCommonHeader(out, HeaderKind::kAssembly, state.assemblyPath, state);
}

// A jump beyond the image has no line to carry its label: the label is
// defined as a constant of its address instead, so the text reassembles.
void WriteOutsideLabels(TextOut& out, const LibraryState& state, uint32_t recordCount) {
  for (uint32_t a = recordCount; a < kCodeAddresses; ++a)
    if (state.labelMap.test(a)) out.Line(Printf("L%04X\t\tEQU\t\t\t%04XH", a, a));
}

}  // namespace

// Every register number 00-7F gets its EQU line, so that a program using
// V7F reassembles.
void WriteVariableEquLines(TextOut& out, const LibraryState& state, std::string_view prefix) {
  out.Line(std::string(prefix) + "; Referenced Addresses");
  for (uint32_t v = 0; v < kVariableNumbers; ++v)
    if (state.variableMap.test(v)) out.Line(std::string(prefix) + Printf("V%02X\t\tEQU\t\t\t%02XH", v, v));
}

void WriteEquListEnd(TextOut& out, std::string_view prefix) {
  out.Line(std::string(prefix) + Rule79());
  out.Line(std::string(prefix) + ";");
}

void WriteAssemblyFile(LibraryState& state) {
  WriteFromScratchFiles(state, state.assemblyPath, "Unable to open assembly file", false,
                        [&](TextOut& out, const std::vector<InstructionRecord>& records,
                            const std::vector<OperandReference>&) {
                          WriteAssemblyHeader(out, state);
                          WriteVariableEquLines(out, state, {});
                          WriteOutsideLabels(out, state, static_cast<uint32_t>(records.size()));
                          WriteEquListEnd(out, {});
                          for (const InstructionRecord& r : records)
                            out.Line(LabelField(state, r.address) + InstructionText(OperandStyle::kAssembly, r));
                          out.Line("          END");
                        });
}

}  // namespace k42xxdis
