#pragma once
// QV4124's register map: numbers, the table of read and write rules, and the
// reset table. Registers not listed are plain RAM-like cells (0-67 with the
// RAM 2 window 64-67, 70-79, 85, 86, 99, 100, 116, 119-122, 126, 127).
#include "periphery/register_table.h"
#include "periphery/reset_table.h"

namespace qv4124 {

enum Register : int {
  kRam2First = 64,          // 64-67: RAM 2 window, page = register 112
  kLcdBank0 = 68,
  kLcdBank1 = 69,
  kPortA = 80,              // debounced levels
  kPortBDirection = 81,     // 1 = output
  kPortBData = 82,          // write: latch; read: pin levels
  kSerialControl = 83,      // 0 MSB first, 1 sampling phase, 2-3 clock
  kSerialMode = 84,         // 0-1 mode, 2 "S" held, 3 start
  kSerialLow = 85,
  kSerialHigh = 86,
  kSerialPins = 87,         // mode 3 outputs
  kMelodyTone = 88,         // 0-2 tone, 3 buzzer
  kMelodyControl = 89,      // 0-1 clock, 2 autoreload, 3 continuous (reads running)
  kMelodyCycles = 90,
  kTimerControl = 91,       // 0-2 clock, 3 count up
  kTimerCommand = 92,       // 0 load, 1 compare, 3 run
  kTimerLow = 93,
  kTimerMiddle = 94,
  kTimerHigh = 95,          // 0-1 value bits 8-9, 2-3 width
  kClockSelect = 96,
  kEepromControl = 97,      // 0-1 command, 1 busy, 2 write enable / supply sufficient
  kEepromAddress = 98,
  kEepromLow = 99,
  kEepromHigh = 100,
  kPortAMask = 101,
  kMask102 = 102,           // 0 melody, 1 blink, 2 8/32 Hz, 3 1 Hz
  kMask103 = 103,           // 0 timer compare, 1 timer end, 2 EEPROM, 3 serial
  kRequestsA = 104,
  kRequests105 = 105,
  kRequests106 = 106,
  kInterruptControl = 107,  // 0 PWM on PB3, 1 full-count compare, 2 sleep, 3 interrupt enable
  kSleepWatchdog = 108,     // 2 sleep, 3 watchdog clear
  kPrescalerControl = 109,  // 0, 3 port A sampling, 1 32 Hz, 2 restart
  kPage = 112,
  kLcdControl = 113,        // 0 general-purpose outputs, 1 whole-nibble mode
  kLcdMode = 114,           // 1 multiplex 15, 2-3 display off
  kSupply = 115,            // 0 watchdog off, 1 level, 2 start, 3 low
  kConditionCopy = 117,
  kEdgeSelect = 118,
  kPulseOutputs = 123,
  kResetHigh = 124,
  kResetLow = 125,
};

using namespace periphery::rules;

// One line per register: number, read, write.
constexpr periphery::RegisterSpec kRegisters[] = {
    {kLcdBank0, plain, stored.then()},                  // LCD memory, SetSegment
    {kLcdBank1, plain, stored.then()},
    {kPortA, plain, ignored},                           // set by the sampler
    {kPortBDirection, plain, stored.then()},
    {kPortBData, computed, handled},                    // latch; reads the pins
    {kSerialControl, plain, stored.then()},
    {kSerialMode, plain, stored.then()},                // start bit
    {kSerialPins, plain, stored.then()},
    {kMelodyTone, plain, stored.then()},                // window
    {kMelodyControl, computed, stored.then()},          // bit 3 reads "running"
    {kMelodyCycles, plain, stored.then()},              // loads the counter
    {kTimerControl, plain, stored.then()},
    {kTimerCommand, plain, stored.then()},
    {kTimerLow, computed, stored.then()},               // read the count, write the start
    {kTimerMiddle, computed, stored.then()},
    {kTimerHigh, computed, stored.then()},
    {kClockSelect, plain, stored.then()},               // clock index
    {kEepromControl, plain, handled},
    {kEepromAddress, bits(0x7), storedBits(0x7)},
    {kPortAMask, plain, stored.then()},
    {kMask102, plain, stored.then()},
    {kMask103, plain, stored.then()},
    {kRequestsA, computed, oneClears(0xF)},             // read clears, drops pending edges
    {kRequests105, readClear(0xF), oneClears(0xF)},
    {kRequests106, readClear(0xF), oneClears(0xF)},
    {kInterruptControl, plain, stored.then()},
    {kSleepWatchdog, plain, handled},                   // changed values only
    {kPrescalerControl, bits(0xB), storedBits(0xB).then()},  // bit 2 restarts
    {kPage, plain, handled},                            // RAM 2 and LCD page
    {kLcdControl, plain, stored.then()},
    {kLcdMode, plain, stored.then()},
    {kSupply, plain, stored.then()},
    {kConditionCopy, plain, stored.then()},
    {kEdgeSelect, plain, stored.then()},
    {kPulseOutputs, plain, stored.then()},
    {kResetHigh, plain, stored.then()},
    {kResetLow, plain, stored.then()},
};

constexpr periphery::RegisterMap kRegisterMap = periphery::buildRegisterMap(kRegisters);

// The two kinds of reset: power-on (Instruction_Reset, watchdog) and RESET
// (the window's button, the port A combination). Registers not listed (0-67,
// 70, 80, 110, 111) are left unchanged by both.
enum ResetKind : int { kPowerOn = 0, kResetPin = 1 };
constexpr periphery::ResetRule<2> kResetTable[] = {
    {68, 69, {kZero, kZero}},
    {71, 74, {kZero, kZero}},
    {75, 75, {resetTo(6), resetTo(6)}},
    {76, 76, {resetTo(4, 2), resetTo(4, 2)}},
    {77, 77, {clearBits(3), kUnchanged}},
    {78, 79, {kZero, kUnchanged}},
    {81, 95, {kZero, kZero}},
    {96, 96, {kZero, kUnchanged}},
    {97, 97, {clearBits(7), clearBits(7)}},
    {98, 107, {kZero, kZero}},
    {108, 108, {kZero, clearBits(0xB)}},
    {109, 109, {kZero, kZero}},
    {112, 112, {kZero, kZero}},
    {113, 113, {kZero, kUnchanged}},
    {114, 114, {resetTo(15), resetTo(14, 1)}},
    {115, 115, {kZero, kZero}},
    {116, 116, {clearBits(7), clearBits(7)}},
    {117, 127, {kZero, kZero}},
};

}  // namespace qv4124
