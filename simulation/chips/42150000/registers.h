#pragma once
// QV4115's register map: numbers and the table of their read and write rules.
// Registers not listed are plain cells: RAM 0-63 and 68-79, the RAM window
// 64-67 (its banks switch through 112), the EEPROM address and data 90-92,
// the ADC results 99-100, the watchdog hold 109, the reset combination
// 124-125, and every number the chip does not use.
#include "periphery/register_table.h"

namespace qv4115 {

enum Register : int {
  kRamWindow = 64,          // 64-67, backed by 16 banks
  kPortA = 80,              // PA levels
  kPortBDirection = 81,     // bit n = 1: PBn output
  kPortB = 82,              // sampled levels / output latch
  kPortCDirection = 83,     // bit 0 = 1: all PC pins outputs
  kPortC = 84,
  kSwbClock = 85,           // bits 0-1 clock selection
  kSwbData = 86,            // next nibble
  kSwbSizeLow = 87,
  kSwbControl = 88,         // 0-1 size bits 4-5, 2 start, 3 automatic
  kEepromControl = 89,      // 0 address bit 4, 1 write, 2 busy
  kEepromAddress = 90,
  kEepromDataLow = 91,
  kEepromDataHigh = 92,
  kTimerControl = 93,       // 0-2 source, 3 count up
  kTimerRun = 94,           // 0 load, 1 compare enable, 2 kept, 3 run
  kTimerLow = 95,           // counter / latch bits 0-3
  kTimerMiddle = 96,        // 4-7
  kTimerHigh = 97,          // 0-1 bits 8-9, 2-3 compare width
  kAdcControl = 98,         // 0-1 channel, 2 single, 3 start
  kAdcLow = 99,
  kAdcHigh = 100,
  kPortAEnables = 101,
  kMasks105 = 102,          // 0 ADC, 1 EEPROM, 2 prescaler, 3 1 Hz
  kMasks106 = 103,          // 0 timer compare, 1 timer end, 2 level detector
  kPortARequests = 104,
  kRequests105 = 105,
  kRequests106 = 106,
  kInterruptControl = 107,  // 3 interrupt enable, 1 timer full compare
  kWatchdogClear = 108,
  kWatchdogHold = 109,      // bits 0-1 not both 0: held at 0
  kRamBank = 112,
  kPrescalerPwm = 113,      // 1 prescaler IRQ 32 Hz (else 8 Hz), 3 PWM on PB3
  kLevelDetector = 114,     // 0-1 level, 2 start, 3 result
  kPortAEdges = 118,        // bit n = 1 falling edge
  kClockOutputs = 123,      // 1 PB0, 2 PB1, 3 PB2
  kResetSelect = 124,
  kResetPolarity = 125,
};

using namespace periphery::rules;

// One line per register: number, read, write.
constexpr periphery::RegisterSpec kRegisters[] = {
    {kPortA, plain, ignored},                        // levels, set by the sampler
    {kPortBDirection, plain, stored.then()},         // pins driven or released
    {kPortB, plain, handled},                        // latch; output pins follow
    {kPortCDirection, plain, stored.then()},
    {kPortC, plain, handled},
    {kSwbClock, plain, handled},                     // bits 2-3 not kept
    {kSwbData, plain, stored.then()},                // new data, not ready
    {kSwbSizeLow, plain, stored.then()},
    {kSwbControl, plain, stored.then()},             // start, automatic, size
    {kEepromControl, plain, handled},                // value | 4, read or write
    {kTimerControl, plain, stored.then()},           // source, direction
    {kTimerRun, bits(0xE), handled},                 // run rule, load, compare enable
    {kTimerLow, plain, handled},                     // latch; the cells show the counter
    {kTimerMiddle, plain, handled},
    {kTimerHigh, plain, handled},
    {kAdcControl, plain, stored.then()},             // start
    {kPortAEnables, plain, stored.then()},           // markers, requests cleared
    {kMasks105, plain, stored.then()},               // window LEDs
    {kMasks106, plain, stored.then()},
    {kPortARequests, computed, oneClears(0xF)},      // read clears it and the edges
    {kRequests105, readClear(0xF), oneClears(0xF)},
    {kRequests106, readClear(0xF), oneClears(0xF)},
    {kInterruptControl, plain, stored.then()},       // full compare shown
    {kWatchdogClear, plain, stored.then()},          // clears the watchdog
    {kRamBank, plain, handled},                      // bank switch of 64-67
    {kPrescalerPwm, plain, handled},                 // bits 0 and 2 not kept
    {kLevelDetector, plain, handled},                // value & 7, level
    {kPortAEdges, plain, stored.then()},             // markers, requests cleared
    {kClockOutputs, plain, stored.then()},           // clock outputs of port B
};

constexpr periphery::RegisterMap kRegisterMap = periphery::buildRegisterMap(kRegisters);

}  // namespace qv4115
