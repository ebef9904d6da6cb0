// The text match of the debug views' search over a grid's cells.
#include "debug/view_search.h"

#include <gtest/gtest.h>

#include "platform/grid_control.h"

namespace {

using namespace monitor;

TEST(MatchText, FirstOccurrenceWholeWordsCaseAndRange) {
  platform::GridControl grid("grdProgram");
  grid.SetRows(8);
  grid.SetCols(3);
  const char* const cells[][3] = {
      {"Addr", "Label", "Operand"},  // header
      {"", "LOOP1", ""},             // a digit follows
      {"", "", "LOOP,X"},            // a comma follows, in a later column
      {"", "XLD LD", ""},            // only the first occurrence is judged
      {"", "A_LD_B", ""},            // "_" is a boundary
      {"", "loop", ""},
      {"", "", "ÄLDÖ"},  // letters outside ASCII are boundaries
      {"", "LD", "x"},
  };
  for (int row = 0; row < 8; ++row) {
    for (int col = 0; col < 3; ++col)
      grid.SetTextMatrix(row, col, QString::fromUtf8(cells[row][col]));
  }
  constexpr int kWord = kSearchWholeWord, kCase = kSearchMatchCase;
  EXPECT_EQ(MatchText(grid, "LOOP", 0, 1, 7), 1);
  EXPECT_EQ(MatchText(grid, "LOOP", kWord, 1, 7), 2);
  EXPECT_EQ(MatchText(grid, "LOOP", kWord, 3, 7), 5);  // case ignored
  EXPECT_EQ(MatchText(grid, "LOOP", kWord | kCase, 3, 7), -1);
  EXPECT_EQ(MatchText(grid, "loop", kCase, 1, 7), 5);
  EXPECT_EQ(MatchText(grid, "LD", 0, 3, 7), 3);
  EXPECT_EQ(MatchText(grid, "LD", kWord, 3, 7), 4);
  EXPECT_EQ(MatchText(grid, "LD", kWord, 5, 7), 6);
  EXPECT_EQ(MatchText(grid, "LD", kWord, 7, 7), 7);  // the whole cell
  // The header takes part only when the range names it; a range past the
  // grid stops at its last row; nothing in range gives -1.
  EXPECT_EQ(MatchText(grid, "addr", 0, 0, 7), 0);
  EXPECT_EQ(MatchText(grid, "addr", 0, 1, 7), -1);
  EXPECT_EQ(MatchText(grid, "x", kWord, 6, 4000), 7);
  EXPECT_EQ(MatchText(grid, "LOOP1", 0, 2, 1), -1);
  // Searching for nothing finds nothing.
  EXPECT_EQ(MatchText(grid, "", 0, 0, 7), -1);
}

}  // namespace
