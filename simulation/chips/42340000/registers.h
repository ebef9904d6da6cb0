#pragma once
// QV4234's register map: numbers and the table of their read and write rules.
// Registers 0-79 are RAM; registers not listed store and read bits 0-3.
#include "periphery/register_table.h"
#include "periphery/reset_table.h"

namespace qv4234 {

enum Register : int {
  kPortA = 80,            // read: levels of PA0-PA3; write: output latch
  kDirections = 81,       // PA0-PA3, 1 = output; pin texts refreshed
  kEdges = 82,            // 0/1: edge of pin interrupt 0/1 (1 falling), 1 also timer pin; 3: RC clock halved
  kPinSelect = 83,        // 0: int 0 from PA5, 1: int 1 and timer pin from PA4, 2-3: wake-up pins
  kOutputControl = 86,    // 0-1: frequency tap, 2: pin-level reset, 3: also outside sleep
  kSerialMode = 87,       // 0: MSB first, 1: clock phase, 2-3: clock (pin, tap 4, 8, 12)
  kSerialControl = 88,    // 0: pin texts, 2: keep PA3 high, 3: start
  kSerialLow = 89,        // data to send / received, low nibble
  kSerialHigh = 90,       // high nibble
  kTimerMode = 91,        // 0-2: input, 3: direction (1 up)
  kTimerControl = 92,     // 0: load, 1: compare enable, 2: stored, 3: run
  kTimerValue0 = 93,      // compare and start value bits 0-3 (counter while running)
  kTimerValue1 = 94,      // bits 4-7
  kTimerValue2 = 95,      // bits 0-1: value bits 8-9; bits 2-3: compare width
  kPortA45 = 96,          // read: levels of PA4, PA5; write: 1 PA5 latch, 2 PA5 output
  kPinFunctions = 97,     // 0: PA0 PWM, 1: PA1 PWM, 2: PA1 serial clock, 3: PA3 serial data
  kPinFunctions2 = 98,    // 0-1: PA2 function (3 POR, 2 Out, 1 Freq, 0 none); 2: PA5 frequency
  kEnables1 = 101,        // enables of 103
  kEnables2 = 102,        // enables of 104
  kRequests1 = 103,       // 0: pin int 0, 1: pin int 1, 2: timer compare, 3: timer end
  kRequests2 = 104,       // 0: serial, 1: comparator, 2: prescaler, 3: 1 Hz
  kSystem = 105,          // 1: full compare, 2: sleep request, 3: interrupts enabled
  kWatchdog = 106,        // read 0-1: watchdog counter; write 2: sleep enable, 3: clear watchdog
  kSleepOptions = 107,    // 2: sleep without time-out
  kPrescaler = 108,       // 1: 64 Hz (1) or 8 Hz (0) interrupt, 2: restart, 3: timer start refusal
  kComparator = 115,      // 0: watchdog off, 1: continuous, 2: start, 3: result / channel
  kThresholdIndex = 116,  // both comparator channels
  kClockOptions = 121,    // 1: RC-clock mode, 2: serial tap 12 on the instruction clock
  kTickDivider = 122,     // 0-2: tick every 2^n instructions (n > 4 gives 0)
  kTopThreshold = 123,    // 0: which of the pair is threshold 15
};

using namespace periphery::rules;

// One line per register: number, read, write.
constexpr periphery::RegisterSpec kRegisters[] = {
    {kPortA, plain, handled},                        // latch; outputs without function follow
    {kDirections, plain, stored.then()},             // pins driven, texts
    {kEdges, plain, stored.then()},                  // clears 103, markers
    {kPinSelect, plain, stored.then()},              // markers
    {kOutputControl, plain, stored.then()},          // frequency tap
    {kSerialMode, plain, stored.then()},
    {kSerialControl, plain, stored.then()},          // start of a transfer
    {kTimerMode, plain, stored.then()},              // a direction change inverts 93-95
    {kTimerControl, plain, stored.then()},           // load, run
    {kTimerValue0, plain, stored.then()},
    {kTimerValue1, plain, stored.then()},
    {kTimerValue2, plain, stored.then()},
    {kPortA45, bits(0x3), storedBits(0xC).then()},   // levels; PA5 latch and output
    {kPinFunctions, plain, stored.then()},
    {kPinFunctions2, plain, stored.then()},
    {kEnables1, plain, stored.then()},
    {kEnables2, plain, stored.then()},
    {kRequests1, computed, oneClears(0xF)},          // read and cleared, pin edges cleared
    {kRequests2, readClear(0xF), oneClears(0xF)},
    {kSystem, plain, stored.then()},
    {kWatchdog, plain, storedBits(0xC).then()},      // bits 0-1 show the counter
    {kSleepOptions, plain, stored.then()},
    {kPrescaler, plain, stored.then()},
    {kComparator, plain, storedBits(0x7).then()},    // bit 3 is the result, written: channel
    {kThresholdIndex, plain, stored.then()},
    {kClockOptions, plain, stored.then()},
    {kTickDivider, plain, stored.then()},
    {kTopThreshold, plain, stored.then()},
};

constexpr periphery::RegisterMap kRegisterMap = periphery::buildRegisterMap(kRegisters);

// The periphery reset (watchdog, sleep time-out, pin level): RAM 0-79 and
// registers 82-85, 97, 98, 107, 110, 111, 116, 126, 127 keep their values;
// 86 and 106 keep bits 2-3, 96 bit 3, 105 and 115 bit 0; every other
// register up to 125 is 0.
constexpr periphery::ResetRule<1> kPeripheryReset[] = {
    {80, 125, {kZero}},
    {82, 85, {kUnchanged}},
    {86, 86, {clearBits(0x3)}},
    {96, 96, {clearBits(0x7)}},
    {97, 98, {kUnchanged}},
    {105, 105, {clearBits(0xE)}},
    {106, 106, {clearBits(0x3)}},
    {107, 107, {kUnchanged}},
    {110, 111, {kUnchanged}},
    {115, 115, {clearBits(0xE)}},
    {116, 116, {kUnchanged}},
};
// Power-on: every register up to 125 is 0 first.
constexpr periphery::ResetRule<1> kPowerOnReset[] = {{0, 125, {kZero}}};

}  // namespace qv4234
