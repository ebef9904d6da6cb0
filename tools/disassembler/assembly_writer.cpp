#include "writers.h"

namespace k42xxdis {
namespace {

void WriteAssemblyHeader(TextOut& out, const LibraryState& state) {
  WriteCommonHeader(out, HeaderKind::kAssembly, state.assemblyPath, state);
}

}  // namespace

// Every register number 00-7F gets its EQU line, so that a program using
// V7F reassembles.
void WriteEquList(TextOut& out, const LibraryState& state, std::string_view prefix) {
  out.Line(std::string(prefix) + "; Referenced Addresses");
  for (uint32_t v = 0; v < kVariableNumbers; ++v)
    if (state.variableMap.test(v)) out.Line(std::string(prefix) + Printf("V%02X\t\tEQU\t\t\t%02XH", v, v));
  out.Line(std::string(prefix) + Rule79());
  out.Line(std::string(prefix) + ";");
}

void WriteAssemblyFile(LibraryState& state) {
  WriteFromScratchFiles(state, state.assemblyPath, "Unable to open assembly file", false,
                        [&](TextOut& out, const std::vector<InstructionRecord>& records,
                            const std::vector<OperandReference>&) {
                          WriteAssemblyHeader(out, state);
                          WriteEquList(out, state, {});
                          for (const InstructionRecord& r : records)
                            out.Line(LabelField(state, r.address) + InstructionText(OperandStyle::kAssembly, r));
                          out.Line("          END");
                        });
}

}  // namespace k42xxdis
