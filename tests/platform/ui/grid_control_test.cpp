// The grid control driven as the debug views drive it: programmatic sets,
// real mouse and key events, twips geometry and the column index.
#include "platform/grid_control.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QScrollBar>
#include <QTest>
#include <string>
#include <vector>

#include "platform/run_time_error.h"
#include "platform/twips.h"

namespace {

using platform::GridControl;

class GridTest : public ::testing::Test {
 protected:
  GridTest() : grid("grdProgram") {
    grid.resize(400, 200);
    grid.SetCols(4);
    grid.SetRows(50);
    for (int c = 0; c < 4; ++c) grid.SetColWidth(c, 1200);
    for (int r = 0; r < 50; ++r) {
      for (int c = 0; c < 4; ++c) grid.SetTextMatrix(r, c, QString("%1,%2").arg(r).arg(c));
    }
    grid.show();
    grid.onMouseDown = [this](int b, int, int, int) { Log("down" + std::to_string(b)); };
    grid.onMouseUp = [this](int b, int, int, int) { Log("up" + std::to_string(b)); };
    grid.onClick = [this] { Log("click"); };
    grid.onDblClick = [this] { Log("dbl"); };
  }
  void Log(const std::string& entry) { events.push_back(entry); }
  // The centre of a data cell in viewport coordinates.
  QPoint Cell(int row, int col) {
    return grid.visualRect(grid.model()->index(row - 1, col)).center();
  }
  QPoint Header(int col) { return {grid.horizontalHeader()->sectionViewportPosition(col) + 5, 5}; }

  GridControl grid;
  std::vector<std::string> events;
};

TEST_F(GridTest, CurrentCellAndSelectionAreSeparateAndRowsKeepTheirText) {
  grid.SetSelection(3, 1, 5, 2);
  grid.SetRow(10);
  grid.SetCol(3);
  EXPECT_EQ(grid.SelStartRow(), 3);
  EXPECT_EQ(grid.SelEndRow(), 5);
  EXPECT_EQ(grid.Text(), "10,3");
  // A reversed rectangle reads back normalised.
  grid.SetSelection(8, 3, 2, 0);
  EXPECT_EQ(grid.SelStartRow(), 2);
  EXPECT_EQ(grid.SelEndRow(), 8);
  EXPECT_EQ(grid.SelStartCol(), 0);
  EXPECT_EQ(grid.SelEndCol(), 3);
  EXPECT_EQ(grid.Row(), 10);

  grid.SetRows(5);
  EXPECT_EQ(grid.TextMatrix(4, 2), "4,2");
  EXPECT_EQ(grid.Row(), 4);  // the current row follows the last row
  grid.SetRows(7);
  EXPECT_EQ(grid.TextMatrix(4, 2), "4,2");
  EXPECT_EQ(grid.TextMatrix(6, 2), "");
  grid.SetCols(2);
  EXPECT_EQ(grid.TextMatrix(3, 1), "3,1");
  EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal).toString(), "0,1");
  EXPECT_THROW(grid.TextMatrix(7, 0), platform::RunTimeError);
  EXPECT_THROW(grid.SetTextMatrix(0, 2, "x"), platform::RunTimeError);
}

