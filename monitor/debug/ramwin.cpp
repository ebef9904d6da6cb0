#include "debug/ramwin.h"

#include <algorithm>
#include <vector>

#include "core/data_cells.h"
#include "core/monitor_state.h"
#include "core/panel_controls.h"
#include "core/settings/global_numbers.h"
#include "core/view.h"
#include "debug/column_scale.h"
#include "debug/view_window.h"
#include "debug/watch_logic.h"
#include "debug/watchwin.h"
#include "platform/twips.h"

namespace monitor {
namespace {

const ViewWindowKey& Key() {
  static const ViewWindowKey key("ram window");
  return key;
}

constexpr int kWidths[] = {2300, 550, 500};
constexpr const char* kHeaders[] = {"Label", "Address", "Data"};

QString Hex(int32_t value) {
  return QString::fromStdString(NumberToHex(static_cast<int16_t>(value)));
}

}  // namespace

RAMWin::RAMWin(MonitorState& state) : Form("RAMWin"), state_(state) {
  SetCaption("RAM");
  auto* client = new QWidget(this);
  client->setObjectName("RAMClient");
  setCentralWidget(client);
  grdRAM = new platform::GridControl("grdRAM", client);
  RAMEditBox = new platform::EditBox("RAMEditBox", client);
  grdRAM->onMouseUp = [this](int, int, int x, int y) {
    MouseX = static_cast<int16_t>(x);
    MouseY = static_cast<int16_t>(y);
  };
  grdRAM->onDblClick = [this] { grdRAM_DblClick(); };
  RAMEditBox->onGotFocus = [this] {
    if (EditRow != 0) RAMEditBox->show();
  };
  RAMEditBox->onKeyDown = [this](int& keyCode, int) {
    if (EditRow == 0 || (keyCode != 13 && keyCode != 27)) return;
    state_.LastEditKey = static_cast<int16_t>(keyCode);
    keyCode = 0;
    RAMEditBox->hide();
    if (EditRow != 0) RAMEditBox->onLostFocus();
  };
  RAMEditBox->onLostFocus = [this] {
    if (EditRow == 0) return;
    if (state_.LastEditKey == 13) {
      ApplyEdit();
    } else {
      DropEdit();
    }
  };
}

void RAMWin::OnLoad() {
  InitRamWindowSettings();
  SetupRamGrid();
  Key().ApplyFont({grdRAM, RAMEditBox});
  Key().Restore(*this);
  state_.Watch.DrawRam = [this] { DrawValues(); };
}

void RAMWin::OnUnload() {
  state_.Watch.DrawRam = nullptr;
  Key().Save(*this);
}

void RAMWin::DrawValues() {
  grdRAM->SetCol(kData);
  grdRAM->BeginUpdate();
  for (int cell = 0; cell < MonitorState::kRegisterCells && cell + 1 < grdRAM->Rows(); ++cell) {
    grdRAM->SetTextMatrix(cell + 1, kData,
                          Hex(state_.RegisterFile[static_cast<size_t>(cell)].value & 15));
  }
  grdRAM->EndUpdate();
}

void RAMWin::InitRamWindowSettings() {
  Key().Ensure();
}

void RAMWin::SetupRamGrid() {
  grdRAM->SetCols(3);
  grdRAM->SetRows(MonitorState::kRegisterCells + 1);
  for (int col = 0; col < 3; ++col) {
    grdRAM->SetColWidth(col, kWidths[col]);
    grdRAM->SetTextMatrix(0, col, kHeaders[col]);
  }
}

void RAMWin::OnResize() {
  using platform::PixelsToTwips;
  using platform::TwipsToPixels;
  const int top = PixelsToTwips(grdRAM->y());
  const int width = static_cast<int>(Width() / 4.0 * 3.93);
  grdRAM->setGeometry(0, grdRAM->y(), TwipsToPixels(width),
                      TwipsToPixels(std::max(0, ScaleHeight() - top)));
  std::vector<int> widths;
  for (int col = 0; col < grdRAM->Cols(); ++col) widths.push_back(grdRAM->ColWidth(col));
  widths = ScaleWholeColumns(widths, grdRAM->ColumnSpace(width));
  for (int col = 0; col < grdRAM->Cols(); ++col)
    grdRAM->SetColWidth(col, widths[static_cast<size_t>(col)]);
}

void RAMWin::grdRAM_DblClick() {
  if (EditRow != 0) {
    RAMEditBox->setFocus(Qt::OtherFocusReason);
    return;
  }
  const int row = grdRAM->Row();
  if (row <= 0) return;
  grdRAM->SetSelection(row, 0, row, 2);
  if (grdRAM->Col() != kData) return;
  // The key shared with the watch window's editors may still hold an Enter
  // from there; only a key given to this editor may apply it.
  state_.LastEditKey = 0;
  EditRow = static_cast<int16_t>(row);
  EditText = grdRAM->TextMatrix(row, kData);
  using platform::PixelsToTwips;
  RAMEditBox->Place(PixelsToTwips(grdRAM->x()) + MouseX, PixelsToTwips(grdRAM->y()) + MouseY, 800);
  RAMEditBox->Open(EditText);
}

void RAMWin::DropEdit() {
  state_.LastEditKey = 0;
  EditRow = 0;
  RAMEditBox->hide();
}

void RAMWin::ApplyEdit() {
  if (EditRow == 0) return;
  const int row = EditRow;
  EditRow = 0;
  state_.LastEditKey = 0;
  RAMEditBox->hide();
  grdRAM->SetRow(row);
  grdRAM->SetCol(kData);
  EditText = RAMEditBox->text();
  WriteRamCell();
}

void RAMWin::WriteRamCell() {
  const int32_t value = HexToNumber(EditText.toStdString(), 0);
  if (value < 0 || value > 15) return;
  // Row r holds cell r - 1, whether or not a fill has written its address.
  const int32_t address = grdRAM->Row() - 1;
  if (address < 0 || address >= MonitorState::kRegisterCells) return;
  if (address == 111 && value > 7) return;
  grdRAM->SetTextMatrix(grdRAM->Row(), kData, Hex(value));
  const int16_t row = FindWatchRow(
      state_, QString::fromStdString(NumberToHex(static_cast<int16_t>(address))), kWatchAddr);
  state_.ActiveTarget().WriteDataCell(address, value, row > 0 ? row : int16_t{0});
  FinishCellWrite(state_, address);
}

void FillRamWindow(MonitorState& state) {
  auto* window = dynamic_cast<RAMWin*>(state.Forms.Load("RAMWin"));
  if (window == nullptr) return;
  std::vector<SymbolRow> symbols;
  for (const WatchSymbol& symbol : state.Watch.symbols)
    symbols.push_back({symbol.label.toLatin1().toStdString(), symbol.value.toLatin1().toStdString()});
  const std::array<std::string, 128> labels = RamLabels(symbols);
  platform::GridControl& grid = *window->grdRAM;
  grid.BeginUpdate();
  for (int cell = 0; cell < MonitorState::kRegisterCells; ++cell) {
    const int row = cell + 1;
    grid.SetTextMatrix(row, RAMWin::kLabel, QString::fromLatin1(labels[static_cast<size_t>(cell)]));
    grid.SetTextMatrix(row, RAMWin::kAddress, Hex(cell));
    grid.SetTextMatrix(row, RAMWin::kData,
                       Hex(state.RegisterFile[static_cast<size_t>(cell)].value & 15));
  }
  grid.EndUpdate();
  grid.SetRow(MonitorState::kRegisterCells);
  FocusPanel(state);
}

}  // namespace monitor
