#pragma once
// QV4111's register map: numbers and the table of their read and write rules.
// Registers not listed are plain cells: RAM 0-95, 100-103 (101 bit 0 is
// read by the port A sampler), 123 and 127.
#include "periphery/register_table.h"

namespace qv4111 {

enum Register : int {
  kTimerLow = 96,          // actual count bits 0-3 / reload bits 0-3 and start
  kTimerHigh = 97,         // latched count bits 4-7 / reload bits 4-7
  kTimerControl = 98,      // 0-2 clock source, 3 autoreload
  kWatchdogEdge = 99,      // 0 watchdog hold, 3 edge of the A and C interrupts (1 rising)
  kPa3Clock = 101,         // bit 0: PA3 clocks the timer on the edge of 99 bit 3
  kSerialClock = 104,      // 0-1 clock selection, 3 serial mode
  kSerialData = 105,       // the nibble to send
  kSerialSizeLow = 106,
  kSerialControl = 107,    // 0-1 size bits 4-5, 2 start, 3 automatic
  kLevelDetector = 108,    // 0-1 level, 2 measuring, 3 result
  kInterruptControl = 109, // 0 interrupt enable
  kRequests = 112,         // 0 port A, 1 port C, 2 timer, 3 prescaler
  kWatchdogClear = 113,    // bit 3 clears the watchdog
  kPortA = 114,            // PA levels
  kPortARequests = 115,
  kPortAEnables = 116,
  kPortB = 117,            // levels / latch
  kPortBDirection = 118,   // bit n = 1: PBn output
  kPortC = 119,
  kPortCRequests = 120,
  kPortCEnables = 121,
  kPortD = 122,
  kPortControl = 124,      // 0 interrupt rule, 1 port C output, 2 port D output
  kPrescaler = 125,        // 0-1 interrupt tap, 2 restart, 3 timer interrupt enable
  kBuzzerTimer = 126,      // 0-1 buzzer frequency, 2 buzzer on, 3 timer enable
};

using namespace periphery::rules;

// One line per register: number, read, write.
constexpr periphery::RegisterSpec kRegisters[] = {
    {kTimerLow, computed, handled},                 // count; latches the high nibble
    {kTimerHigh, computed, handled},                // latched nibble; reload, cell not written
    {kTimerControl, plain, stored.then()},          // source, autoreload
    {kSerialClock, plain, storedBits(0xB).then()},  // bit 2 not kept; serial mode
    {kSerialData, plain, stored.then()},            // new data
    {kSerialSizeLow, plain, stored.then()},
    {kSerialControl, plain, stored.then()},         // start, automatic, size
    {kLevelDetector, plain, handled},               // level, measurement
    {kInterruptControl, plain, storedBits(0x3)},
    {kRequests, computed, storedBits(0x4).then()},  // read clears bits 2-3; IRQ LED
    {kWatchdogClear, plain, handled},               // nothing stored
    {kPortA, plain, ignored},
    {kPortARequests, computed, ignored},            // read clears it, 112 bit 0, the edges
    {kPortAEnables, plain, stored.then()},          // markers
    {kPortB, plain, handled},                       // latch; output pins follow
    {kPortBDirection, plain, stored.then()},
    {kPortC, plain, handled},
    {kPortCRequests, computed, stored},             // read clears it, 112 bit 1, the edges
    {kPortCEnables, plain, stored.then()},
    {kPortD, plain, handled},
    {kPortControl, plain, stored.then()},           // directions of C and D
    {kPrescaler, bits(0x7), storedBits(0xB).then()},  // bit 2 restarts, not kept
    {kBuzzerTimer, plain, stored.then()},           // buzzer, timer enable
};

}  // namespace qv4111
