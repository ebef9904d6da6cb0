#pragma once
// QV4112's register map: numbers and the table of their read and write rules.
// Registers not listed are plain cells (RAM 0-95 and every number the chip
// does not use).
#include "periphery/register_table.h"
#include "periphery/reset_table.h"

namespace qv4112 {

// clang-format off
enum Register : int {
  kPortCDirection = 96,     // bit n = 1: PCn output
  kPortAEdges = 99,         // bit n = 1: rising edge of PAn
  kStoredBit = 107,         // bit 0 stored, no other effect
  kLevelDetector = 108,     // 0 request, 2 measuring, 3 result (supply below 1.26 V)
  kTimerLow = 112,          // actual count bits 0-3 / reload bits 0-3 and start
  kTimerHigh = 113,         // latched count bits 4-7 / reload bits 4-7
  kTimerControl = 114,      // 0-1 source, 2 run, 3 autoreload
  kInterruptControl = 115,  // 0 interrupt enable, 3 clears the watchdog
  kPrescaler = 116,         // 0-1 interrupt tap, 2 restart
  kPortA = 117,             // PA levels
  kPortAEnables = 118,
  kPortARequests = 119,
  kPortB = 120,             // the four outputs
  kPortC = 122,             // levels / data
  kRequests = 125,          // 0 timer enable, 1 timer request, 2 prescaler enable, 3 prescaler request
  kBuzzer = 126,            // 0-1 buzzer setting
};
// clang-format on

using namespace periphery::rules;

// One line per register: number, read, write.
// clang-format off
constexpr periphery::RegisterSpec kRegisters[] = {
    {kPortCDirection, plain, stored.then()},           // pins driven or released
    {kPortAEdges, plain, stored.then()},               // markers
    {kStoredBit, bits(0x1), storedBits(0x1)},
    {kLevelDetector, computed, handled},               // 1 requests a measurement
    {kTimerLow, computed, handled},                    // count; latches the high nibble
    {kTimerHigh, computed, handled},                   // latched nibble; reload, cell not written
    {kTimerControl, plain, stored.then()},             // source, run, autoreload
    {kInterruptControl, plain, storedBits(0x7).then()},  // bit 3 clears the watchdog, not kept
    {kPrescaler, bits(0x7), storedBits(0x7).then()},   // tap, restart
    {kPortA, plain, ignored},
    {kPortAEnables, plain, stored.then()},             // requests and edges cleared, markers
    {kPortARequests, computed, ignored},               // read clears it and the edges
    {kPortB, plain, stored.then()},                    // the pins follow
    {kPortC, plain, handled},                          // output pins follow
    {kRequests, computed, handled},                    // read clears 1 and 3; a 1 clears them
    {kBuzzer, plain, storedBits(0x3).then()},          // picture
};
// clang-format on

constexpr periphery::RegisterMap kRegisterMap = periphery::buildRegisterMap(kRegisters);

// The power-on values (Instruction_Reset; a watchdog time-out leaves the
// registers): 0, except the timer's cells and port B (15) and port A (14).
constexpr periphery::ResetRule<1> kPowerOnTable[] = {
    {0, 126, {periphery::kZero}},
    {kTimerLow, kTimerHigh, {periphery::resetTo(15)}},
    {kPortB, kPortB, {periphery::resetTo(15)}},
    {kPortA, kPortA, {periphery::resetTo(14)}},
};

}  // namespace qv4112
