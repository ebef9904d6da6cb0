// Every 16-bit word through the library: decoded as the independent encoding
// table says, and written so that encoding the text gives the word back.
#include <cstdio>
#include <map>
#include <sstream>

#include "disassembler_fixture.h"
#include "encoding_table.h"

namespace distest {
namespace {

using testsupport::Field;
using testsupport::MeaningOf;
using testsupport::WordMeaning;

constexpr size_t kPrintPrefixLength = 24;  // "%06X %04X    %04X :   "
constexpr size_t kLabelFieldLength = 7;

std::vector<std::string> Tokens(const std::string& text) {
  std::string spaced = text;
  for (char& c : spaced)
    if (c == ',') c = ' ';
  std::istringstream in(spaced);
  std::vector<std::string> tokens;
  for (std::string t; in >> t;) tokens.push_back(t);
  return tokens;
}

std::string Hex(const char* format, uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// The print file's tokens for a word, from the encoding table alone.
std::vector<std::string> ExpectedPrintTokens(uint16_t word) {
  const WordMeaning& m = MeaningOf(word);
  if (m.row == nullptr) return {"DW", Hex("%04X", word)};
  std::vector<std::string> tokens = {std::string(m.row->mnemonic)};
  for (const testsupport::Operand& op : m.operands) {
    switch (op.field) {
      case Field::kAddress: tokens.push_back(Hex("L%04X", op.value)); break;
      case Field::kRegister: tokens.push_back(Hex("V%02X", op.value)); break;
      default: tokens.push_back(Hex("%X", op.value)); break;
    }
  }
  return tokens;
}

// Encodes one instruction line of the assembly file: the mnemonic and its
// operands "0Xh", "VXX", "LXXXX", or the DW data word "0XXXXh".
std::optional<uint16_t> Reencode(const std::vector<std::string>& tokens) {
  if (tokens.empty()) return std::nullopt;
  std::vector<uint32_t> values;
  for (size_t i = 1; i < tokens.size(); ++i) {
    std::string t = tokens[i];
    if (t.front() == 'V' || t.front() == 'L') t = t.substr(1);
    else if (t.back() == 'h') t = t.substr(0, t.size() - 1);
    values.push_back(static_cast<uint32_t>(std::stoul(t, nullptr, 16)));
  }
  if (tokens[0] == "DW") {
    if (values.size() != 1) return std::nullopt;
    return static_cast<uint16_t>(values[0]);
  }
  const testsupport::InstructionRow* row = testsupport::FindInstructionRow(tokens[0]);
  if (row == nullptr) return std::nullopt;
  values.resize(2, 0);
  return testsupport::EncodeInstruction(*row, values[0], values[1]);
}

class EveryWordTest : public DisassemblerTest {};

TEST_F(EveryWordTest, DecodesAndReencodesAllWords) {
  std::vector<uint16_t> words(0x10000);
  for (uint32_t w = 0; w < 0x10000; ++w) words[w] = static_cast<uint16_t>(w);
  const std::string image = WriteImage("all.bin", words);
  EXPECT_EQ(Disassemble(image, 0x16), -1);

  size_t undefined = 0;
  std::map<int, uint32_t> perOpcode;
  for (uint32_t w = 0; w < 0x10000; ++w) {
    const WordMeaning& m = MeaningOf(static_cast<uint16_t>(w));
    undefined += m.row == nullptr;
    ++perOpcode[m.row ? m.row->opcode : testsupport::kUndefinedOpcode];
  }
  // 21198 undefined words, one box.
  EXPECT_EQ(undefined, 21198u);
  EXPECT_EQ(messages_, std::vector<Message>(1, Message{"UNDEFINED CODE", "ERROR"}));

  // Print file: one line per word after its 13 header and EQU lines.
  const std::vector<std::string> print = Lines(Output("prt"));
  const std::string firstRecord = "000000 0000    0000 :   ";
  size_t at = 0;
  while (at < print.size() && print[at].rfind(firstRecord, 0) != 0) ++at;
  ASSERT_LT(at + 0x10000, print.size());
  for (uint32_t w = 0; w < 0x10000; ++w) {
    const std::string& line = print[at + w];
    ASSERT_EQ(line.substr(0, kPrintPrefixLength), Hex("%06X ", w) + Hex("%04X    ", w) + Hex("%04X :   ", w));
    // Every address of the 12-bit space is a jump target (JMP 0000-0FFF).
    const std::string label = line.substr(kPrintPrefixLength, kLabelFieldLength);
    ASSERT_EQ(label, w < 0x1000 ? Hex("L%04X: ", w) : std::string(7, ' ')) << line;
    ASSERT_EQ(Tokens(line.substr(kPrintPrefixLength + kLabelFieldLength)), ExpectedPrintTokens(w)) << line;
  }
  EXPECT_EQ(print[at + 0x10000], "         : END");

  // Assembly file: encoding each line again gives the word back; only STIX
  // words not ending in FF come back in their canonical form.
  const std::vector<std::string> assembly = Lines(Output("asm"));
  at = 0;
  while (at < assembly.size() && assembly[at].rfind("L0000: JMP", 0) != 0) ++at;
  ASSERT_LT(at + 0x10000, assembly.size());
  size_t nonCanonical = 0;
  for (uint32_t w = 0; w < 0x10000; ++w) {
    const std::string& line = assembly[at + w];
    const std::optional<uint16_t> again = Reencode(Tokens(line.substr(kLabelFieldLength)));
    ASSERT_TRUE(again.has_value()) << line;
    if (MeaningOf(static_cast<uint16_t>(w)).nonCanonicalStix) {
      ++nonCanonical;
      ASSERT_EQ(*again, (w & 0xFF00) | 0x00FF) << line;
    } else {
      ASSERT_EQ(*again, w) << line;
    }
  }
  EXPECT_EQ(nonCanonical, 16u * 127u);
  EXPECT_EQ(assembly[at + 0x10000], "          END");

  // The statistics of the ROM characteristic file, slots 0-71.
  const std::vector<std::string> rom = Lines(Output("sta"));
  std::string counts;
  for (size_t i = rom.size() - 7; i < rom.size() - 2; ++i) counts += rom[i].substr(1) + " ";
  std::vector<std::string> expected;
  for (int op = 0; op < 72; ++op) expected.push_back(Hex("%04X", perOpcode[op]));
  EXPECT_EQ(Tokens(counts), expected);
}

}  // namespace
}  // namespace distest
