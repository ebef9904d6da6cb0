// Words whose decoding the instruction set singles out, as the assembly and
// print files write them, column for column.
#include <algorithm>

#include "disassembler_fixture.h"

namespace distest {
namespace {

struct Case {
  uint16_t word;
  const char* assembly;  // after the label field
  const char* print;
  bool undefined;
};

const Case kCases[] = {
    {0x0000, "JMP           L0000 ", "JMP           L0000 ", false},
    {0xE123, "CALL          L0123 ", "CALL          L0123 ", false},
    {0xF805, "LDI           05h ", "LDI           5 ", false},
    {0xF815, "DW            0F815h ", "DW            F815 ", true},
    {0xC35A, "STI           V5A , 03h ", "STI           V5A , 3 ", false},
    {0xC3DA, "STIX          03h ", "STIX          3 ", false},
    {0xC3FF, "STIX          03h ", "STIX          3 ", false},
    {0x867F, "INC           V7F ", "INC           V7F ", false},
    {0x8680, "DW            08680h ", "DW            8680 ", true},
    {0x86FF, "INCX  ", "INCX  ", false},
    {0xB2FF, "NXORX ", "NXORX ", false},
    {0xB200, "NXOR           V00 ", "NXOR           V00 ", false},
    {0xAF7F, "NANDS          V7F ", "NANDS          V7F ", false},
    {0xAFFF, "NANDXS", "NANDXS", false},
    {0x9E05, "SHL           V05 ", "SHL           V05 ", false},
    {0xF1FF, "ROM           0 ", "ROM   ", false},
};

class InstructionTextTest : public DisassemblerTest {};

TEST_F(InstructionTextTest, SingledOutWords) {
  std::vector<uint16_t> words;
  for (const Case& c : kCases) words.push_back(c.word);
  Disassemble(WriteImage("A.bin", words), 0x06);

  const std::vector<std::string> assembly = Lines(Output("asm"));
  const std::vector<std::string> print = Lines(Output("prt"));
  const size_t n = std::size(kCases);
  ASSERT_GE(assembly.size(), n + 1);
  ASSERT_GE(print.size(), n + 1);
  size_t undefined = 0;
  for (size_t i = 0; i < n; ++i) {
    SCOPED_TRACE(kCases[i].assembly);
    // Only JMP 0000 makes a label.
    const std::string label = i == 0 ? "L0000: " : "       ";
    EXPECT_EQ(assembly[assembly.size() - 1 - n + i], label + kCases[i].assembly);
    EXPECT_EQ(print[print.size() - 1 - n + i].substr(24), label + kCases[i].print);
    undefined += kCases[i].undefined;
  }
  // One box however many words are undefined.
  ASSERT_GT(undefined, 1u);
  EXPECT_EQ(messages_, std::vector<Message>(1, Message{"UNDEFINED CODE", "ERROR"}));
}

TEST_F(InstructionTextTest, ManyReferencesToOneLabelContinueTheLine) {
  std::vector<uint16_t> words(11, 0x6FFF);  // JPZ 0FFF, eleven times
  words.push_back(0x5FFF);
  Disassemble(WriteImage("A.bin", words), 0x20);
  const std::vector<std::string> lines = Lines(Output("xrf"));
  auto at = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("L0FFF", 0) == 0; });
  ASSERT_NE(at, lines.end());
  EXPECT_EQ(at->size(), 76u);
  EXPECT_EQ(*at, "L0FFF    : 0000, 0001, 0002, 0003, 0004, 0005, 0006, 0007, 0008, 0009, 000A,");
  EXPECT_EQ(*(at + 1), "         : 000B,");
  EXPECT_EQ(*(at + 2), "");
}

TEST_F(InstructionTextTest, TenReferencesStayOnOneLine) {
  Disassemble(WriteImage("A.bin", std::vector<uint16_t>(10, 0xD07F)), 0x20);  // STA V7F
  const std::vector<std::string> lines = Lines(Output("xrf"));
  auto at = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("V7F", 0) == 0; });
  ASSERT_NE(at, lines.end());
  EXPECT_EQ(*at, "V7F      : 0000, 0001, 0002, 0003, 0004, 0005, 0006, 0007, 0008, 0009,");
  EXPECT_EQ(*(at + 1), ";" + std::string(79, '-'));
}

}  // namespace
}  // namespace distest
