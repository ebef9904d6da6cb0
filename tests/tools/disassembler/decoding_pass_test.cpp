// The decoding pass and the export's contract: words, counts, check sum,
// flags, and what each failure reports.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "disassembler_fixture.h"

namespace distest {
namespace {

// n counts of 0 joined by blanks.
std::string Zeros(int n) {
  std::string s = "0000";
  for (int i = 1; i < n; ++i) s += " 0000";
  return s;
}

class DecodingPassTest : public DisassemblerTest {
 protected:
  std::string Line(const std::string& extension, const std::string& start) {
    for (const std::string& line : Lines(Output(extension)))
      if (line.rfind(start, 0) == 0) return line;
    return "(no line " + start + ")";
  }
  // The lines after the header's closing rule and ";" (assembly file).
  std::vector<std::string> AssemblyBody() {
    std::vector<std::string> lines = Lines(Output("asm"));
    return std::vector<std::string>(lines.begin() + 11, lines.end());
  }
};

TEST_F(DecodingPassTest, WordsAreHighByteFirstAndTheCheckSumIsTheirXor) {
  dir_.write("A.bin", std::string("\x12\x34\x00\xFF", 4));
  EXPECT_EQ(Disassemble(dir_.file("A.bin"), 0x3E), -1);
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(Line("sta", ";\tNb. Instructions"), ";\tNb. Instructions\t:\t2 (0 - 0001)");
  EXPECT_EQ(Line("sta", ";\tCheck Sum"), ";\tCheck Sum\t\t:\t12CB");
  EXPECT_EQ(Line("asm", ";\tCheck Sum"), ";\tCheck Sum\t\t:\t12CB");
  EXPECT_EQ(Line("prt", "000000"), "000000 0000    1234 :          JPV1          L0234 ");
  EXPECT_EQ(Line("prt", "000001"), "000001 0001    00FF :          JMP           L00FF ");
}

TEST_F(DecodingPassTest, EmptyImageGivesHeadersWithNoWords) {
  const std::string image = WriteImage("A.bin", {});
  Disassemble(image, 0x3E);
  EXPECT_TRUE(messages_.empty());
  for (const char* extension : {"asm", "sym", "xrf"})
    EXPECT_EQ(Line(extension, ";\tNb. Instructions"), ";\tNb. Instructions:\t0 (0 - FFFFFFFF)") << extension;
  EXPECT_EQ(Line("prt", "                    : ;\tNb. Instructions"),
            "                    : ;\tNb. Instructions:\t0 (0 - FFFFFFFF)");
  EXPECT_EQ(Line("sta", ";\tNb. Instructions"), ";\tNb. Instructions\t:\t0 (0 - FFFFFFFF)");
  EXPECT_EQ(Line("sta", ";\tCheck Sum"), ";\tCheck Sum\t\t:\t0000");
  EXPECT_EQ(Line("sta", ";\tFile size"), ";\tFile size\t\t:\t0");
  EXPECT_EQ(AssemblyBody(), (std::vector<std::string>{"; Referenced Addresses", ";" + std::string(79, '-'), ";",
                                                      "          END"}));
  EXPECT_EQ(Lines(Output("sym")).back(), " ");
  EXPECT_EQ(Line("sta", "; 0000"), "; " + Zeros(16));
}

TEST_F(DecodingPassTest, OddLengthDecodesTheWholeWordsAndStillWrites) {
  dir_.write("A.bin", std::string("\xF8\x05\x12", 3));
  Disassemble(dir_.file("A.bin"), 0x3E);
  EXPECT_EQ(messages_, (std::vector<Message>{{"Incorrect number of bytes in binary file", "QV42XX Dissambler Error"}}));
  EXPECT_EQ(Line("asm", ";\tNb. Instructions"), ";\tNb. Instructions:\t1 (0 - 0000)");
  EXPECT_EQ(Line("asm", "       LDI"), "       LDI           05h ");
  EXPECT_EQ(Line("sta", ";\tFile size"), ";\tFile size\t\t:\t3");
  for (const char* extension : {"asm", "prt", "sym", "sta", "xrf"}) EXPECT_TRUE(OutputExists(extension));
}

TEST_F(DecodingPassTest, FlagsChooseTheFilesAndOtherBitsAreIgnored) {
  const std::string image = WriteImage("A.bin", {0xF0FF});
  Disassemble(image, 0x01);
  for (const char* extension : {"asm", "prt", "sym", "sta", "xrf"}) EXPECT_FALSE(OutputExists(extension));

  Disassemble(image, 0x10 | 0x01 | 0x40 | static_cast<int32_t>(0x80000000u));
  EXPECT_TRUE(OutputExists("sta"));
  for (const char* extension : {"asm", "prt", "sym", "xrf"}) EXPECT_FALSE(OutputExists(extension));

  Disassemble(image, 0x3E);
  for (const char* extension : {"asm", "prt", "sym", "sta", "xrf"}) EXPECT_TRUE(OutputExists(extension));
  EXPECT_TRUE(messages_.empty());
}

TEST_F(DecodingPassTest, MissingImageLeavesTheEarlierOutputsAndALongOneIsCutToTheCodeSpace) {
  Disassemble(WriteImage("A.bin", {0xF0FF}), 0x3E);
  const auto outputs = [&] {
    std::string all;
    for (const char* extension : {"asm", "prt", "sym", "sta", "xrf"}) all += Output(extension);
    return all;
  };
  const std::string earlier = outputs();
  Disassemble(dir_.file("missing.bin"), 0x3E);
  EXPECT_EQ(messages_, (std::vector<Message>{{"Error opening binary file 1", "QV42XX Dissambler Error"}}));
  EXPECT_EQ(outputs(), earlier);
  // More words than the code space holds: only the code space is read and
  // disassembled, a 50 MB file as quickly as a full one.
  const std::string tooLarge =
      "Binary file larger than the code space: only its first 4096 words are disassembled";
  messages_.clear();
  dir_.write("huge.bin", "");
  std::filesystem::resize_file(dir_.file("huge.bin"), 50u << 20);
  Disassemble(dir_.file("huge.bin"), 0x3E);
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{tooLarge}));
  EXPECT_LT(std::filesystem::file_size(dir_.file("D.asm")), 1u << 20);
  // The whole code space with one byte after it: that byte is left out.
  messages_.clear();
  dir_.write("full.bin", std::string(8193, '\0'));
  Disassemble(dir_.file("full.bin"), 0x10);
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{tooLarge}));
  EXPECT_EQ(Line("sta", ";\tNb. Instructions"), ";\tNb. Instructions\t:\t4096 (0 - 0FFF)");
}

