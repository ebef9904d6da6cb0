#pragma once
// The chip's data memory as the monitor mirrors it in RegisterCell: the cell
// operations of the watch and RAM windows, the watch conditions as 3-byte
// condition units for a target that keeps its own copy of the cells (the
// emulator), that copy read back after a stop, and register writes on the
// simulated chip.
//
// A condition unit: bits 0-3 value, 4-7 match, 8-10 relation (">" 1, "=" 2,
// "<" 4), 11 break on read, 12 break on write, 13 always 1. A cell's value
// read back is bits 0-3 of its unit's byte 0.
#include <QString>
#include <cstdint>

namespace monitor {

class MonitorState;
struct WatchRow;

inline constexpr int32_t kClearedCondition = 0x2000;
// The watch grid's columns.
inline constexpr int kWatchLabel = 0, kWatchAddr = 1, kWatchData = 2, kWatchRead = 3,
                     kWatchWrite = 4, kWatchIo = 5, kWatchRel = 6, kWatchMatch = 7;

// The first watch row from 1 whose text in `column` equals `key`, or -1
// (always while the watch window is closed).
int16_t FindWatchRow(const MonitorState& state, const QString& key, int16_t column);

void ClearRegisterCondition(MonitorState& state, int cell);
// Relation into flags bits 0-2 (other bits kept); value := value + match * 16.
void SetRegisterCompare(MonitorState& state, int cell, int32_t relation, int32_t match);
void SetRegisterFlag(MonitorState& state, int cell, int32_t mask, bool on);

// "<" 4, "=" 2, ">" 1 added per character; any other character gives 0.
int32_t RelationOf(const QString& text);
// The condition unit of a watch row with the given value (value and match
// masked to 4 bits).
int32_t WatchRowUnit(const WatchRow& row, int32_t value);

// The current watch row's unit to the cell's condition (nothing while the
// watch window is closed).
void ApplyWatchCondition(MonitorState& state, int32_t address);
// The same unit to the cell's condition, then to its value.
void ApplyWatchValue(MonitorState& state, int32_t address);
// `value` with the condition of watch row `row` (from 1; 0 or -1 for none:
// no condition) to both places.
void ApplyRamValue(MonitorState& state, int16_t row, int32_t address, int32_t value);

// Reads cells 0..upper from the target, puts the index register into cells
// 110 and 111, and redisplays the watch and RAM windows.
void RefreshAfterStop(MonitorState& state);
// The cleared condition unit into every cell of the range, in one write.
void InitDataMemory(MonitorState& state);

// A register write on the simulated chip, with the chip's side effects.
int16_t WriteTargetRegister(MonitorState& state, int32_t address, int16_t value);

}  // namespace monitor
