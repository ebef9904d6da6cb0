// The project file's seven lines as bytes, without widgets.
#include "workbench/project_file.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

TEST(ProjectFile, SevenLinesByteForByteWhateverTheLineEnds) {
  using monitor::ReadProjectLines;
  const monitor::ProjectLines values = {"/w/d\xE9mo/main.asm", "", "",       "QV4234",
                                        "0005,0300,4095",      "", "0,0,0,0"};
  const std::string bytes = monitor::WriteProjectLines(values);
  EXPECT_EQ(bytes, "/w/d\xE9mo/main.asm\r\n\r\n\r\nQV4234\r\n0005,0300,4095\r\n\r\n0,0,0,0\r\n");
  EXPECT_EQ(ReadProjectLines(bytes), Lines(values.begin(), values.end()));
  // LF, CR and CR LF each end a line (LF CR is two); a last line needs no end.
  EXPECT_EQ(ReadProjectLines("a\nb\r\rd\r\ne\n\rg"), (Lines{"a", "b", "", "d", "e", "", "g"}));
  EXPECT_EQ(ReadProjectLines("1\r2\r3\r4\r5\r6\r7\r8\r9"),
            (Lines{"1", "2", "3", "4", "5", "6", "7"}));
  EXPECT_EQ(ReadProjectLines(""), Lines{});
  // A line end inside a value cannot shift the lines after it.
  const std::string broken =
      monitor::WriteProjectLines({"s\r\nx", "i\n", "\ro", "", "", "", "a\r\nb"});
  EXPECT_EQ(broken, "s  x\r\ni \r\n o\r\n\r\n\r\n\r\na  b\r\n");
}

}  // namespace
