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

class EveryWordTest : public DisassemblerTest {
 protected:
  void CheckImage(uint32_t first);
  size_t undefined = 0, nonCanonical = 0;
};

// The image of the code space's 4096 words from `first` on.
void EveryWordTest::CheckImage(uint32_t first) {
  std::vector<uint16_t> words(0x1000);
  std::vector<bool> target(0x1000);  // the addresses its words jump to
  for (uint32_t w = 0; w < 0x1000; ++w) {
    words[w] = static_cast<uint16_t>(first + w);
    for (const testsupport::Operand& op : MeaningOf(words[w]).operands)
      if (op.field == Field::kAddress) target[op.value] = true;
  }
  const std::string image = WriteImage("all.bin", words);
  messages_.clear();
  EXPECT_EQ(Disassemble(image, 0x16), -1);

  size_t undefinedHere = 0;
  std::map<int, uint32_t> perOpcode;
  for (uint32_t w = 0; w < 0x1000; ++w) {
    const WordMeaning& m = MeaningOf(words[w]);
    undefinedHere += m.row == nullptr;
    ++perOpcode[m.row ? m.row->opcode : testsupport::kUndefinedOpcode];
  }
  undefined += undefinedHere;
  EXPECT_EQ(messages_, std::vector<Message>(undefinedHere ? 1 : 0, Message{"UNDEFINED CODE", "ERROR"}));

  // Print file: one line per word after its 13 header and EQU lines.
  const std::vector<std::string> print = Lines(Output("prt"));
  const std::string firstRecord = "000000 0000    " + Hex("%04X :   ", first);
  size_t at = 0;
  while (at < print.size() && print[at].rfind(firstRecord, 0) != 0) ++at;
  ASSERT_LT(at + 0x1000, print.size());
  for (uint32_t w = 0; w < 0x1000; ++w) {
    const std::string& line = print[at + w];
    ASSERT_EQ(line.substr(0, kPrintPrefixLength), Hex("%06X ", w) + Hex("%04X    ", w) + Hex("%04X :   ", words[w]));
    const std::string label = line.substr(kPrintPrefixLength, kLabelFieldLength);
    ASSERT_EQ(label, target[w] ? Hex("L%04X: ", w) : std::string(7, ' ')) << line;
    ASSERT_EQ(Tokens(line.substr(kPrintPrefixLength + kLabelFieldLength)), ExpectedPrintTokens(words[w])) << line;
  }
  EXPECT_EQ(print[at + 0x1000], "         : END");

  // Assembly file: encoding each line again gives the word back; only STIX
  // words not ending in FF come back in their canonical form.
  const std::vector<std::string> assembly = Lines(Output("asm"));
  at = assembly.size() - 0x1001;  // the words, then END
  for (uint32_t w = 0; w < 0x1000; ++w) {
    const std::string& line = assembly[at + w];
    const std::optional<uint16_t> again = Reencode(Tokens(line.substr(kLabelFieldLength)));
    ASSERT_TRUE(again.has_value()) << line;
    if (MeaningOf(words[w]).nonCanonicalStix) {
      ++nonCanonical;
      ASSERT_EQ(*again, (words[w] & 0xFF00) | 0x00FF) << line;
    } else {
      ASSERT_EQ(*again, words[w]) << line;
    }
  }
  EXPECT_EQ(assembly[at + 0x1000], "          END");

  // The statistics of the ROM characteristic file, slots 0-71.
  const std::vector<std::string> rom = Lines(Output("sta"));
  std::string counts;
  for (size_t i = rom.size() - 7; i < rom.size() - 2; ++i) counts += rom[i].substr(1) + " ";
  std::vector<std::string> expected;
  for (int op = 0; op < 72; ++op) expected.push_back(Hex("%04X", perOpcode[op]));
  EXPECT_EQ(Tokens(counts), expected);
}

TEST_F(EveryWordTest, DecodesAndReencodesAllWords) {
  // The code space holds 4096 words: all 65536 go through in 16 images.
  for (uint32_t first = 0; first < 0x10000; first += 0x1000) CheckImage(first);
  // 21198 undefined words, one box an image that holds some.
  EXPECT_EQ(undefined, 21198u);
  EXPECT_EQ(nonCanonical, 16u * 127u);
}

}  // namespace
}  // namespace distest
