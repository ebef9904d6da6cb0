#pragma once
// The grid control of the debug views (program, data, symbols, RAM, trace).
//
// Structure: Rows x Cols text cells. Row 0 is the one fixed row, drawn as the
// header; its text is set through the cell calls like any other row. There is
// no fixed column: column 0 is a data column. Setting fewer rows drops rows,
// more adds empty rows; kept rows keep their text.
//
// Current cell and selection are separate. Row/Col is the current cell;
// SelStartRow..SelEndRow x SelStartCol..SelEndCol is the selection rectangle
// (normalised, start <= end). Setting either never changes the other.
//
// User input (the left button; other buttons raise only the mouse events):
// - a press on a data cell makes it current and the selection that one cell;
// - a drag with the button held extends the selection from that anchor, the
//   current cell staying at the anchor;
// - a press on a header cell selects rows 1..Rows-1 of that column and makes
//   (1, column) current;
// - a press below the last row or right of the last column raises the mouse
//   events but moves neither the current cell nor the selection;
// - keys move the current cell and collapse the selection to it: the
//   arrows by one cell, PgUp/PgDn by the rows the view shows whole (the view
//   scrolling by as many), Home/End to the first/last column of the row,
//   Ctrl+Home/Ctrl+End to the first/last cell of the grid; with Alt held
//   the paging keys do nothing (they are the form's).
// Events, in this order: MouseDown, MouseUp, Click for a click; for the
// second click of a double-click DblClick then MouseUp (no second MouseDown
// or Click); KeyDown before the grid handles the key. MouseRow/MouseCol give
// the cell under the last mouse event: row 0 on the header, -1 below the last
// row (col -1 right of the last column).
//
// Geometry is in twips: ColWidth stays in twips as set, converted only when
// applied. RowPos(r) is the top of row r in the grid's client area, after the
// header and the scrolling; TopRow is the first visible data row. The view
// scrolls only by the user, SetTopRow, a click on a cell or a moving key:
// setting the current cell or the selection from code never scrolls it.
//
// Bulk fills: between BeginUpdate and EndUpdate writes do not reach the view;
// EndUpdate resets the model once and keeps the scroll position. FindInColumn looks up a text
// through an index kept for the columns a form asks to index; every write updates it.
//
// Underneath is a model/view table: the texts live in one vector, with no
// item object per cell.
#include <QHash>
#include <QTableView>
#include <functional>
#include <set>
#include <vector>

namespace platform {

class GridModel;

class GridControl : public QTableView {
 public:
  explicit GridControl(const QString& name, QWidget* parent = nullptr);
  ~GridControl() override;

  int Rows() const { return rows_; }
  void SetRows(int rows);
  int Cols() const { return cols_; }
  void SetCols(int cols);

  int Row() const { return row_; }
  void SetRow(int row);
  int Col() const { return col_; }
  void SetCol(int col);

  QString Text() const { return TextMatrix(row_, col_); }
  void SetText(const QString& text) { SetTextMatrix(row_, col_, text); }
  QString TextMatrix(int row, int col) const;
  void SetTextMatrix(int row, int col, const QString& text);

  int SelStartRow() const { return std::min(selRow1_, selRow2_); }
  int SelEndRow() const { return std::max(selRow1_, selRow2_); }
  int SelStartCol() const { return std::min(selCol1_, selCol2_); }
  int SelEndCol() const { return std::max(selCol1_, selCol2_); }
  void SetSelStartRow(int row);
  void SetSelEndRow(int row);
  void SetSelStartCol(int col);
  void SetSelEndCol(int col);
  void SetSelection(int startRow, int startCol, int endRow, int endCol);

  int ColWidth(int col) const;
  void SetColWidth(int col, int twips);
  // The width in twips that the columns of a grid `gridWidth` twips wide fill
  // without a horizontal bar: less the frame and room for a vertical bar.
  int ColumnSpace(int gridWidth) const;
  int RowHeight(int row) const;
  void SetRowHeight(int row, int twips);
  int RowPos(int row) const;
  int TopRow() const;
  void SetTopRow(int row);

  // Font and background (a long colour value).
  void SetFontFace(const QString& name, double size, bool bold, bool italic);
  long BackColor() const { return backColor_; }
  void SetBackColor(long color);
  void Refresh();

  void BeginUpdate();
  void EndUpdate();

  void IndexColumn(int col);
  // The first row from 1 whose cell in `col` is exactly `text`, or -1.
  int FindInColumn(int col, const QString& text) const;

  int MouseRow() const { return mouseRow_; }
  int MouseCol() const { return mouseCol_; }

  // Mouse events: button 1 left, 2 right, 4 middle; shift mask; x and y in
  // twips in the grid.
  std::function<void(int button, int shift, int x, int y)> onMouseDown, onMouseUp;
  std::function<void()> onClick, onDblClick, onSelChange, onRowColChange;
  std::function<void(int& keyCode, int shift)> onKeyDown;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class GridModel;
  bool Selected(int row, int col) const;
  bool Current(int row, int col) const { return row == row_ && col == col_; }
  void Press(QMouseEvent* event, const QPoint& gridPoint);
  void Release(QMouseEvent* event, const QPoint& gridPoint);
  void Locate(const QPoint& gridPoint);
  void CellsChanged(int row1, int col1, int row2, int col2);
  void Reindex(int col);
  void MoveCurrent(int row, int col, bool collapse);
  int PageRows() const;
  void ApplyColumnWidths();

  GridModel* model_;
  int rows_ = 2, cols_ = 2;
  std::vector<QString> cells_;  // rows_ x cols_, row-major
  int row_ = 1, col_ = 0;
  int selRow1_ = 1, selRow2_ = 1, selCol1_ = 0, selCol2_ = 0;
  std::vector<int> colWidthTwips_;
  long backColor_ = 0xFFFFFF;
  int updating_ = 0;
  std::vector<QHash<QString, std::set<int>>> index_;  // per column; empty when not indexed
  std::vector<bool> indexed_;
  int mouseRow_ = 0, mouseCol_ = 0;
  bool dragging_ = false, pressed_ = false, secondClick_ = false;
  int anchorRow_ = 1, anchorCol_ = 0;
};

}  // namespace platform
