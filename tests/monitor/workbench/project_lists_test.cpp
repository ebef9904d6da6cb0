// The mark lists over a bare grid control: collected by address, applied
// through a row finder, limits and skipped rows.
#include "workbench/project_lists.h"

#include <gtest/gtest.h>

#include <QString>
#include <map>

#include "platform/grid_control.h"
#include "platform/messagebox.h"

namespace {

using monitor::MarkKind;

// A listing-like grid: one row per code line, Addr in column 3 as "%04X",
// and the empty last row a load leaves.
class MarkGrid : public ::testing::Test {
 protected:
  MarkGrid() : grid("grdProgram") {
    grid.SetCols(5);
    grid.IndexColumn(3);
    platform::SetMessageBoxHook(
        [this](const std::string& text, const std::string& title, unsigned style) {
          boxes.push_back(title + "|" + text + "|" + std::to_string(style));
          return platform::IDOK;
        });
  }
  ~MarkGrid() override { platform::SetMessageBoxHook(nullptr); }

  void Fill(const std::vector<int>& addresses) {
    grid.SetRows(static_cast<int>(addresses.size()) + 2);
    for (size_t i = 0; i < addresses.size(); ++i)
      grid.SetTextMatrix(static_cast<int>(i) + 1, 3, QString::asprintf("%04X", addresses[i]));
  }
  int RowOf(int32_t address) const {
    return grid.FindInColumn(3, QString::asprintf("%04X", address));
  }
  void Apply(MarkKind kind, const std::string& list) {
    monitor::ApplyMarks(
        grid, kind, list, [this](int32_t a) { return RowOf(a); },
        [this](int32_t a, bool on) { marked[a] = on; });
  }

  platform::GridControl grid;
  std::vector<std::string> boxes;
  std::map<int32_t, bool> marked;
};

TEST_F(MarkGrid, CollectTakesAddressesNotRowsAndSkipsRowsWithoutAnAddress) {
  // Code at 0..2, an origin jump, code at 0x300 and 0xFFF.
  Fill({0, 1, 2, 0x300, 0x301, 0xFFF});
  for (int row : {2, 4, 6, 7}) grid.SetTextMatrix(row, 0, "X");  // row 7: the empty last row
  grid.SetTextMatrix(3, 1, "X");
  grid.SetTextMatrix(5, 1, "X");
  EXPECT_EQ(monitor::CollectMarks(grid, MarkKind::Breakpoint), "0001,0768,4095");
  EXPECT_EQ(monitor::CollectMarks(grid, MarkKind::Tracepoint), "0002,0769");

  // An address above the program memory or not hexadecimal is no address.
  grid.SetTextMatrix(4, 3, "1080");
  grid.SetTextMatrix(6, 3, "0x1F");
  EXPECT_EQ(monitor::CollectMarks(grid, MarkKind::Breakpoint), "0001");
  EXPECT_TRUE(boxes.empty());
}

TEST_F(MarkGrid, CollectKeepsTheFirstTenBreakpointsAndFiftyTracepointsWithOneMessage) {
  std::vector<int> addresses;
  for (int a = 0; a < 60; ++a) addresses.push_back(a * 2);
  Fill(addresses);
  grid.SetTextMatrix(1, 3, "");  // a marked row without an address does not count
  for (int row = 1; row <= 12; ++row) grid.SetTextMatrix(row, 0, "X");
  for (int row = 1; row <= 60; ++row) grid.SetTextMatrix(row, 1, "X");

  EXPECT_EQ(monitor::CollectMarks(grid, MarkKind::Breakpoint),
            "0002,0004,0006,0008,0010,0012,0014,0016,0018,0020");
  const std::string traces = monitor::CollectMarks(grid, MarkKind::Tracepoint);
  EXPECT_EQ(traces.size(), 50u * 5 - 1);
  EXPECT_EQ(traces.substr(0, 9), "0002,0004");
  EXPECT_EQ(traces.substr(traces.size() - 4), "0100");
  EXPECT_EQ(boxes,
            (std::vector<std::string>{"Tavix|only the first 10 breakpoints will be saved !|48",
                                      "Tavix|only the first 50 tracepoints will be saved !|48"}));
}

TEST_F(MarkGrid, ApplyMarksListedAddressesWithRowsAndSkipsTheRestSilently) {
  Fill({0, 5, 12, 0x12C, 0x300});
  grid.SetTextMatrix(1, 0, "X");  // an earlier mark stays
  Apply(MarkKind::Breakpoint, "0005,, 12,9999,0300,abc,0768,4095,0000000000000000000012x");
  EXPECT_EQ(grid.TextMatrix(1, 0), "X");
  EXPECT_EQ(grid.TextMatrix(2, 0), "X");
  EXPECT_EQ(grid.TextMatrix(3, 0), "X");
  EXPECT_EQ(grid.TextMatrix(4, 0), "X");  // 300 decimal is 12C
  EXPECT_EQ(grid.TextMatrix(5, 0), "X");  // 768 decimal is 300
  EXPECT_EQ((std::map<int32_t, bool>{{5, true}, {12, true}, {300, true}, {768, true}}), marked);
  for (int row = 1; row < grid.Rows(); ++row) EXPECT_EQ(grid.TextMatrix(row, 1), "") << row;

  marked.clear();
  Apply(MarkKind::Tracepoint, "0000,0012");
  EXPECT_EQ(grid.TextMatrix(1, 1), "X");
  EXPECT_EQ(grid.TextMatrix(3, 1), "X");
  EXPECT_EQ(marked.size(), 2u);
  EXPECT_TRUE(boxes.empty());

  // What was applied collects back to the same addresses.
  EXPECT_EQ(monitor::CollectMarks(grid, MarkKind::Breakpoint), "0000,0005,0012,0300,0768");
}

}  // namespace
