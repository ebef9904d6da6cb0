// The project file's seven lines as bytes, without widgets.
#include "workbench/project_file.h"

#include <gtest/gtest.h>

namespace {

using monitor::ReadProjectLines;
using monitor::WriteProjectLines;
using Lines = std::vector<std::string>;

TEST(ProjectFile, SevenValuesWriteAndReadBackByteForByte) {
  const monitor::ProjectLines values = {"/w/demo/main.asm", "", "",       "QV4234",
                                        "0005,0300,4095",   "", "0,0,0,0"};
  const std::string bytes = WriteProjectLines(values);
  EXPECT_EQ(bytes, "/w/demo/main.asm\r\n\r\n\r\nQV4234\r\n0005,0300,4095\r\n\r\n0,0,0,0\r\n");
  EXPECT_EQ(ReadProjectLines(bytes), Lines(values.begin(), values.end()));

  // Bytes of every value above 0x7F come back as they were.
  monitor::ProjectLines raw;
  for (size_t i = 0; i < raw.size(); ++i) raw[i] = std::string("/p\x80\xE9\xFF") + char('a' + i);
  EXPECT_EQ(ReadProjectLines(WriteProjectLines(raw)), Lines(raw.begin(), raw.end()));
}

TEST(ProjectFile, EveryLineEndEndsALineAndLaterLinesAreIgnored) {
  EXPECT_EQ(ReadProjectLines("a\nb\n\nd"), (Lines{"a", "b", "", "d"}));
  EXPECT_EQ(ReadProjectLines("a\rb\r\rd\r"), (Lines{"a", "b", "", "d"}));
  // CR LF is one end; LF CR is two.
  EXPECT_EQ(ReadProjectLines("a\r\nb\n\rc"), (Lines{"a", "b", "", "c"}));
  EXPECT_EQ(ReadProjectLines(""), Lines{});
  EXPECT_EQ(ReadProjectLines("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9"),
            (Lines{"1", "2", "3", "4", "5", "6", "7"}));
}

TEST(ProjectFile, ALineEndInsideAValueCannotShiftTheLines) {
  const std::string bytes =
      WriteProjectLines({"src\r\nx", "inc\n", "\rout", "QV", "", "", "opt\r\nmore"});
  EXPECT_EQ(bytes, "src  x\r\ninc \r\n out\r\nQV\r\n\r\n\r\nopt  more\r\n");
  const Lines lines = ReadProjectLines(bytes);
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[6], "opt  more");
}

}  // namespace
