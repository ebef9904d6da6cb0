#include "core/data_cells.h"

#include <optional>
#include <vector>

#include "core/monitor_state.h"
#include "core/settings/convert_mod.h"
#include "core/settings/global_numbers.h"
#include "core/view.h"
#include "platform/run_time_error.h"

namespace monitor {

namespace {

int32_t HexOf(const QString& text) {
  return HexToNumber(text.toStdString(), 0);
}

// The text of a watch row in one of the window's columns.
const QString& CellOf(const WatchRow& row, int column) {
  static const QString none;
  switch (column) {
    case kWatchLabel: return row.label;
    case kWatchAddr: return row.address;
    case kWatchData: return row.data;
    case kWatchRead: return row.read;
    case kWatchWrite: return row.write;
    case kWatchIo: return row.io;
    case kWatchRel: return row.rel;
    case kWatchMatch: return row.match;
    default: return none;
  }
}

std::vector<uint8_t> UnitBytes(int32_t unit) {
  const std::array<uint8_t, 3> bytes = LongToBytes3(unit);
  return {bytes.begin(), bytes.end()};
}

// A cell's unit into the target's copy of its condition, or of its value.
void SendCondition(MonitorState& state, int32_t cell, int32_t unit) {
  state.ActiveTarget().WriteConditions(cell, UnitBytes(unit));
}

void SendValue(MonitorState& state, int32_t cell, int32_t unit) {
  state.ActiveTarget().WriteDataCells(cell, UnitBytes(unit));
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

int16_t FindWatchRow(const MonitorState& state, const QString& key, int16_t column) {
  const WatchList& watch = state.Watch;
  for (int row = 1; row <= watch.Count(); ++row) {
    if (CellOf(*watch.Row(row), column) == key) return static_cast<int16_t>(row);
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

int32_t WatchRowUnit(const WatchRow& row, int32_t value) {
  int32_t unit = (HexOf(row.match) & 15) * 16 + (value & 15) + (RelationOf(row.rel) & 7) * 256;
  if (!row.read.isEmpty()) unit += 0x800;
  if (!row.write.isEmpty()) unit += 0x1000;
  return unit + kClearedCondition;
}

namespace {

// The unit of the watch window's current row, when the window is open.
std::optional<int32_t> CurrentRowUnit(const MonitorState& state) {
  if (!state.Watch.Open()) return std::nullopt;
  static const WatchRow empty;
  const WatchRow* row = state.Watch.Row(state.Watch.current);
  if (row == nullptr) row = &empty;
  return WatchRowUnit(*row, HexOf(row->data));
}

}  // namespace

void ApplyWatchCondition(MonitorState& state, int32_t address) {
  if (const std::optional<int32_t> unit = CurrentRowUnit(state))
    SendCondition(state, address, *unit);
}

void ApplyWatchValue(MonitorState& state, int32_t address) {
  const std::optional<int32_t> unit = CurrentRowUnit(state);
  if (!unit) return;
  SendCondition(state, address, *unit);
  SendValue(state, address, *unit);
}

void ApplyRamValue(MonitorState& state, int16_t row, int32_t address, int32_t value) {
  const WatchRow* watched = state.Watch.Row(row);
  const int32_t unit = watched != nullptr ? WatchRowUnit(*watched, value)
                                          : (value & 15) + kClearedCondition;
  SendCondition(state, address, unit);
  SendValue(state, address, unit);
}

void RefreshAfterStop(MonitorState& state) {
  if (state.DataLower > state.DataUpper) return;
  const int32_t count = state.DataUpper + 1;
  Tolerant([&] {
    const std::vector<uint8_t> units = state.ActiveTarget().ReadDataCells(count);
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
  state.ActiveTarget().WriteConditions(state.DataLower, stream);
}

int16_t WriteTargetRegister(MonitorState& state, int32_t address, int16_t value) {
  return static_cast<int16_t>(state.Target.Monitor_Write(
      &state.CpuState, state.ProgramMemory.data(), state.RegisterFile.data(),
      state.TraceBuffer.data(), address, value));
}

}  // namespace monitor
