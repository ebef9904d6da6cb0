#include "writers.h"

namespace k42xxdis {
namespace {

// The symbol file lists the data memory's variables, 00 to 5E.
constexpr uint32_t kSymbolFileVariables = 0x5F;

void WriteDisSymbolHeader(TextOut& out, const LibraryState& state) {
  WriteCommonHeader(out, HeaderKind::kSymbol, state.symbolPath, state);
}

}  // namespace

void WriteDisSymbolFile(LibraryState& state) {
  WriteFromScratchFiles(state, state.symbolPath, "Unable to open SYMBOL file", true,
                        [&](TextOut& out, const std::vector<InstructionRecord>&,
                            const std::vector<OperandReference>&) {
                          WriteDisSymbolHeader(out, state);
                          for (uint32_t v = 0; v < kSymbolFileVariables; ++v)
                            if (state.variableMap.test(v)) out.Line(Printf("V%02X         %02X", v, v));
                        });
}

}  // namespace k42xxdis
