#include "writers.h"

namespace k42xxdis {
namespace {

// A reference line is ended once it grows past this many characters.
constexpr size_t kMaxLineLength = 70;

void WriteCrossReferenceHeader(TextOut& out, const LibraryState& state) {
  WriteCommonHeader(out, HeaderKind::kCrossReference, state.xrefPath, state);
}

// One block: `head`, then " %04X," per referencing address, continued on
// lines of 9 blanks and ":" whenever a line grows too long.
void WriteReferenceBlock(TextOut& out, std::string head, const std::vector<uint32_t>& from) {
  std::string line = std::move(head);
  for (uint32_t address : from) {
    line += Printf(" %04X,", address);
    if (line.size() > kMaxLineLength) {
      out.Line(line);
      line = "         :";
    }
  }
  out.Line(line);
}

void WriteSection(TextOut& out, const char* title, const char* head, size_t count,
                  const std::bitset<kCodeAddresses>& map, uint32_t kind,
                  const std::vector<OperandReference>& references) {
  // References grouped by target once, in file order, instead of rereading
  // them for every target.
  std::vector<std::vector<uint32_t>> from(count);
  for (const OperandReference& ref : references)
    if (ref.kind == kind && ref.value < count) from[ref.value].push_back(ref.address);
  out.Line();
  out.Line(title);
  out.Line(Rule79());
  out.Line(";");
  for (uint32_t target = 0; target < count; ++target)
    if (map.test(target)) WriteReferenceBlock(out, Printf(head, target), from[target]);
}

}  // namespace

void WriteCrossReference(LibraryState& state) {
  WriteFromScratchFiles(
      state, state.xrefPath, "Unable to open X-REF file", true,
      [&](TextOut& out, const std::vector<InstructionRecord>&, const std::vector<OperandReference>& references) {
        WriteCrossReferenceHeader(out, state);
        // Every code address 0000-0FFF and every register 00-7F.
        WriteSection(out, ";LABEL       REFERENCING ADDRESSES", "L%04X    :", kCodeAddresses, state.labelMap, kLabel,
                     references);
        WriteSection(out, ";VARIABLE    REFERENCING ADDRESSES", "V%02X      :", kVariableNumbers, state.variableMap,
                     kVariable, references);
        out.Line(Rule79());
        out.Line(";");
        out.Line(";END");
        out.Line(Rule79());
        out.Line(";");
      });
}

}  // namespace k42xxdis
