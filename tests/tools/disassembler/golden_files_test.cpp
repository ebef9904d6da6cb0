// The five outputs of one fixed image, to the byte. Paths stand in the golden
// files as "@DIR@/"; set TAVIX_UPDATE_GOLDEN=1 to rewrite them.
#include <utime.h>

#include <cstdlib>

#include "disassembler_fixture.h"

namespace distest {
namespace {

const std::string kGoldenDir = std::string(TAVIX_SOURCE_DIR) + "tests/tools/disassembler/golden/";
constexpr time_t kImageModified = 1690000000;  // Sat Jul 22 04:26:40 2023 UTC

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// Covers every operand kind and both operand positions, the seven-character
// mnemonics, variables 5F and 7F, a non-canonical STIX, an undefined word,
// jumps backward, forward, to 0 and to 0FFF, and one label referenced twelve
// times.
const std::vector<uint16_t> kImage = {
    0xF805, 0xD05F, 0xC35A, 0xC3FF, 0xC3DA, 0xB27F, 0xAF10, 0xE013,  //
    0x0000, 0xF815, 0xFA7F, 0x867F, 0x6FFF, 0xF1FF, 0x4008, 0x7000,  //
    0x7000, 0x7000, 0x7000, 0x7000, 0x7000, 0x7000, 0x7000, 0x7000,  //
    0x7000, 0x7000, 0xB85F, 0x9200, 0xF0FF, 0xF4FF,
};

class GoldenFilesTest : public DisassemblerTest {};

TEST_F(GoldenFilesTest, FiveOutputsOfOneImage) {
  const std::string image = WriteImage("A.bin", kImage);
  utimbuf times{kImageModified, kImageModified};
  ASSERT_EQ(utime(image.c_str(), &times), 0);
  EXPECT_EQ(Disassemble(image, 0x3E), -1);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"UNDEFINED CODE"});

  const std::string folder = dir_.path();
  const bool update = std::getenv("TAVIX_UPDATE_GOLDEN") != nullptr;
  for (const char* extension : {"asm", "prt", "sym", "sta", "xrf"}) {
    SCOPED_TRACE(extension);
    const std::string actual = ReplaceAll(Output(extension), folder, "@DIR@/");
    const std::string golden = kGoldenDir + "A." + extension;
    if (update) testsupport::WriteFile(golden, actual);
    EXPECT_EQ(actual, testsupport::ReadFile(golden));
  }
}

}  // namespace
}  // namespace distest
