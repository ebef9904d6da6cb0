// The rules behind the watch and RAM windows, without a display.
#include "debug/watch_logic.h"

#include <gtest/gtest.h>

#include "debug/column_scale.h"
#include "temp_dir.h"

namespace {

using namespace monitor;

std::string Shown(const std::string& text) {
  const WatchCondition c = ParseCondition(text);
  return std::to_string(c.mode) + " " + std::to_string(c.compare) + " " + c.rel + " " + c.match;
}

TEST(WatchConditionTest, RelationCharactersSetBitsOnceAndTheRestIsTheCompareValue) {
  EXPECT_EQ(Shown(""), "7 0 <>= 0000");
  EXPECT_EQ(Shown("   "), "7 0 <>= 0000");
  EXPECT_EQ(Shown("=<3"), "6 3 <= 0003");
  EXPECT_EQ(Shown("A"), "2 10 = 000A");
  EXPECT_EQ(Shown("<"), "4 0 < 0000");
  EXPECT_EQ(Shown("=1F"), "2 15 = 000F");
  EXPECT_EQ(Shown("> 5"), "1 0 > 0000");  // a blank starts the value, which is not hex
  EXPECT_EQ(Shown(">5  "), "1 5 > 0005");
  // Repeats never carry past the mode's three bits into the read flag.
  EXPECT_EQ(Shown("<<1"), "4 1 < 0001");
  EXPECT_EQ(Shown("<<>>==<"), "7 0 <>= 0000");
}

TEST(SymbolReaderTest, TakesRegisterSymbolsOnlyAfterTheIndentedColumnLine) {
  const std::vector<std::string> lines = {
      "Value:Length at column 1 starts nothing",
      "COUNTX        0009  4       010001        -Reg",  // before the marker
      "; Symbol table",
      "",
      "              Value:Length  Line          Class",
      "COUNT         0005  4       010001        -Reg",
      "AB 0004  -Reg",         // marker at position 10
      "ABC 0003  -Reg",        // marker at position 11
      "        0007  4 -Reg",  // indented, no pending name
      "LONELY",
      "PUBLICNAME    0006  4       010002        PUBLIC",
      "        0012  4       010003        -Reg",  // LONELY's value
      "AVERYLONGNAME14        001234  4       010004        -Reg",
      "TWELVE        12  4       010005        -Reg",
  };
  const std::vector<SymbolRow> rows = ReadSymbols(lines);
  std::vector<std::string> got;
  for (const SymbolRow& row : rows) got.push_back(row.label + "=" + row.value);
  EXPECT_EQ(got, (std::vector<std::string>{"COUNT=0005", "ABC=0003", "LONELY=0012",
                                           "AVERYLONGNAME14=1234", "TWELVE=12"}));
  // A marker in an unindented line never starts the taking state.
  EXPECT_TRUE(ReadSymbols({"X Value:Length", "COUNT         0005  4  010001   -Reg"}).empty());
}

TEST(SymbolReaderTest, ReadsBytesWithEitherLineEndAndNothingFromAMissingFile) {
  testsupport::TempDir dir;
  dir.write("A.SYM", "one\r\ntwo\n\xE9t\xE9\nlast");
  EXPECT_EQ(ReadTextLines(dir.file("A.SYM")),
            (std::vector<std::string>{"one", "two", "\xE9t\xE9", "last"}));
  EXPECT_TRUE(ReadTextLines(dir.file("MISSING.SYM")).empty());
}

TEST(RamLabelTest, FirstSymbolOfEachAddressWithinTheCells) {
  const auto labels = RamLabels({{"FIRST", "0012"},
                                 {"SECOND", "0012"},
                                 {"HIGH", "0080"},
                                 {"NEG", "FFFF"},
                                 {"EMPTY", ""},
                                 {"ZERO", "0000"},
                                 {"TAIL", "7Fxx"}});
  EXPECT_EQ(labels[0x12], "FIRST");
  EXPECT_EQ(labels[0], "EMPTY");  // an empty value counts as 0
  EXPECT_EQ(labels[0x7F], "TAIL");
  int named = 0;
  for (const std::string& label : labels) named += label.empty() ? 0 : 1;
  EXPECT_EQ(named, 3);
}

TEST(ColumnScaleTest, KeepsProportionsAndNeverCollapses) {
  EXPECT_EQ(ScaleWholeColumns({2300, 550, 500}, 6700), (std::vector<int>{4600, 1100, 1000}));
  const std::vector<int> tiny = ScaleWholeColumns({2300, 500, 500, 200, 200, 200, 300, 500}, 3);
  for (int width : tiny) EXPECT_GE(width, 1);
  // A grid without width, or columns without width, keep theirs.
  EXPECT_EQ(ScaleWholeColumns({10, 20}, 0), (std::vector<int>{10, 20}));
  EXPECT_EQ(ScaleWholeColumns({0, 0}, 500), (std::vector<int>{0, 0}));
  // A collapsed window grows back to equal columns, without dividing by 0.
  EXPECT_EQ(ScaleWholeColumns(tiny, 800), std::vector<int>(8, 100));
}

}  // namespace
