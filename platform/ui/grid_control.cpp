#include "platform/grid_control.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "platform/controls.h"
#include "platform/run_time_error.h"
#include "platform/twips.h"

namespace platform {

// The view's model: data rows 1..Rows-1 as model rows 0.., row 0 as the
// horizontal header. It reads the grid's own storage.
class GridModel : public QAbstractTableModel {
 public:
  explicit GridModel(GridControl& grid) : QAbstractTableModel(&grid), grid_(grid) {}

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : std::max(0, grid_.rows_ - 1);
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : grid_.cols_;
  }
  QVariant data(const QModelIndex& index, int role) const override {
    const int row = index.row() + 1, col = index.column();
    if (role == Qt::DisplayRole) return grid_.cells_[static_cast<size_t>(row) * grid_.cols_ + col];
    if (role == Qt::BackgroundRole && grid_.Selected(row, col) && !grid_.Current(row, col)) {
      return grid_.palette().highlight();
    }
    if (role == Qt::ForegroundRole && grid_.Selected(row, col) && !grid_.Current(row, col)) {
      return grid_.palette().highlightedText();
    }
    return {};
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < grid_.cols_) {
      return grid_.cells_[section];
    }
    return {};
  }
  void Reset() {
    beginResetModel();
    endResetModel();
  }
  void Changed(int row1, int col1, int row2, int col2) {
    if (row1 == 0) emit headerDataChanged(Qt::Horizontal, col1, col2);
    row1 = std::max(row1, 1);
    if (row2 >= row1) emit dataChanged(index(row1 - 1, col1), index(row2 - 1, col2));
  }

 private:
  GridControl& grid_;
};

