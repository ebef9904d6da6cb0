#include "core/code_grid.h"

#include <algorithm>

#include "core/monitor_state.h"
#include "core/panel_controls.h"
#include "core/settings/convert_mod.h"
#include "platform/grid_control.h"
#include "platform/messagebox.h"
#include "platform/twips.h"

namespace monitor {

void ShowCodeRow(platform::GridControl& grid, int row, int fixedRows) {
  const int rows = grid.Rows();
  if (row < fixedRows || row > rows - 1) {
    platform::Beep();
    return;
  }
  // Rows that fit, from the grid's height and the height of a row plus its
  // spacing; at least one.
  const int rowHeight = static_cast<int>(grid.RowHeight(1) * 1.12);
  const int height = platform::PixelsToTwips(grid.height());
  const int visible = std::max(1, rowHeight > 0 ? height / rowHeight : 1);
  int top = grid.TopRow();
  int bottom = top + visible - 1;
  if (row < top || row > bottom) {
    top = row;
    bottom = row + visible - 1;
    if (bottom > rows) {
      bottom = rows;
      top = std::max(1, rows - visible);
    }
    const int context = std::clamp(top - fixedRows - 5, 0, 5);
    grid.SetTopRow(bottom - row < 8 ? top : top - context);
  }
  grid.SetSelection(row, 0, row, grid.Cols() - 1);
}

void SetGridSelection(platform::GridControl& grid) {
  grid.SetSelection(1, 0, 1, 0);
}

int16_t FindCodeRow(const platform::GridControl& grid, int32_t address) {
  const QString text = QString::asprintf("%04X", static_cast<unsigned>(address) & 0xFFFFu);
  return static_cast<int16_t>(grid.FindInColumn(kAddrColumn, text));
}

int16_t FindCodeRow(const MonitorState& state, int32_t address) {
  const PanelControls* panel = Panel(state);
  return panel != nullptr ? FindCodeRow(*panel->grdProgram, address) : int16_t{-1};
}

}  // namespace monitor

namespace monitor {

namespace {

// 1-4 hex digits, or nothing.
std::optional<int32_t> HexField(const std::string& text) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  int32_t value = 0;
  for (char c : text) {
    const int digit = (c >= '0' && c <= '9')   ? c - '0'
                      : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                      : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                                               : -1;
    if (digit < 0) return std::nullopt;
    value = value * 16 + digit;
  }
  return value;
}

void AppendUnit(std::vector<uint8_t>& stream, int32_t unit) {
  const std::array<uint8_t, 3> bytes = LongToBytes3(unit);
  stream.insert(stream.end(), bytes.begin(), bytes.end());
}

// A listed cell's word with its mark bits, as the target keeps it.
int32_t ProgramUnit(const ProgramCell& cell) {
  int32_t unit = cell.instr & 0xFFFF;
  if ((cell.flags & k42::kCellBreakpoint) != 0) unit += kBreakpointBit;
  if ((cell.flags & k42::kCellTracePoint) != 0) unit += kTracepointBit;
  return unit;
}

void SetMark(MonitorState& state, int32_t address, int32_t bit, bool on) {
  if (address < 0 || address >= k42::kProgramCells) return;
  int32_t& flags = state.ProgramMemory[static_cast<size_t>(address)].flags;
  flags = on ? (flags | bit) : (flags & ~bit);
  state.ActiveTarget().MarkProgramCell(address);
}

QString RightAligned(const QString& text, int width, QChar fill) {
  return text.size() >= width ? text.right(width) : text.rightJustified(width, fill);
}

QString LeftAligned(const QString& text, int width) {
  return text.leftJustified(width, ' ', true);
}

}  // namespace

std::optional<int32_t> ProgramAddress(const std::string& text) {
  const std::optional<int32_t> value = HexField(text);
  if (!value || *value >= k42::kProgramCells) return std::nullopt;
  return value;
}

std::optional<int32_t> ProgramWord(const std::string& text) {
  return HexField(text);
}

void SetBreakpoint(MonitorState& state, int32_t address, bool on) {
  SetMark(state, address, k42::kCellBreakpoint, on);
}

void SetTracepoint(MonitorState& state, int32_t address, bool on) {
  SetMark(state, address, k42::kCellTracePoint, on);
}

void MarkCodeRow(MonitorState& state, int32_t address) {
  if (address < 0 || address >= k42::kProgramCells) return;
  const PanelControls* panel = Panel(state);
  if (panel == nullptr) return;
  const platform::GridControl& grid = *panel->grdProgram;
  const int row = FindCodeRow(grid, address);
  if (row < 0) {
    platform::MessageBox("ERROR: cannot find the Row corresponding to address", "",
                         platform::MB_OK);
    return;
  }
  state.ActiveTarget().SendProgramCell(
      address, ProgramUnit(state.ProgramMemory[static_cast<size_t>(address)]));
}

std::vector<uint8_t> BuildDownloadStream(const std::vector<ProgramCell>& cells,
                                         const std::bitset<k42::kProgramCells>& listed) {
  int32_t end = k42::kProgramCells;
  while (end > 0 && !listed[static_cast<size_t>(end - 1)]) --end;
  std::vector<uint8_t> stream;
  stream.reserve(3 * static_cast<size_t>(end));
  for (int32_t address = 0; address < end; ++address) {
    const ProgramCell& cell = cells[static_cast<size_t>(address)];
    AppendUnit(stream, listed[static_cast<size_t>(address)] ? ProgramUnit(cell) : kFillerUnit);
  }
  return stream;
}

QString FormatListingRow(const platform::GridControl& grid, int32_t address) {
  const int row = FindCodeRow(grid, address);
  if (row < 0) return {};
  const auto cell = [&](int col) { return grid.TextMatrix(row, col); };
  return RightAligned(cell(kCodeColumn), 5, '0') + ' ' + RightAligned(cell(kLabelColumn), 12, ' ') +
         ' ' + LeftAligned(cell(kInstrColumn), 6) + "   " + LeftAligned(cell(kOperandColumn), 20) +
         "   " + LeftAligned(cell(kRemarkColumn), 20);
}

QString FormatListingRow(const MonitorState& state, int32_t address) {
  const PanelControls* panel = Panel(state);
  return panel != nullptr ? FormatListingRow(*panel->grdProgram, address) : QString();
}

std::string TrimLeading(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) >= 33) return text.substr(i);
  }
  return text;
}

int16_t FirstBlank(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) < 33) return static_cast<int16_t>(i + 1);
  }
  return 0;
}

}  // namespace monitor