TEST_F(GridTest, ClickDragHeaderAndBelowTheLastRow) {
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, Cell(2, 1));
  EXPECT_EQ(events, (std::vector<std::string>{"down1", "up1", "click"}));
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_EQ(grid.SelStartRow(), 2);
  EXPECT_EQ(grid.SelEndRow(), 2);
  EXPECT_EQ(grid.MouseRow(), 2);
  EXPECT_EQ(grid.MouseCol(), 1);

  // A drag extends from the anchor; the current cell stays at the anchor.
  QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, Cell(3, 0));
  QMouseEvent move(QEvent::MouseMove, Cell(5, 2), grid.viewport()->mapToGlobal(Cell(5, 2)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(grid.viewport(), &move);
  QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, Cell(5, 2));
  EXPECT_EQ(grid.Row(), 3);
  EXPECT_EQ(grid.Col(), 0);
  EXPECT_EQ(grid.SelStartRow(), 3);
  EXPECT_EQ(grid.SelEndRow(), 5);
  EXPECT_EQ(grid.SelEndCol(), 2);

  // A header press selects the whole column and makes row 1 current.
  events.clear();
  QTest::mouseClick(grid.horizontalHeader()->viewport(), Qt::LeftButton, {}, Header(2));
  EXPECT_EQ(events, (std::vector<std::string>{"down1", "up1", "click"}));
  EXPECT_EQ(grid.MouseRow(), 0);
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.Col(), 2);
  EXPECT_EQ(grid.SelStartRow(), 1);
  EXPECT_EQ(grid.SelEndRow(), 49);
  EXPECT_EQ(grid.SelStartCol(), 2);
  EXPECT_EQ(grid.SelEndCol(), 2);

  // Below the last row: the events, but no move.
  grid.SetRows(3);
  events.clear();
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(10, grid.viewport()->height() - 3));
  EXPECT_EQ(events, (std::vector<std::string>{"down1", "up1", "click"}));
  EXPECT_EQ(grid.MouseRow(), -1);
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.SelEndRow(), 2);
}

TEST_F(GridTest, DoubleClickOrderAndKeys) {
  // A double-click arrives as press, release, double-click, release.
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, Cell(4, 3));
  QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, Cell(4, 3));
  QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, Cell(4, 3));
  EXPECT_EQ(events, (std::vector<std::string>{"down1", "up1", "click", "dbl", "up1"}));

  std::vector<int> keys;
  grid.onKeyDown = [&](int& code, int shift) {
    keys.push_back(code * 10 + shift);
    if (code == 46) code = 0;  // consumed
  };
  grid.SetSelection(1, 0, 9, 3);
  grid.setFocus();
  QTest::keyClick(&grid, Qt::Key_Down);
  EXPECT_EQ(grid.Row(), 5);
  EXPECT_EQ(grid.SelStartRow(), 5);
  EXPECT_EQ(grid.SelEndRow(), 5);
  EXPECT_EQ(grid.SelEndCol(), 3);
  QTest::keyClick(&grid, Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(grid.Col(), 2);
  QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
  // The modifier keys come first as keys of their own (Shift 16, Ctrl 17).
  EXPECT_EQ(keys, (std::vector<int>{400, 161, 371, 172, 462}));
}

TEST_F(GridTest, PagingKeysMoveTheCellAndTheView) {
  grid.SetRows(4000);
  grid.setFocus();
  const int page = grid.viewport()->height() / grid.rowHeight(0);
  const auto key = [&](Qt::Key k, Qt::KeyboardModifiers mods, int row, int col, int top) {
    QTest::keyClick(&grid, k, mods);
    EXPECT_EQ(std::vector<int>({k, grid.Row(), grid.Col(), grid.SelEndRow(), grid.TopRow()}),
              std::vector<int>({k, row, col, row, top}));
  };
  key(Qt::Key_PageDown, {}, 1 + page, 0, 1 + page);
  key(Qt::Key_End, {}, 1 + page, 3, 1 + page);
  key(Qt::Key_Home, Qt::AltModifier, 1 + page, 3, 1 + page);  // the form's key
  key(Qt::Key_PageUp, {}, 1, 3, 1);
  key(Qt::Key_Home, {}, 1, 0, 1);
  key(Qt::Key_End, Qt::ControlModifier, 3999, 3, 4000 - page);
  key(Qt::Key_Home, Qt::ControlModifier, 1, 0, 1);
}

