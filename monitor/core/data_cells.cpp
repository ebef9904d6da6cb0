#include "core/data_cells.h"

#include <vector>

#include "core/monitor_state.h"
#include "core/settings/convert_mod.h"
#include "core/settings/global_numbers.h"
#include "core/view.h"
#include "platform/grid_control.h"
#include "platform/run_time_error.h"

namespace monitor {

namespace {

platform::GridControl* WatchwinGrid(const MonitorState& state, const char* name) {
  platform::Form* form = state.Forms.Get("Watchwin");
  return form != nullptr ? form->findChild<platform::GridControl*>(name) : nullptr;
}

int32_t HexCell(const platform::GridControl& grid, int row, int col) {
  return HexToNumber(grid.TextMatrix(row, col).toStdString(), 0);
}

void Send(MonitorState& state, int32_t address, int32_t unit) {
  if (!state.Seams.link.SendCommand) return;
  const std::array<uint8_t, 3> bytes = LongToBytes3(unit);
  state.Seams.link.SendCommand(address, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

// Link failures end the step they happen in; the next step still runs.
template <class Step>
void Tolerant(Step step) {
  try {
    step();
  } catch (const platform::RunTimeError&) {
  }
}

}  // namespace

platform::GridControl* WatchGrid(const MonitorState& state) {
  return WatchwinGrid(state, "grdData");
}

platform::GridControl* SymbolGrid(const MonitorState& state) {
  return WatchwinGrid(state, "grdSymbols");
}

int16_t FindWatchRow(const MonitorState& state, const QString& key, int16_t column) {
  const platform::GridControl* grid = WatchGrid(state);
  if (grid == nullptr) return -1;
  for (int row = 1; row < grid->Rows(); ++row) {
    if (grid->TextMatrix(row, column) == key) return static_cast<int16_t>(row);
  }
  return -1;
}

void ClearRegisterCondition(MonitorState& state, int cell) {
  state.RegisterFile[static_cast<size_t>(cell)].flags = 0;
}

void SetRegisterCompare(MonitorState& state, int cell, int32_t relation, int32_t match) {
  RegisterCell& target = state.RegisterFile[static_cast<size_t>(cell)];
  target.flags = (target.flags & ~7) | (relation & 7);
  target.value = (target.value & 15) + (match & 15) * 16;
}

void SetRegisterFlag(MonitorState& state, int cell, int32_t mask, bool on) {
  int32_t& flags = state.RegisterFile[static_cast<size_t>(cell)].flags;
  flags = on ? (flags | mask) : (flags & ~mask);
}

int32_t RelationOf(const QString& text) {
  int32_t relation = 0;
  for (QChar c : text) {
    if (c == '<') {
      relation += 4;
    } else if (c == '=') {
      relation += 2;
    } else if (c == '>') {
      relation += 1;
    } else {
      return 0;
    }
  }
  return relation;
}

int32_t WatchRowUnit(const platform::GridControl& grid, int row, int32_t value) {
  int32_t unit = (HexCell(grid, row, kWatchMatch) & 15) * 16 + (value & 15) +
                 (RelationOf(grid.TextMatrix(row, kWatchRel)) & 7) * 256;
  if (!grid.TextMatrix(row, kWatchRead).isEmpty()) unit += 0x800;
  if (!grid.TextMatrix(row, kWatchWrite).isEmpty()) unit += 0x1000;
  return unit + kClearedCondition;
}

void ApplyWatchCondition(MonitorState& state, int32_t address) {
  const platform::GridControl* grid = WatchGrid(state);
  if (grid == nullptr) return;
  const int row = grid->Row();
  Send(state, kConditionBase + address, WatchRowUnit(*grid, row, HexCell(*grid, row, kWatchData)));
}

void ApplyWatchValue(MonitorState& state, int32_t address) {
  const platform::GridControl* grid = WatchGrid(state);
  if (grid == nullptr) return;
  const int row = grid->Row();
  const int32_t unit = WatchRowUnit(*grid, row, HexCell(*grid, row, kWatchData));
  Send(state, kConditionBase + address, unit);
  Send(state, kDataCellBase + address, unit);
}

void ApplyRamValue(MonitorState& state, int16_t row, int32_t address, int32_t value) {
  const platform::GridControl* grid = WatchGrid(state);
  const int32_t unit = row >= 1 && grid != nullptr && row < grid->Rows()
                           ? WatchRowUnit(*grid, row, value)
                           : (value & 15) + kClearedCondition;
  Send(state, kConditionBase + address, unit);
  Send(state, kDataCellBase + address, unit);
}

void RefreshAfterStop(MonitorState& state) {
  if (state.DataLower > state.DataUpper) return;
  const int32_t count = state.DataUpper + 1;
  Tolerant([&] {
    if (!state.Seams.link.ReceiveData) return;
    const std::vector<uint8_t> units = state.Seams.link.ReceiveData(kDataCellBase, count);
    for (int32_t n = 0;
         n < count && n < MonitorState::kRegisterCells && static_cast<size_t>(3 * n) < units.size();
         ++n) {
      state.RegisterFile[static_cast<size_t>(n)].value = units[static_cast<size_t>(3 * n)] & 15;
    }
  });
  const int32_t index = state.CpuState.word[k42::kIndex];
  state.RegisterFile[110].value = index & 15;
  state.RegisterFile[111].value = (index & 240) / 16;
  Tolerant([&] { RefreshWatchWindow(state); });
  Tolerant([&] { RefreshRamWindow(state); });
}

void InitDataMemory(MonitorState& state) {
  if (state.DataLower > state.DataUpper) return;
  state.Status.InitProgress(static_cast<int16_t>(state.DataLower),
                            static_cast<int16_t>(state.DataUpper));
  state.Status.PushStatusText("Initialisation data memory");
  std::vector<uint8_t> stream;
  stream.reserve(3 * (state.DataUpper - state.DataLower + 1));
  const std::array<uint8_t, 3> cleared = LongToBytes3(kClearedCondition);
  for (int32_t cell = state.DataLower; cell <= state.DataUpper; ++cell) {
    state.Status.ShowProgress(static_cast<int16_t>(cell));
    stream.insert(stream.end(), cleared.begin(), cleared.end());
  }
  state.Status.PopStatusText();
  state.Status.ResetProgress();
  if (state.Seams.link.SendCommand) {
    state.Seams.link.SendCommand(kConditionBase + state.DataLower, stream);
  }
}

int16_t WriteTargetRegister(MonitorState& state, int32_t address, int16_t value) {
  return static_cast<int16_t>(state.Target.Monitor_Write(
      &state.CpuState, state.ProgramMemory.data(), state.RegisterFile.data(),
      state.TraceBuffer.data(), address, value));
}

}  // namespace monitor
