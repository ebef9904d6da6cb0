// Assemble, disassemble, assemble again: the same image; disassemble again:
// the same text. The assembler is the real K42xxasm of the program folder.
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <random>

#include "assembler_runner.h"
#include "disassembler_fixture.h"

namespace distest {
namespace {

std::string Source(const std::string& name) {
  return testsupport::ReadFile(std::string(TAVIX_SOURCE_DIR) + "tests/tools/disassembler/sources/" + name);
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

std::string AssemblerSource(const std::string& name) {
  return testsupport::ReadFile(std::string(TAVIX_SOURCE_DIR) + "tests/tools/assembler/sources/" + name);
}

std::string Bytes(const std::vector<uint16_t>& words) {
  std::string bytes;
  for (uint16_t w : words) bytes += {static_cast<char>(w >> 8), static_cast<char>(w & 0xFF)};
  return bytes;
}

struct Reassembly {
  int status = -1;
  std::string image;   // the code image of the build, empty when it failed
  std::string errors;  // its error file
  std::string text;    // the disassembly it assembled
};

class RoundTripTest : public DisassemblerTest {
 protected:
  // Disassembles `words` into R.asm and assembles that in this process.
  Reassembly Reassemble(const std::vector<uint16_t>& words) {
    Disassemble(WriteImage("image.bin", words), dir_.file("R."), 0x02);
    std::remove(dir_.file("R.bin").c_str());
    Reassembly r;
    r.status = asmtest::RunInProcess(dir_.file("R.asm"), false).status;
    r.text = dir_.read("R.asm");
    r.errors = dir_.read("R.err");
    if (r.status == 0) r.image = dir_.read("R.bin");
    return r;
  }

  // Assembles <base>.asm of the test's folder as the monitor starts a build.
  int Assemble(const std::string& base) {
    return asmtest::RunAssemblerProcess({"/D/s" + base}, dir_.file("nolink"), "", dir_.path()).exitCode;
  }
};

TEST_F(RoundTripTest, ReassemblingTheDisassemblyGivesTheSameImage) {
  dir_.write("A.asm", Source("round_trip.asm"));
  ASSERT_EQ(Assemble("A"), 0) << dir_.read("A.err");
  const std::string image = dir_.read("A.bin");
  ASSERT_FALSE(image.empty());

  Disassemble(dir_.file("A.bin"), dir_.file("D."), 0x3E);
  EXPECT_EQ(messages_, std::vector<Message>(1, Message{"UNDEFINED CODE", "ERROR"}));
  // The source uses every opcode but ROM (slot 4).
  const std::vector<std::string> rom = Lines(Output("sta"));
  ASSERT_GT(rom.size(), 7u);
  std::string counts;
  for (size_t i = rom.size() - 7; i < rom.size() - 2; ++i) counts += rom[i].substr(1);
  for (size_t slot = 0, at = 0; slot < 72; ++slot) {
    at = counts.find_first_not_of(' ', at);
    const std::string count = counts.substr(at, 4);
    at += 4;
    EXPECT_EQ(count == "0000", slot == 4) << "opcode " << slot;
  }

  dir_.write("B.asm", Output("asm"));
  ASSERT_EQ(Assemble("B"), 0) << dir_.read("B.err");
  EXPECT_EQ(dir_.read("B.err"), "");
  EXPECT_EQ(dir_.read("B.bin"), image);

  // The fixed point: the second disassembly reads as the first.
  Disassemble(dir_.file("B.bin"), dir_.file("E."), 0x2E);
  for (const char* extension : {"asm", "prt", "sym", "xrf"}) {
    SCOPED_TRACE(extension);
    const std::string again = ReplaceAll(ReplaceAll(dir_.read(std::string("E.") + extension), dir_.file("E."),
                                                    dir_.file("D.")),
                                         dir_.file("B.bin"), dir_.file("A.bin"));
    EXPECT_EQ(again, Output(extension));
  }
}

TEST_F(RoundTripTest, CleanBuildWritesTheRomCharacteristicFileOfItsImage) {
  dir_.write("A.asm", Source("round_trip.asm"));
  ASSERT_EQ(Assemble("A"), 0);
  const std::vector<std::string> written = Lines(dir_.read("A.STA"));
  ASSERT_GT(written.size(), 2u);
  EXPECT_EQ(written[1], ";\tA.STA");
  EXPECT_NE(std::find(written.begin(), written.end(), ";\tBinary file\t\t:\tA.bin"), written.end());

  // The library's own file of the same image, from the same folder, differs
  // only in its own name.
  char cwd[PATH_MAX];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(chdir(dir_.path().c_str()), 0);
  disassemble_("A.bin", "A.", "A.", "A.", "X.STA", "A.", 0x10);
  ASSERT_EQ(chdir(cwd), 0);
  std::vector<std::string> own = Lines(dir_.read("X.STA"));
  ASSERT_EQ(own.size(), written.size());
  own[1] = written[1];
  EXPECT_EQ(own, written);
  EXPECT_EQ(messages_, std::vector<Message>(1, Message{"UNDEFINED CODE", "ERROR"}));
}

TEST_F(RoundTripTest, RomAndJumpsBeyondTheImageComeBack) {
  // ROM carries the operand the assembler wants; a jump past the last word
  // finds its label as a constant of the address.
  const std::vector<uint16_t> words = {0xF1FF, 0x0FFF, 0xE003, 0x6005, 0xF1FF};
  const Reassembly r = Reassemble(words);
  EXPECT_NE(r.text.find("\r\n       ROM           0 \r\n"), std::string::npos);
  const std::vector<std::string> lines = Lines(r.text);
  // After the variables, one EQU per label outside the image, before the rule.
  const auto at = std::find(lines.begin(), lines.end(), "L0005\t\tEQU\t\t\t0005H");
  ASSERT_NE(at, lines.end()) << r.text;
  EXPECT_EQ(at[1], "L0FFF\t\tEQU\t\t\t0FFFH");
  EXPECT_EQ(at[2].substr(0, 2), ";-");
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.find("EQU") != l.npos; }),
            2);
  // Labels inside the image stay on their lines.
  EXPECT_NE(std::find(lines.begin(), lines.end(), "L0003: JPZ           L0005 "), lines.end());
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(r.image, Bytes(words));
}