TEST_F(GridTest, TwipsGeometryAndScrolling) {
  grid.SetColWidth(1, 1000);  // not a whole number of pixels at 15 twips per pixel
  EXPECT_EQ(grid.ColWidth(1), 1000);
  EXPECT_EQ(grid.columnWidth(1), platform::TwipsToPixels(1000));
  grid.SetRows(60);  // applying widths again keeps the twips
  EXPECT_EQ(grid.ColWidth(1), 1000);

  grid.SetRowHeight(1, 300);
  grid.SetRowHeight(2, 300);
  const int header = grid.RowHeight(0);
  EXPECT_EQ(grid.RowPos(0), 0);
  EXPECT_EQ(grid.RowPos(1), header);
  EXPECT_EQ(grid.RowPos(2), header + 300);
  EXPECT_EQ(grid.TopRow(), 1);
  grid.SetTopRow(20);
  EXPECT_EQ(grid.TopRow(), 20);
  EXPECT_EQ(grid.RowPos(20), header);
  EXPECT_LT(grid.RowPos(19), header);
  // A click after scrolling hits the row shown there.
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, Cell(21, 0));
  EXPECT_EQ(grid.Row(), 21);

  // Columns wider than the grid: the current cell and the selection set from
  // code, and a fill, scroll neither way; a fill keeps the user's place.
  for (int c = 0; c < 4; ++c) grid.SetColWidth(c, 3000);
  QCoreApplication::processEvents();
  grid.SetTopRow(30);
  grid.SetRow(5);
  grid.SetCol(3);
  grid.SetSelection(50, 0, 50, 3);
  grid.BeginUpdate();
  grid.SetTextMatrix(50, 3, "filled");
  grid.EndUpdate();
  EXPECT_EQ(grid.horizontalScrollBar()->value(), 0);
  EXPECT_EQ(grid.TopRow(), 30);
  // Columns that fill the room the grid leaves them need no horizontal bar.
  const int space = grid.ColumnSpace(platform::PixelsToTwips(grid.width()));
  for (int c = 0; c < 4; ++c) grid.SetColWidth(c, space / 4);
  QCoreApplication::processEvents();
  EXPECT_TRUE(grid.verticalScrollBar()->isVisible());
  EXPECT_EQ(grid.horizontalScrollBar()->maximum(), 0);
}

TEST_F(GridTest, ColumnIndexFollowsWritesAndBulkFills) {
  grid.IndexColumn(3);
  EXPECT_EQ(grid.FindInColumn(3, "7,3"), 7);
  grid.SetTextMatrix(7, 3, "0010");
  grid.SetTextMatrix(9, 3, "0010");
  grid.SetTextMatrix(4, 3, "0010");
  EXPECT_EQ(grid.FindInColumn(3, "7,3"), -1);
  EXPECT_EQ(grid.FindInColumn(3, "0010"), 4);
  grid.SetTextMatrix(4, 3, "x");
  EXPECT_EQ(grid.FindInColumn(3, "0010"), 7);
  EXPECT_EQ(grid.FindInColumn(3, "0,3"), -1);  // the header is not a data row
  EXPECT_EQ(grid.FindInColumn(1, "9,1"), 9);   // an unindexed column is walked
  grid.SetRows(8);
  EXPECT_EQ(grid.FindInColumn(3, "0010"), 7);
  grid.SetRows(5);
  EXPECT_EQ(grid.FindInColumn(3, "0010"), -1);

  int resets = 0;
  QObject::connect(grid.model(), &QAbstractItemModel::modelReset, [&] { ++resets; });
  grid.BeginUpdate();
  grid.SetRows(4097);
  grid.SetCols(9);
  for (int r = 1; r < 4097; ++r) {
    for (int c = 0; c < 9; ++c) grid.SetTextMatrix(r, c, QString::number(r * 16 + c, 16));
  }
  grid.EndUpdate();
  EXPECT_EQ(resets, 1);
  EXPECT_EQ(grid.model()->rowCount(), 4096);
  EXPECT_EQ(grid.FindInColumn(3, QString::number(4000 * 16 + 3, 16)), 4000);
  EXPECT_EQ(grid.model()->index(4095, 8).data().toString(), QString::number(4096 * 16 + 8, 16));
}

}  // namespace
