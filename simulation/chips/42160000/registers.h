#pragma once
// QV4116's register map: numbers, the table of read and write rules, and the
// reset table. Registers not listed are plain RAM-like cells (0-63, 84-90,
// 112, 113, 116, 117, 119-122, 124-127).
#include "periphery/register_table.h"
#include "periphery/reset_table.h"

namespace qv4116 {

enum Register : int {
  kLcdFirst = 64,           // 64-71: segments 0-7
  kLcdLast = 71,
  kAbsentFirst = 72,        // 72-79: not present, writes ignored
  kAbsentLast = 79,
  kPortA = 80,              // levels of the last sampling
  kPortBDirection = 81,     // 1 = output
  kPortBData = 82,          // write: latch; read: pin levels
  kComparator = 83,         // 0 input PB0 (else VDD), 1 "Active" of PB0, 2-3 status
  kTimerControl = 91,       // 0-2 clock, 3 count up
  kTimerCommand = 92,       // 0 load, 1 compare, 3 run
  kTimerLow = 93,
  kTimerMiddle = 94,
  kTimerHigh = 95,          // 0-1 value bits 8-9, 2-3 width
  kMsControl = 96,          // 0 clear, 1 start/stop mode, 2 port control, 3 run
  kMsStatus = 97,           // 0 overflow, 1 every second, 2 falling edge starts
  kMsUnits = 98,            // 98-100: units, tens, hundreds
  kMsHundreds = 100,
  kPortAMask = 101,
  kPrescalerMasks = 102,    // 0 comparator, 1 blink, 2 8/32 Hz, 3 1 Hz
  kTimerMasks = 103,        // 0 timer compare, 1 timer end, 2 millisecond, 3 supply detector
  kPortARequests = 104,
  kPrescalerRequests = 105,
  kTimerRequests = 106,
  kInterruptControl = 107,  // 1 full-count compare, 3 interrupt enable
  kWatchdogClear = 108,     // 3 clears the watchdog
  kPrescalerControl = 109,  // 1 32 Hz (else 8 Hz), 2 restart, 3 PWM on PB3
  kLcdMode = 114,           // 1 multiplex 15, 2-3 display off
  kSupply = 115,            // 0 watchdog off, 2 measure, 3 low
  kEdgeSelect = 118,        // bit n: PAn's falling edge
  kPulseOutputs = 123,      // 1-3 toggle PB0-PB2; 0-2 reserve PB0-PB2 from writes of 82
};

using namespace periphery::rules;

constexpr periphery::RegisterMap BuildRegisterMap() {
  constexpr periphery::RegisterSpec kRegisters[] = {
      {kPortA, plain, ignored},                            // set by the sampler
      {kPortBDirection, plain, stored.then()},
      {kPortBData, plain, handled},                        // latch when it changes
      {kComparator, plain, storedBits(3).then()},          // status bits 2-3 kept
      {kTimerControl, plain, stored.then()},
      {kTimerCommand, plain, handled},                     // run refusal, load clears 0-1
      {kTimerLow, computed, handled},                      // read the count, write the start
      {kTimerMiddle, computed, handled},
      {kTimerHigh, computed, stored.then()},
      {kMsControl, bits(0xE), storedBits(0xE).then()},     // clear bit not stored
      {kMsStatus, computed, storedBits(0xE).then()},       // read clears the overflow
      {kMsUnits, plain, stored.then()},
      {kMsUnits + 1, plain, stored.then()},
      {kMsHundreds, plain, stored.then()},
      {kPortAMask, plain, stored.then()},
      {kPrescalerMasks, plain, stored.then()},
      {kTimerMasks, plain, stored.then()},
      {kPortARequests, computed, oneClears(0xF)},          // read drops pending edges
      {kPrescalerRequests, readClear(0xF), oneClears(0xF)},
      {kTimerRequests, readClear(0xF), oneClears(0xF)},
      {kInterruptControl, plain, stored.then()},
      {kWatchdogClear, plain, stored.then()},
      {kPrescalerControl, bits(0xB), storedBits(0xB).then()},  // bit 2 restarts
      {kLcdMode, plain, handled},                          // changed values only
      {kSupply, plain, handled},                           // bits 0-2, bit 3 cleared
      {kEdgeSelect, plain, stored.then()},
      {kPulseOutputs, plain, stored.then()},
  };
  periphery::RegisterMap map = periphery::buildRegisterMap(kRegisters);
  periphery::setRange(map, kLcdFirst, kLcdLast, plain, handled);       // changed nibbles only
  periphery::setRange(map, kAbsentFirst, kAbsentLast, plain, ignored);
  return map;
}
constexpr periphery::RegisterMap kRegisterMap = BuildRegisterMap();

// The one reset (Instruction_Reset and the watchdog). Register 127 stays.
constexpr periphery::ResetRule<1> kResetTable[] = {
    {0, 107, {kZero}},
    {108, 108, {clearBits(7)}},
    {109, 113, {kZero}},
    {114, 114, {resetTo(14)}},
    {115, 126, {kZero}},
};

}  // namespace qv4116
