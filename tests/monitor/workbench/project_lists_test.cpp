// The mark lists over a bare grid control: collected by address, applied
// through a row finder, limits and skipped rows.
#include "workbench/project_lists.h"

#include <gtest/gtest.h>

#include "platform/grid_control.h"
#include "platform/messagebox.h"

namespace {

using monitor::CollectMarks;
using monitor::MarkKind;

// One row per code line with Addr in column 3, and the empty last row a
// load leaves; message boxes recorded.
class MarkGrid : public ::testing::Test {
 protected:
  explicit MarkGrid(std::vector<int> addresses = {0, 5, 12, 0x12C, 0x300, 0xFFF}) {
    grid.SetCols(5);
    grid.IndexColumn(3);
    grid.SetRows(static_cast<int>(addresses.size()) + 2);
    for (size_t i = 0; i < addresses.size(); ++i)
      grid.SetTextMatrix(static_cast<int>(i) + 1, 3, QString::asprintf("%04X", addresses[i]));
    platform::SetMessageBoxHook(
        [this](const std::string& text, const std::string& title, unsigned style) {
          boxes.push_back(title + "|" + text + "|" + std::to_string(style));
          return platform::IDOK;
        });
  }
  ~MarkGrid() override { platform::SetMessageBoxHook(nullptr); }

  platform::GridControl grid{"grdProgram"};
  std::vector<std::string> boxes;
};

TEST_F(MarkGrid, ListsHoldAddressesAndGoBackToTheRowsOfThoseAddresses) {
  std::vector<int32_t> marked;
  monitor::ApplyMarks(
      grid, MarkKind::Breakpoint, "0005,, 12,9999,0300,abc,0768,4000,00000000000000012x",
      [this](int32_t a) { return grid.FindInColumn(3, QString::asprintf("%04X", a)); },
      [&marked](int32_t a, bool on) { marked.push_back(on ? a : -a); });
  EXPECT_EQ(marked, (std::vector<int32_t>{5, 12, 300, 768, 12}));
  grid.SetTextMatrix(7, 0, "X");  // the empty last row
  grid.SetTextMatrix(6, 1, "X");
  EXPECT_EQ(CollectMarks(grid, MarkKind::Breakpoint), "0005,0012,0300,0768");
  EXPECT_EQ(CollectMarks(grid, MarkKind::Tracepoint), "4095");
  // An Addr that is above program memory or not hexadecimal is no address.
  grid.SetTextMatrix(4, 3, "1080");
  grid.SetTextMatrix(5, 3, "0x1F");
  EXPECT_EQ(CollectMarks(grid, MarkKind::Breakpoint), "0005,0012");
  EXPECT_TRUE(boxes.empty());
}

TEST_F(MarkGrid, TheFirstTenBreakpointsAndFiftyTracepointsAreKeptWithOneMessage) {
  grid.SetRows(70);
  for (int row = 1; row < 70; ++row) {
    grid.SetTextMatrix(row, 3, row == 1 ? "" : QString::asprintf("%04X", row * 2));
    grid.SetTextMatrix(row, 0, "X");
    grid.SetTextMatrix(row, 1, "X");
  }
  EXPECT_EQ(CollectMarks(grid, MarkKind::Breakpoint),
            "0004,0006,0008,0010,0012,0014,0016,0018,0020,0022");
  const std::string traces = CollectMarks(grid, MarkKind::Tracepoint);
  EXPECT_EQ(traces.size(), 50u * 5 - 1);
  EXPECT_EQ(traces.substr(traces.size() - 4), "0102");
  EXPECT_EQ(boxes,
            (std::vector<std::string>{"Tavix|only the first 10 breakpoints will be saved !|48",
                                      "Tavix|only the first 50 tracepoints will be saved !|48"}));
}

}  // namespace