GridControl::GridControl(const QString& name, QWidget* parent)
    : QTableView(parent), model_(new GridModel(*this)) {
  setObjectName(name);
  cells_.resize(static_cast<size_t>(rows_) * cols_);
  colWidthTwips_.assign(cols_, -1);
  index_.resize(cols_);
  indexed_.assign(cols_, false);
  setModel(model_);
  setSelectionMode(QAbstractItemView::NoSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  // The view follows the current cell only where the grid asks it to: moving
  // the current cell or the selection from code never scrolls.
  setAutoScroll(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->viewport()->installEventFilter(this);
  setMouseTracking(false);
}

GridControl::~GridControl() = default;

bool GridControl::Selected(int row, int col) const {
  return row >= SelStartRow() && row <= SelEndRow() && col >= SelStartCol() && col <= SelEndCol();
}

void GridControl::SetRows(int rows) {
  rows = std::max(1, rows);
  if (rows == rows_) return;
  rows_ = rows;
  cells_.resize(static_cast<size_t>(rows_) * cols_);
  row_ = std::min(row_, rows_ - 1);
  selRow1_ = std::min(selRow1_, rows_ - 1);
  selRow2_ = std::min(selRow2_, rows_ - 1);
  for (int c = 0; c < cols_; ++c) Reindex(c);
  if (updating_ == 0) model_->Reset();
  ApplyColumnWidths();
}

void GridControl::SetCols(int cols) {
  cols = std::max(1, cols);
  if (cols == cols_) return;
  std::vector<QString> cells(static_cast<size_t>(rows_) * cols);
  for (int r = 0; r < rows_; ++r) {
    for (int c = 0; c < std::min(cols, cols_); ++c) {
      cells[static_cast<size_t>(r) * cols + c] =
          std::move(cells_[static_cast<size_t>(r) * cols_ + c]);
    }
  }
  cells_ = std::move(cells);
  cols_ = cols;
  colWidthTwips_.resize(cols_, -1);
  index_.resize(cols_);
  indexed_.resize(cols_, false);
  col_ = std::min(col_, cols_ - 1);
  selCol1_ = std::min(selCol1_, cols_ - 1);
  selCol2_ = std::min(selCol2_, cols_ - 1);
  for (int c = 0; c < cols_; ++c) Reindex(c);
  if (updating_ == 0) model_->Reset();
  ApplyColumnWidths();
}

namespace {
void CheckCell(int row, int col, int rows, int cols) {
  if (row < 0 || row >= rows || col < 0 || col >= cols) {
    throw RunTimeError(381, "Subscript out of range");
  }
}
}  // namespace

QString GridControl::TextMatrix(int row, int col) const {
  CheckCell(row, col, rows_, cols_);
  return cells_[static_cast<size_t>(row) * cols_ + col];
}

void GridControl::SetTextMatrix(int row, int col, const QString& text) {
  CheckCell(row, col, rows_, cols_);
  QString& cell = cells_[static_cast<size_t>(row) * cols_ + col];
  if (indexed_[col]) {
    auto it = index_[col].find(cell);
    if (it != index_[col].end()) {
      it->erase(row);
      if (it->empty()) index_[col].erase(it);
    }
    index_[col][text].insert(row);
  }
  cell = text;
  if (updating_ == 0) model_->Changed(row, col, row, col);
}

void GridControl::SetRow(int row) {
  CheckCell(row, col_, rows_, cols_);
  if (row == row_) return;
  const int old = row_;
  row_ = row;
  CellsChanged(std::min(old, row), col_, std::max(old, row), col_);
  if (onRowColChange) onRowColChange();
}

void GridControl::SetCol(int col) {
  CheckCell(row_, col, rows_, cols_);
  if (col == col_) return;
  const int old = col_;
  col_ = col;
  CellsChanged(row_, std::min(old, col), row_, std::max(old, col));
  if (onRowColChange) onRowColChange();
}

void GridControl::SetSelection(int startRow, int startCol, int endRow, int endCol) {
  CheckCell(startRow, startCol, rows_, cols_);
  CheckCell(endRow, endCol, rows_, cols_);
  const int oldTop = SelStartRow(), oldBottom = SelEndRow();
  selRow1_ = startRow;
  selCol1_ = startCol;
  selRow2_ = endRow;
  selCol2_ = endCol;
  CellsChanged(std::min(oldTop, SelStartRow()), 0, std::max(oldBottom, SelEndRow()), cols_ - 1);
  if (onSelChange) onSelChange();
}

void GridControl::SetSelStartRow(int row) {
  SetSelection(row, SelStartCol(), SelEndRow(), SelEndCol());
}
void GridControl::SetSelEndRow(int row) {
  SetSelection(SelStartRow(), SelStartCol(), row, SelEndCol());
}
void GridControl::SetSelStartCol(int col) {
  SetSelection(SelStartRow(), col, SelEndRow(), SelEndCol());
}
void GridControl::SetSelEndCol(int col) {
  SetSelection(SelStartRow(), SelStartCol(), SelEndRow(), col);
}

void GridControl::CellsChanged(int row1, int col1, int row2, int col2) {
  if (updating_ != 0) return;
  if (row_ >= 1) {
    setCurrentIndex(model_->index(row_ - 1, col_));
  }
  model_->Changed(row1, col1, row2, col2);
}

int GridControl::ColWidth(int col) const {
  CheckCell(0, col, rows_, cols_);
  return colWidthTwips_[col] >= 0 ? colWidthTwips_[col] : PixelsToTwips(columnWidth(col));
}

void GridControl::SetColWidth(int col, int twips) {
  CheckCell(0, col, rows_, cols_);
  colWidthTwips_[col] = std::max(0, twips);
  setColumnWidth(col, TwipsToPixels(colWidthTwips_[col]));
}

int GridControl::ColumnSpace(int gridWidth) const {
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  // Each column's width rounds to whole pixels: half a pixel a column spare.
  const int rounding = cols_ / 2 + 1;
  return std::max(0, gridWidth - PixelsToTwips(2 * frameWidth() + bar + rounding));
}

void GridControl::ApplyColumnWidths() {
  for (int c = 0; c < cols_; ++c) {
    if (colWidthTwips_[c] >= 0) setColumnWidth(c, TwipsToPixels(colWidthTwips_[c]));
  }
}

int GridControl::RowHeight(int row) const {
  CheckCell(row, 0, rows_, cols_);
  if (row == 0) return PixelsToTwips(horizontalHeader()->height());
  return PixelsToTwips(rowHeight(row - 1));
}

void GridControl::SetRowHeight(int row, int twips) {
  CheckCell(row, 0, rows_, cols_);
  if (row == 0) {
    horizontalHeader()->setFixedHeight(TwipsToPixels(twips));
  } else {
    setRowHeight(row - 1, TwipsToPixels(twips));
  }
}

int GridControl::RowPos(int row) const {
  CheckCell(row, 0, rows_, cols_);
  if (row == 0) return 0;
  return PixelsToTwips(horizontalHeader()->height() + rowViewportPosition(row - 1));
}

int GridControl::TopRow() const {
  if (rows_ < 2) return 0;
  const int first = rowAt(0);
  return first < 0 ? 1 : first + 1;
}

void GridControl::SetTopRow(int row) {
  CheckCell(row, 0, rows_, cols_);
  verticalScrollBar()->setValue(std::max(0, row - 1));
}

void GridControl::SetFontFace(const QString& name, double size, bool bold, bool italic) {
  QFont face(name);
  if (size > 0) face.setPointSizeF(size);
  face.setBold(bold);
  face.setItalic(italic);
  setFont(face);
}

void GridControl::SetBackColor(long color) {
  backColor_ = color;
  QPalette colours = palette();
  colours.setColor(QPalette::Base, ColorFromLong(color));
  setPalette(colours);
}

void GridControl::Refresh() {
  viewport()->update();
}

void GridControl::BeginUpdate() {
  ++updating_;
}

void GridControl::EndUpdate() {
  if (updating_ == 0 || --updating_ != 0) return;
  // A fill leaves the view where the user put it.
  const int left = horizontalScrollBar()->value(), top = verticalScrollBar()->value();
  model_->Reset();
  ApplyColumnWidths();
  if (row_ >= 1) setCurrentIndex(model_->index(row_ - 1, col_));
  updateGeometries();
  horizontalScrollBar()->setValue(left);
  verticalScrollBar()->setValue(top);
}

void GridControl::IndexColumn(int col) {
  CheckCell(0, col, rows_, cols_);
  indexed_[col] = true;
  Reindex(col);
}

void GridControl::Reindex(int col) {
  index_[col].clear();
  if (!indexed_[col]) return;
  for (int r = 1; r < rows_; ++r)
    index_[col][cells_[static_cast<size_t>(r) * cols_ + col]].insert(r);
}

int GridControl::FindInColumn(int col, const QString& text) const {
  if (col < 0 || col >= cols_) return -1;
  if (indexed_[col]) {
    auto it = index_[col].find(text);
    return it == index_[col].end() || it->empty() ? -1 : *it->begin();
  }
  for (int r = 1; r < rows_; ++r) {
    if (cells_[static_cast<size_t>(r) * cols_ + col] == text) return r;
  }
  return -1;
}

void GridControl::Locate(const QPoint& gridPoint) {
  const QPoint at = viewport()->mapFrom(this, gridPoint);
  const int col = columnAt(at.x());
  mouseCol_ = col;
  if (at.y() < 0) {
    mouseRow_ = 0;
  } else {
    const int row = rowAt(at.y());
    mouseRow_ = row < 0 ? -1 : row + 1;
  }
}

void GridControl::MoveCurrent(int row, int col, bool collapse) {
  const bool moved = row != row_ || col != col_;
  const int oldRow = row_;
  row_ = row;
  col_ = col;
  if (collapse) {
    anchorRow_ = row;
    anchorCol_ = col;
    SetSelection(row, col, row, col);
  }
  CellsChanged(std::min(oldRow, row), 0, std::max(oldRow, row), cols_ - 1);
  if (row >= 1) scrollTo(model_->index(row - 1, col));
  if (moved && onRowColChange) onRowColChange();
}

void GridControl::Press(QMouseEvent* event, const QPoint& gridPoint) {
  setFocus(Qt::MouseFocusReason);
  Locate(gridPoint);
  pressed_ = true;
  if (onMouseDown) {
    onMouseDown(MouseButtonOf(event->button()), ShiftMaskOf(event->modifiers()),
                PixelsToTwips(gridPoint.x()), PixelsToTwips(gridPoint.y()));
  }
  if (event->button() != Qt::LeftButton || mouseCol_ < 0) return;
  if (mouseRow_ == 0) {
    if (rows_ < 2) return;
    MoveCurrent(1, mouseCol_, false);
    SetSelection(1, mouseCol_, rows_ - 1, mouseCol_);
  } else if (mouseRow_ > 0) {
    MoveCurrent(mouseRow_, mouseCol_, true);
    dragging_ = true;
  }
}

void GridControl::Release(QMouseEvent* event, const QPoint& gridPoint) {
  if (!pressed_) return;
  pressed_ = false;
  dragging_ = false;
  Locate(gridPoint);
  if (onMouseUp) {
    onMouseUp(MouseButtonOf(event->button()), ShiftMaskOf(event->modifiers()),
              PixelsToTwips(gridPoint.x()), PixelsToTwips(gridPoint.y()));
  }
  if (secondClick_) {
    secondClick_ = false;
  } else if (onClick) {
    onClick();
  }
}

void GridControl::mousePressEvent(QMouseEvent* event) {
  Press(event, viewport()->mapTo(this, event->position().toPoint()));
}

void GridControl::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_ || !(event->buttons() & Qt::LeftButton)) return;
  const QPoint at = event->position().toPoint();
  int row = rowAt(std::max(0, at.y()));
  if (row < 0) row = rows_ - 2;
  int col = columnAt(std::max(0, at.x()));
  if (col < 0) col = at.x() < 0 ? 0 : cols_ - 1;
  row += 1;
  if (row == SelEndRow() && col == SelEndCol() && anchorRow_ == SelStartRow()) return;
  SetSelection(anchorRow_, anchorCol_, row, col);
}