TEST_F(DecodingPassTest, UnreadableImageIsReportedLikeAMissingOne) {
  std::filesystem::create_directory(dir_.file("folder.bin"));
  Disassemble(dir_.file("folder.bin"), 0x12);
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Error opening binary file 1"}));
  // A pipe without a writer, at once.
  ASSERT_EQ(mkfifo(dir_.file("pipe.bin").c_str(), 0600), 0);
  messages_.clear();
  alarm(20);
  Disassemble(dir_.file("pipe.bin"), 0x12);
  alarm(0);
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Error opening binary file 1"}));
  EXPECT_FALSE(OutputExists("asm"));
  EXPECT_FALSE(OutputExists("sta"));
}

TEST_F(DecodingPassTest, NullPathsAreReportedNotFollowed) {
  EXPECT_EQ(disassemble_(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0x3E), -1);
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Error opening binary file 1"}));
}

TEST_F(DecodingPassTest, ScratchFilesLiveInTheTemporaryFolderOnlyDuringTheCall) {
  const std::string scratch = dir_.file("tmp");
  std::filesystem::create_directory(scratch);
  const char* old = std::getenv("TMPDIR");
  const std::string saved = old ? old : "";
  setenv("TMPDIR", scratch.c_str(), 1);
  const std::string image = WriteImage("A.bin", {0x0000, 0xF815});
  Disassemble(image, 0x3E);
  EXPECT_TRUE(std::filesystem::is_empty(scratch));

  // Without a temporary folder nothing is decoded; every reading writer says so.
  setenv("TMPDIR", dir_.file("none").c_str(), 1);
  messages_.clear();
  Disassemble(image, 0x3E);
  if (old) setenv("TMPDIR", saved.c_str(), 1);
  else unsetenv("TMPDIR");
  const std::string reopen = "Error reopening tempory file";
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Error creating tempory file", reopen, reopen, reopen, reopen}));
  EXPECT_EQ(Output("asm"), "");
  EXPECT_EQ(Line("sta", ";\tNb. Instructions"), ";\tNb. Instructions\t:\t0 (0 - FFFFFFFF)");
}

TEST_F(DecodingPassTest, AFileThatCannotBeWrittenDoesNotStopTheOthers) {
  const std::string image = WriteImage("A.bin", {0xF0FF});
  const std::string none = dir_.file("none/");
  std::filesystem::create_directory(dir_.file("D.prt"));  // a folder where the print file goes
  disassemble_(image.c_str(), (none + "D.asm").c_str(), dir_.file("D.prt").c_str(), (none + "D.sym").c_str(),
               (none + "D.sta").c_str(), dir_.file("D.xrf").c_str(), 0x3E);
  EXPECT_EQ(messages_, (std::vector<Message>{{"Unable to open assembly file", ""},
                                             {"Unable to open print file", ""},
                                             {"Unable to open SYMBOL file", ""},
                                             {"Unable to open ROM characteristic file", ""}}));
  EXPECT_TRUE(std::filesystem::is_directory(dir_.file("D.prt")));
  EXPECT_NE(Line("xrf", ";\tNb. Instructions"), "");
}

TEST_F(DecodingPassTest, EachCallStartsAfresh) {
  const std::string first = WriteImage("A.bin", {0x0005, 0xD07F, 0xF0FF});
  const std::string second = WriteImage("B.bin", {0xF0FF});
  Disassemble(first, 0x3E);
  Disassemble(second, 0x3E);
  EXPECT_EQ(Line("sta", ";\tNb. Instructions"), ";\tNb. Instructions\t:\t1 (0 - 0000)");
  EXPECT_EQ(Line("sta", "; 0000 0000 0000"), "; 0000 0000 0000 0001 " + Zeros(12));
  EXPECT_EQ(AssemblyBody()[1], ";" + std::string(79, '-'));  // no EQU lines left from the first image
  EXPECT_EQ(Line("asm", "       NOP"), "       NOP   ");
}

}  // namespace
}  // namespace distest
