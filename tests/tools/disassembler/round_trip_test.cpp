// Assemble, disassemble, assemble again: the same image; disassemble again:
// the same text. The assembler is the real K42xxasm of the program folder.
#include <unistd.h>

#include <algorithm>
#include <climits>

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

class RoundTripTest : public DisassemblerTest {
 protected:
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
  EXPECT_EQ(messages_, std::vector<Message>(2, Message{"UNDEFINED CODE", "ERROR"}));
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
  EXPECT_EQ(messages_, std::vector<Message>(2, Message{"UNDEFINED CODE", "ERROR"}));
}

TEST_F(RoundTripTest, RomIsWrittenWithoutTheOperandTheAssemblerRequires) {
  dir_.write("A.asm", " ROM 1\r\n NOP\r\n");
  ASSERT_EQ(Assemble("A"), 0);
  Disassemble(dir_.file("A.bin"), dir_.file("D."), 0x02);
  EXPECT_NE(Output("asm").find("\r\n       ROM   \r\n"), std::string::npos);
  dir_.write("B.asm", Output("asm"));
  EXPECT_EQ(Assemble("B"), 1);
  EXPECT_NE(dir_.read("B.err").find("ROM    Error 240"), std::string::npos) << dir_.read("B.err");
}

}  // namespace
}  // namespace distest