void GridControl::mouseReleaseEvent(QMouseEvent* event) {
  Release(event, viewport()->mapTo(this, event->position().toPoint()));
}

void GridControl::mouseDoubleClickEvent(QMouseEvent* event) {
  Locate(viewport()->mapTo(this, event->position().toPoint()));
  pressed_ = true;
  secondClick_ = true;
  if (onDblClick) onDblClick();
}

bool GridControl::eventFilter(QObject* watched, QEvent* event) {
  if (watched != horizontalHeader()->viewport()) return QTableView::eventFilter(watched, event);
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
      type != QEvent::MouseButtonDblClick) {
    return QTableView::eventFilter(watched, event);
  }
  auto* mouse = static_cast<QMouseEvent*>(event);
  const auto gridPoint = [&] {
    return horizontalHeader()->viewport()->mapTo(this, mouse->position().toPoint());
  };
  switch (type) {
    case QEvent::MouseButtonPress:
      Press(mouse, gridPoint());
      return true;
    case QEvent::MouseButtonRelease:
      Release(mouse, gridPoint());
      return true;
    case QEvent::MouseButtonDblClick:
      Locate(gridPoint());
      pressed_ = true;
      secondClick_ = true;
      if (onDblClick) onDblClick();
      return true;
    default:
      return QTableView::eventFilter(watched, event);
  }
}

