// The pure readings of a build: the assembler's argument, the ROM and
// program sizes, and the error line's file and number.
#include <gtest/gtest.h>

#include "workbench/build_command.h"
#include "workbench/buildout.h"
#include "workbench/error_line.h"

namespace {

TEST(BuildReadingsTest, ArgumentsSizesAndErrorItems) {
  using monitor::AssemblerArguments;
  using Args = std::vector<std::string>;
  EXPECT_EQ(AssemblerArguments("main.asm", "/p/DEMO.prj").arguments, Args{"/D/s/p/main"});
  EXPECT_EQ(AssemblerArguments("/src/A.Asm", "/p/DEMO.prj").arguments, Args{"/D/s/src/A"});
  EXPECT_EQ(AssemblerArguments("/my dir/x.asm", "").arguments, Args{"/D/s/my dir/x"});
  EXPECT_EQ(AssemblerArguments("sub/main.asm", "/p/DEMO.prj").arguments, Args{"/D/ssub/main"});
  EXPECT_EQ(AssemblerArguments("main.ASM", "DEMO.prj").arguments, Args{"/D/smain"});
  EXPECT_EQ(AssemblerArguments("", "/p/D.prj").refusal,
            "No Source file defined for the current project");
  for (const char* bad : {"/p/main.txt", "asm", "/p/mainasm"})
    EXPECT_EQ(AssemblerArguments(bad, "").refusal, "Source file must have the extension <.ASM>");

  using monitor::RomSizeValue;
  EXPECT_EQ(RomSizeValue("2048 words"), 2048);
  EXPECT_EQ(RomSizeValue("  40000"), 40000);  // above 16 bits
  EXPECT_EQ(RomSizeValue("-12x"), -12);
  EXPECT_EQ(RomSizeValue("1500.5"), 1500);  // halves to even
  EXPECT_EQ(RomSizeValue("1501.5"), 1502);
  EXPECT_EQ(RomSizeValue("words"), 0);
  EXPECT_EQ(RomSizeValue("99999999999"), INT32_MAX);
  EXPECT_EQ(monitor::ParseProgramSize("Prog-Size=12345"), 1234);
  EXPECT_EQ(monitor::ParseProgramSize("xx Prog-Size=0042"), 0);  // characters 11-14: "ze=0"

  using monitor::ParseErrorItem;
  auto item = ParseErrorItem("/w/in.asm ERROR 700: Unable to open File; line -001 - /w/in.asm");
  ASSERT_TRUE(item);
  EXPECT_EQ(item->fileName, "/w/in.asm");
  EXPECT_EQ(item->line, -1);
  // "ERROR" in a folder cuts the name; a "line" in the message is read first.
  item = ParseErrorItem("/w/ERRORS/a.asm ERROR 17: outline; line 0004 - y");
  ASSERT_TRUE(item);
  EXPECT_EQ(item->fileName, "/w");
  EXPECT_EQ(item->line, 0);  // read from " lin"
  EXPECT_FALSE(ParseErrorItem("/a.asm ERROR 17: 17")->line);
  for (const char* none : {"", " 1 Errors", "ERROR 700: x; line 0000", " ERROR 700: x; line 0000"})
    EXPECT_FALSE(ParseErrorItem(none)) << none;
}

}  // namespace
