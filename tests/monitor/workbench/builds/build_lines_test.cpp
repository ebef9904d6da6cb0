// The pure readings of a build: the assembler's arguments, the ROM size, the
// program size and the error line, and the line's selection in a text.
#include <gtest/gtest.h>

#include <QTextDocument>

#include "workbench/build_command.h"
#include "workbench/error_line.h"

namespace {

using monitor::AssemblerArguments;
using Args = std::vector<std::string>;

TEST(AssemblerArgumentsTest, OneArgumentWithTheProjectFolderInFrontOfABareName) {
  EXPECT_EQ(AssemblerArguments("main.asm", "/p/DEMO.prj").arguments, Args{"/D/s/p/main"});
  EXPECT_EQ(AssemblerArguments("/src/A.Asm", "/p/DEMO.prj").arguments, Args{"/D/s/src/A"});
  EXPECT_EQ(AssemblerArguments("/my dir/x.asm", "").arguments, Args{"/D/s/my dir/x"});
  // A name with a "/" is used unchanged; without a project folder, as given.
  EXPECT_EQ(AssemblerArguments("sub/main.asm", "/p/DEMO.prj").arguments, Args{"/D/ssub/main"});
  EXPECT_EQ(AssemblerArguments("main.ASM", "DEMO.prj").arguments, Args{"/D/smain"});
  EXPECT_EQ(AssemblerArguments("/p/main.x.asm", "").arguments, Args{"/D/s/p/main.x"});

  const auto none = AssemblerArguments("", "/p/DEMO.prj");
  EXPECT_TRUE(none.arguments.empty());
  EXPECT_EQ(none.refusal, "No Source file defined for the current project");
  for (const char* bad : {"/p/main.txt", "asm", "/p/mainasm"}) {
    const auto refused = AssemblerArguments(bad, "/p/DEMO.prj");
    EXPECT_TRUE(refused.arguments.empty()) << bad;
    EXPECT_EQ(refused.refusal, "Source file must have the extension <.ASM>") << bad;
  }
}

TEST(BuildNumbersTest, RomAndProgramSizesReadTheLeadingNumber) {
  using monitor::RomSizeValue;
  EXPECT_EQ(RomSizeValue("2048 words"), 2048);
  EXPECT_EQ(RomSizeValue("  40000"), 40000);  // above 16 bits, no overflow
  EXPECT_EQ(RomSizeValue("-12"), -12);
  EXPECT_EQ(RomSizeValue("+7x"), 7);
  EXPECT_EQ(RomSizeValue("1500.5"), 1500);  // halves to even
  EXPECT_EQ(RomSizeValue("1501.5"), 1502);
  EXPECT_EQ(RomSizeValue("words"), 0);
  EXPECT_EQ(RomSizeValue("99999999999"), INT32_MAX);

  using monitor::ParseProgramSize;
  EXPECT_EQ(ParseProgramSize("Prog-Size=0123"), 123);
  EXPECT_EQ(ParseProgramSize("Prog-Size=12345"), 1234);
  EXPECT_EQ(ParseProgramSize("Prog-Size=1501"), 1501);
  EXPECT_EQ(ParseProgramSize("xx Prog-Size=0042"), 0);  // characters 11-14 are "ze=0"
  EXPECT_EQ(ParseProgramSize("Prog-Size="), 0);
}

TEST(ErrorItemTest, FileNameBeforeErrorAndTheNumberAfterLine) {
  using monitor::ParseErrorItem;
  auto item = ParseErrorItem("/w/main.asm ERROR 100: Unknown Instruction; line 0002 - FOO");
  ASSERT_TRUE(item);
  EXPECT_EQ(item->fileName, "/w/main.asm");
  EXPECT_EQ(item->line, 2);
  // The assembler's -001 for a file it could not open.
  item = ParseErrorItem("/w/inc.asm ERROR 700: Unable to open File; line -001 - /w/inc.asm");
  ASSERT_TRUE(item);
  EXPECT_EQ(item->line, -1);
  // "ERROR" in a folder name cuts there; a "line" in the message is taken first.
  item = ParseErrorItem("/w/ERRORS/a.asm ERROR 100: x; line 0004 - y");
  ASSERT_TRUE(item);
  EXPECT_EQ(item->fileName, "/w");
  item = ParseErrorItem("/a.asm ERROR 17: outline; line 0004 - y");
  ASSERT_TRUE(item);
  EXPECT_EQ(item->line, 0);  // read from " lin"
  // Without a line number the file is still named.
  item = ParseErrorItem("/a.asm ERROR 17: 17");
  ASSERT_TRUE(item);
  EXPECT_FALSE(item->line);
  for (const char* none : {"", " 1 Errors", "ERROR 700: Unable", " ERROR 700: Unable to open File"})
    EXPECT_FALSE(ParseErrorItem(none)) << none;
}

TEST(ErrorLineSelectionTest, SelectsBlockLWithoutItsLineEnd) {
  QTextDocument text(QString("; one\nSTART: LDI 0\n  FOO\n  JMP START"));
  using monitor::ErrorLineSelection;
  auto expect = [&](int line, int start, int length) {
    const auto s = ErrorLineSelection(text, line);
    EXPECT_EQ(s.start, start) << line;
    EXPECT_EQ(s.length, length) << line;
  };
  expect(0, 0, 5);
  expect(1, 6, 12);
  expect(2, 19, 5);
  expect(3, 25, 11);  // the last line, without a line end
  expect(4, 0, 0);
  expect(-1, 0, 0);
  QTextDocument single(QString("NOP"));
  EXPECT_EQ(ErrorLineSelection(single, 0).length, 3);
  QTextDocument ending(QString("NOP\n"));
  EXPECT_EQ(ErrorLineSelection(ending, 1).start, 4);  // the empty last line
  EXPECT_EQ(ErrorLineSelection(ending, 1).length, 0);
}

}  // namespace