int GridControl::PageRows() const {
  const int height = rows_ >= 2 ? rowHeight(0) : 0;
  return height > 0 ? std::max(1, viewport()->height() / height) : 1;
}

void GridControl::keyPressEvent(QKeyEvent* event) {
  int code = KeyCodeOf(event->key());
  if (code != 0 && onKeyDown) {
    onKeyDown(code, ShiftMaskOf(event->modifiers()));
    if (code == 0) return;
  }
  const int shift = ShiftMaskOf(event->modifiers());
  const bool ctrl = (shift & kCtrlMask) != 0;
  int row = row_, col = col_;
  // Alt with a paging key is the form's (Alt+Home resets the panel).
  const bool paging =
      code == vbKeyPageUp || code == vbKeyPageDown || code == vbKeyHome || code == vbKeyEnd;
  if (paging && (shift & kAltMask)) code = 0;
  switch (code) {
    case vbKeyPageUp:
    case vbKeyPageDown: {
      // A page is the rows the view shows whole; the view moves with it.
      const int page = code == vbKeyPageDown ? PageRows() : -PageRows();
      row = std::clamp(row + page, 1, std::max(1, rows_ - 1));
      if (rows_ >= 2) SetTopRow(std::clamp(TopRow() + page, 1, rows_ - 1));
      break;
    }
    case vbKeyHome:
      col = 0;
      if (ctrl) row = 1;
      break;
    case vbKeyEnd:
      col = cols_ - 1;
      if (ctrl) row = rows_ - 1;
      break;
    case vbKeyUp:
      row = std::max(1, row - 1);
      break;
    case vbKeyDown:
      row = std::min(rows_ - 1, row + 1);
      break;
    case vbKeyLeft:
      col = std::max(0, col - 1);
      break;
    case vbKeyRight:
      col = std::min(cols_ - 1, col + 1);
      break;
    default:
      event->ignore();
      return;
  }
  if (rows_ < 2) return;
  MoveCurrent(row, col, true);
}

}  // namespace platform