TEST_F(RoundTripTest, TheAssemblersGoldenProgramsComeBackWordForWord) {
  for (const char* name : {"demo", "directives"}) {
    SCOPED_TRACE(name);
    for (const char* file : {"demo.asm", "defs.inc", "directives.asm"}) dir_.write(file, AssemblerSource(file));
    ASSERT_EQ(asmtest::RunInProcess(dir_.file(std::string(name) + ".asm"), false).status, 0);
    const std::string image = dir_.read(std::string(name) + ".bin");
    ASSERT_GT(image.size(), 16u);
    std::vector<uint16_t> words;
    for (size_t i = 0; i + 1 < image.size(); i += 2)
      words.push_back(static_cast<uint16_t>(static_cast<unsigned char>(image[i]) << 8 |
                                            static_cast<unsigned char>(image[i + 1])));
    const Reassembly r = Reassemble(words);
    EXPECT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(r.image, image);
  }
}

TEST_F(RoundTripTest, RandomImagesComeBackWordForWord) {
  std::mt19937 random(20231114);
  std::vector<size_t> sizes = {1, 2, 3, 4095};
  while (sizes.size() < 24) sizes.push_back(1 + random() % 4095);
  // Words the uniform draw rarely meets: ROM, jumps to the last address and
  // just past the image, undefined words.
  const uint16_t notable[] = {0xF1FF, 0x0FFF, 0xEFFE, 0x6001, 0xC0FF, 0xCFFF, 0xF815, 0x8680, 0xF4FF};
  size_t undefinedImages = 0;
  for (size_t size : sizes) {
    SCOPED_TRACE(size);
    std::vector<uint16_t> words(size);
    for (uint16_t& w : words) {
      w = random() % 8 == 0 ? notable[random() % std::size(notable)] : static_cast<uint16_t>(random());
      // STIX only in the form the instruction set can write.
      if ((w & 0xF080) == 0xC080) w = static_cast<uint16_t>((w & 0x0F00) | 0xC0FF);
    }
    messages_.clear();
    const Reassembly r = Reassemble(words);
    ASSERT_EQ(r.status, 0) << r.errors;
    ASSERT_EQ(r.image, Bytes(words));
    // However many undefined words, one box per call.
    EXPECT_LE(messages_.size(), 1u);
    undefinedImages += messages_.size();
  }
  EXPECT_GT(undefinedImages, 12u);
}

TEST_F(RoundTripTest, StixOutsideItsOneFormAndAFullImageAreTheExceptions) {
  // The instruction set writes STIX only with FF in the low byte.
  Reassembly r = Reassemble({0xC3DA, 0xC5FF, 0xCA80});
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(r.image, Bytes({0xC3FF, 0xC5FF, 0xCAFF}));
  // The assembler's last free address is 4094: a full image overflows.
  r = Reassemble(std::vector<uint16_t>(4096, 0xF0FF));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.errors.find(" Error 1599:"), std::string::npos);
}

}  // namespace
}  // namespace distest
