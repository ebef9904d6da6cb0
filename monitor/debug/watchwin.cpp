#include "debug/watchwin.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/code_grid.h"
#include "core/data_cells.h"
#include "core/monitor_state.h"
#include "core/settings/global_numbers.h"
#include "core/target_looks.h"
#include "core/view.h"
#include "debug/column_scale.h"
#include "debug/view_window.h"
#include "debug/watch_logic.h"
#include "platform/messagebox.h"
#include "platform/twips.h"

namespace monitor {
namespace {

const ViewWindowKey& Key() {
  static const ViewWindowKey key("watch window");
  return key;
}

constexpr int kDataWidths[] = {2300, 500, 500, 200, 200, 200, 300, 500};
constexpr const char* kDataHeaders[] = {"Label", "Addr", "Data", "R", "W", "IO", "Rel", "Match"};

QString Hex(int32_t value) {
  return QString::fromStdString(NumberToHex(static_cast<int16_t>(value)));
}

int32_t HexOf(const QString& text) {
  return HexToNumber(text.toStdString(), 0);
}

}  // namespace

Watchwin::Watchwin(MonitorState& state) : Form("Watchwin"), state_(state) {
  SetCaption("Watch");
  auto* client = new QWidget(this);
  client->setObjectName("WatchClient");
  setCentralWidget(client);
  lblData = new QLabel("WATCH DATA", client);
  lblData->setObjectName("lblData");
  lblSymbols = new QLabel(" SYMBOLS", client);
  lblSymbols->setObjectName("lblSymbols");
  grdData = new platform::GridControl("grdData", client);
  grdSymbols = new platform::GridControl("grdSymbols", client);
  Text1 = new platform::EditBox("Text1", client);
  Text2 = new platform::EditBox("Text2", client);
  txtInput = new platform::EditBox("txtInput", client);

  grdData->onMouseUp = [this](int, int, int x, int y) {
    MouseX = static_cast<int16_t>(x);
    MouseY = static_cast<int16_t>(y);
  };
  grdData->onDblClick = [this] { grdData_DblClick(); };
  grdData->onKeyDown = [this](int& keyCode, int shift) { grdData_KeyDown(keyCode, shift); };
  grdSymbols->onDblClick = [this] { grdSymbols_DblClick(); };
  for (platform::EditBox* editor : {Text1, Text2, txtInput}) {
    editor->onGotFocus = [this, editor] {
      if (EditRow != 0) editor->show();
    };
    editor->onKeyDown = [this, editor](int& keyCode, int) { EditorKeyDown(editor, keyCode); };
    editor->onLostFocus = [this, editor] { EditorLostFocus(editor); };
  }
}

Watchwin::~Watchwin() {
  ForgetList();
}

void Watchwin::OnLoad() {
  LoadWatchWindowSettings();
  SetupDataGrid();
  SetupSymbolGrid();
  Key().ApplyFont({grdData, grdSymbols, Text1, Text2, txtInput});
  Key().Restore(*this);
  state_.Watch.DrawWatch = [this] { DrawList(); };
  state_.Watch.ShowSymbol = [this](int row) { ShowCodeRow(*grdSymbols, row, 1); };
  KeepList();
}

void Watchwin::OnUnload() {
  ForgetList();
  Key().Save(*this);
}

void Watchwin::ForgetList() {
  WatchList& watch = state_.Watch;
  if (!watch.DrawWatch) return;
  watch.rows.clear();
  watch.symbols.clear();
  watch.current = 0;
  watch.DrawWatch = nullptr;
  watch.ShowSymbol = nullptr;
}

namespace {

// A watch row's cells in the grid's column order.
std::array<QString*, 8> CellsOf(WatchRow& row) {
  return {&row.label, &row.address, &row.data, &row.read,
          &row.write, &row.io,      &row.rel,  &row.match};
}

}  // namespace

void Watchwin::KeepList() {
  WatchList& watch = state_.Watch;
  watch.rows.resize(static_cast<size_t>(std::max(0, grdData->Rows() - 1)));
  for (int row = 1; row <= watch.Count(); ++row) {
    const std::array<QString*, 8> cells = CellsOf(watch.rows[static_cast<size_t>(row - 1)]);
    for (int col = 0; col < 8; ++col) *cells[static_cast<size_t>(col)] = grdData->TextMatrix(row, col);
  }
  watch.current = grdData->Row();
}

void Watchwin::DrawList() {
  WatchList& watch = state_.Watch;
  // The window writes every other change into its grid itself: a list of
  // its own length differs from it only in the values.
  const bool whole = grdData->Rows() != watch.Count() + 1;
  if (whole) grdData->SetRows(watch.Count() + 1);
  for (int row = 1; row <= watch.Count(); ++row) {
    WatchRow& shown = watch.rows[static_cast<size_t>(row - 1)];
    if (!whole) {
      grdData->SetTextMatrix(row, kData, shown.data);
      continue;
    }
    const std::array<QString*, 8> cells = CellsOf(shown);
    for (int col = 0; col < 8; ++col)
      grdData->SetTextMatrix(row, col, *cells[static_cast<size_t>(col)]);
  }
  grdData->SetRow(watch.current);
}

void Watchwin::LoadWatchWindowSettings() {
  Key().Ensure();
}

void Watchwin::SetupDataGrid() {
  grdData->SetCols(8);
  grdData->SetRows(2);
  for (int col = 0; col < 8; ++col) {
    grdData->SetColWidth(col, kDataWidths[col]);
    grdData->SetTextMatrix(0, col, kDataHeaders[col]);
  }
  if (KeepsOwnMemories(state_)) {
    // The target's conditions of all 128 cells start cleared.
    state_.DataLower = 0;
    state_.DataUpper = MonitorState::kRegisterCells - 1;
    InitDataMemory(state_);
  }
}

void Watchwin::SetupSymbolGrid() {
  grdSymbols->SetCols(2);
  grdSymbols->SetColWidth(0, 2300);
  grdSymbols->SetColWidth(1, 500);
  grdSymbols->SetTextMatrix(0, 0, "Label");
  grdSymbols->SetTextMatrix(0, 1, "Value");
  grdSymbols->SetBackColor(0x7FFFFF);
}

void Watchwin::OnResize() {
  using platform::PixelsToTwips;
  using platform::TwipsToPixels;
  const int dataWidth = Width() * 3 / 4;
  const int labelHeight = PixelsToTwips(lblData->sizeHint().height());
  lblData->setGeometry(0, 0, TwipsToPixels(dataWidth), TwipsToPixels(labelHeight));
  const int gridHeight = std::max(0, ScaleHeight() - labelHeight);
  grdData->setGeometry(0, TwipsToPixels(labelHeight), TwipsToPixels(dataWidth),
                       TwipsToPixels(gridHeight));
  std::vector<int> widths;
  for (int col = 0; col < grdData->Cols(); ++col) widths.push_back(grdData->ColWidth(col));
  widths = ScaleWholeColumns(widths, grdData->ColumnSpace(dataWidth));
  for (int col = 0; col < grdData->Cols(); ++col)
    grdData->SetColWidth(col, widths[static_cast<size_t>(col)]);
  const int symbolsWidth = std::max(0, ScaleWidth() - dataWidth);
  lblSymbols->setGeometry(TwipsToPixels(dataWidth), 0, TwipsToPixels(symbolsWidth),
                          TwipsToPixels(labelHeight));
  grdSymbols->setGeometry(TwipsToPixels(dataWidth), TwipsToPixels(labelHeight),
                          TwipsToPixels(symbolsWidth), TwipsToPixels(gridHeight));
  const int half = std::max(1, grdSymbols->ColumnSpace(symbolsWidth) / 2);
  grdSymbols->SetColWidth(0, half);
  grdSymbols->SetColWidth(1, half);
}

int32_t Watchwin::RowAddress(int row) const {
  return HexOf(grdData->TextMatrix(row, kAddr));
}

void Watchwin::SelectRow(int row) {
  grdData->SetSelection(row, 0, row, grdData->Cols() - 1);
}

void FinishCellWrite(MonitorState& state, int32_t address) {
  state.ActiveTarget().AfterCellWrite(address);
  RefreshWatchWindow(state);
  RefreshRamWindow(state);
  ShowIndexRegister(state);
}

void Watchwin::grdData_DblClick() {
  state_.LastEditKey = 0;
  if (EditRow != 0) {
    grdData->SetRow(EditRow);
    platform::EditBox* open = Text2Open ? Text2 : Text1Open ? Text1 : txtInput;
    if (open != txtInput) grdData->SetCol(open == Text2 ? kAddr : kData);
    open->setFocus(Qt::OtherFocusReason);
    return;
  }
  const int row = grdData->Row();
  const int col = grdData->Col();
  if (grdData->RowPos(row) + grdData->RowHeight(row) >= MouseY) {
    if (col == kLabel) {
      grdData->SetSelection(row, 0, row, 1);
      SelectedRow = static_cast<int16_t>(row);
      return;
    }
    if (row < 1 || row >= grdData->Rows()) return;
    SelectRow(row);
    // The empty entry row names no cell: only its address can be typed.
    if (col != kAddr && grdData->TextMatrix(row, kAddr).isEmpty()) return;
    const QString rel = grdData->TextMatrix(row, kRel);
    switch (col) {
      case kAddr:
      case kData:
        if (!RegistersLive(state_)) {
          platform::Beep();
          return;
        }
        if (!PendingLabel.isEmpty()) return;
        OpenEditor(col == kAddr ? Text2 : Text1, row, col);
        return;
      case kRead:
      case kWrite:
        ToggleWatchMark(col == kRead ? 8 : 16);
        EditText = rel + grdData->TextMatrix(row, kMatch);
        ApplyWatchInput();
        return;
      case kIo:
        ToggleWatchMark(32);
        return;
      default:
        if (!PendingLabel.isEmpty()) {
          EditText = (rel.isEmpty() ? QString("=") : rel) + PendingValue;
          PendingLabel.clear();
          ApplyWatchInput();
        } else {
          OpenEditor(txtInput, row, col);
        }
        return;
    }
  }
  if (PendingLabel.isEmpty()) {
    SelectedRow = static_cast<int16_t>(row);
    return;
  }
  const int32_t address = HexOf(PendingValue);
  if (address < 0 || address >= MonitorState::kRegisterCells) return;
  const int last = grdData->Rows() - 1;
  grdData->SetTextMatrix(last, kLabel, PendingLabel);
  grdData->SetTextMatrix(last, kAddr, PendingValue);
  grdData->SetTextMatrix(last, kData, "0000");
  PendingLabel.clear();
  grdData->SetRows(last + 2);
  ShowCodeRow(*grdData, last, 1);
  KeepList();
  RefreshWatchWindow(state_);
}

void Watchwin::OpenEditor(platform::EditBox* editor, int row, int col) {
  EditText = grdData->TextMatrix(row, col);
  if (col == kRel || col == kMatch)
    EditText = grdData->TextMatrix(row, kRel) + grdData->TextMatrix(row, kMatch);
  EditRow = static_cast<int16_t>(row);
  using platform::PixelsToTwips;
  editor->Place(PixelsToTwips(grdData->x()) + MouseX, PixelsToTwips(grdData->y()) + MouseY, 800);
  OpenFlag(editor) = true;
  editor->Open(EditText);
}

bool& Watchwin::OpenFlag(platform::EditBox* editor) {
  return editor == Text1 ? Text1Open : editor == Text2 ? Text2Open : InputOpen;
}

void Watchwin::EditorKeyDown(platform::EditBox* editor, int& keyCode) {
  if (EditRow == 0 || (keyCode != 13 && keyCode != 27)) return;
  state_.LastEditKey = static_cast<int16_t>(keyCode);
  keyCode = 0;
  editor->hide();
  // Hiding moves the focus away; where the platform did not report it, close
  // the edit here.
  if (OpenFlag(editor)) EditorLostFocus(editor);
}

void Watchwin::EditorLostFocus(platform::EditBox* editor) {
  if (!OpenFlag(editor)) return;
  if (state_.LastEditKey == 13 && EditRow != 0) {
    ApplyEdit(editor);
  } else {
    DropEdit(editor);
  }
}

void Watchwin::DropEdit(platform::EditBox* editor) {
  EditRow = 0;
  OpenFlag(editor) = false;
  editor->hide();
}

void Watchwin::ApplyEdit(platform::EditBox* editor) {
  if (EditRow == 0) return;
  const int row = EditRow;
  EditRow = 0;
  OpenFlag(editor) = false;
  editor->hide();
  EditText = editor->text();
  grdData->SetRow(row);
  if (editor == Text2) {
    ApplyWatchAddress();
  } else if (editor == Text1) {
    WriteWatchValue();
  } else {
    ApplyWatchInput();
  }
}

void Watchwin::ApplyWatchAddress() {
  const int row = grdData->Row();
  const int32_t address = HexOf(EditText);
  if (address < 0 || address >= MonitorState::kRegisterCells) return;
  grdData->SetTextMatrix(row, kAddr, Hex(address));
  grdData->SetTextMatrix(row, kLabel, "Addr" + QString::number(address, 16).toUpper());
  if (row == grdData->Rows() - 1) grdData->SetRows(grdData->Rows() + 1);
  KeepList();
  RefreshWatchWindow(state_);
}

void Watchwin::WriteWatchValue() {
  const int row = grdData->Row();
  if (grdData->TextMatrix(row, kAddr).isEmpty()) return;
  const int32_t value = HexOf(EditText);
  if (value < 0 || value > 15) return;
  const int32_t address = RowAddress(row);
  if (address < 0 || address >= MonitorState::kRegisterCells) return;
  if (address == 111 && value > 7) return;
  grdData->SetTextMatrix(row, kData, Hex(value));
  KeepList();
  state_.ActiveTarget().WriteDataCell(address, value, static_cast<int16_t>(state_.Watch.current));
  FinishCellWrite(state_, address);
}

void Watchwin::ApplyWatchInput() {
  const int row = grdData->Row();
  const WatchCondition condition = ParseCondition(EditText.toStdString());
  grdData->SetTextMatrix(row, kRel, QString::fromStdString(condition.rel));
  grdData->SetTextMatrix(row, kMatch, QString::fromStdString(condition.match));
  KeepList();
  const int32_t address = RowAddress(row);
  if (address < 0 || address >= MonitorState::kRegisterCells) return;
  state_.ActiveTarget().SetWatchCompare(address, condition.mode, condition.compare);
}

void Watchwin::ToggleWatchMark(int32_t mask) {
  const bool on = grdData->Text() != "X";
  grdData->SetText(on ? "X" : "");
  KeepList();
  const int32_t address = RowAddress(grdData->Row());
  if (address < 0 || address >= MonitorState::kRegisterCells) return;
  state_.ActiveTarget().SetWatchFlag(address, mask, on);
}

void Watchwin::grdData_KeyDown(int& keyCode, int) {
  if (keyCode != 46) return;
  const int rows = grdData->Rows();
  if (SelectedRow <= 0 || SelectedRow >= rows - 1) return;
  const int32_t address = RowAddress(SelectedRow);
  if (address >= 0 && address < MonitorState::kRegisterCells)
    state_.ActiveTarget().ClearWatch(address);
  grdData->BeginUpdate();
  for (int row = SelectedRow; row < rows - 1; ++row) {
    for (int col = 0; col < grdData->Cols(); ++col) {
      grdData->SetTextMatrix(row, col, grdData->TextMatrix(row + 1, col));
    }
  }
  grdData->SetRows(rows - 1);
  grdData->EndUpdate();
  KeepList();
  ShowCodeRow(*grdData, SelectedRow, 1);
  SelectedRow = 0;
}

void Watchwin::grdSymbols_DblClick() {
  const int row = grdSymbols->Row();
  if (row <= 0) return;
  grdSymbols->SetSelection(row, 0, row, 1);
  PendingLabel = grdSymbols->TextMatrix(row, 0);
  PendingValue = grdSymbols->TextMatrix(row, 1);
}

}  // namespace monitor
