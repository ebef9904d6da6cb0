#pragma once
// QV4128's register map: numbers and the table of their read and write rules.
// Registers not listed are plain RAM-like cells (0-63, 69-70, 74-79, 90-95,
// 97, 106-109, 116-118 store and read bits 0-3).
#include "periphery/register_table.h"
#include "periphery/reset_table.h"

namespace qv4128 {

enum Register : int {
  kInterruptMask = 64,      // bit 1: no interrupt is taken
  kControl = 65,            // bit set/clear: bit 0 watchdog clear, bit 1 interrupt mask
  kPrescalerSelect = 66,    // bits 2-3
  kPrescalerControl = 67,   // bit set/clear: bit 0 restart, bits 2-3 as 66
  kOptions = 68,            // 0: 32 Hz IRQ, 1: P3.3 signal, 2: watchdog off, 3: port 4 not on Timer1
  kResetOptions = 69,       // bit 3: no reset by pin combination
  kPort1 = 71,
  kPort2 = 72,
  kDirection = 73,          // bit 0: direction flip-flop of port 1 pins 0/1
  kPort3 = 80,
  kPort4 = 81,
  kPortDirections = 82,     // 0: P3.0-2, 1: P4.0-2, 2: P3.3, 3: P4.3 (1 = output)
  kPort5 = 83,
  kPort5Directions = 84,
  kPrescalerReadout = 85,
  kTimer1Control = 86,      // bits 0-1 input, 2 auto reload, 3 synchronous
  kTimer1Start = 87,
  kTimer2Control = 88,      // bits 0-1 input, 2 auto reload
  kTimer2Start = 89,
  kPulseCount = 96,
  kMelodyLow = 97,
  kMelodyHigh = 98,
  kMelodyControl = 99,
  kRequests1 = 100,         // 0: 1 Hz, 1: prescaler, 2: Timer1, 3: Timer2
  kEnables1 = 101,
  kRequests2 = 102,         // 0: P1.2 edge, 1: P1.3 edge, 2: pulse, 3: direction change
  kEnables2 = 103,
  kRequests3 = 104,         // 0: serial done, 1: port 2 rising edge
  kEnables3 = 105,
  kSerialLow = 112,
  kSerialHigh = 113,
  kSerialMode = 114,        // bits 0-1: 8 - bits per transfer, bits 2-3: clock tap
  kSerialControl = 115,     // 0: OUT on the other phase, 1: serial function, 2: sampling phase, 3: start
  kSerialOptions = 116,
  kRamBank = 119,
};

using namespace periphery::rules;

// One line per register: number, read, write.
constexpr periphery::RegisterSpec kRegisters[] = {
    {kInterruptMask, bits(0x2), storedBits(0x2).then()},     // bit 1 also into 65
    {kControl, bits(0x2), handled},                          // bit set/clear, watchdog clear
    {kPrescalerSelect, bits(0xC), storedBits(0xC).then()},   // also into 67, readout refreshed
    {kPrescalerControl, bits(0xE), handled},                 // bit set/clear, restart
    {kOptions, plain, stored.then()},                        // watchdog, P3.3 signal, outputs, window
    {kResetOptions, plain, stored},
    {kPort1, plain, ignored},                                // levels, set by the sampler
    {kPort2, plain, ignored},
    {kDirection, bits(0x1), ignored},
    {kPort3, plain, handled},                                // latch of the output pins
    {kPort4, plain, handled},
    {kPortDirections, plain, stored.then()},
    {kPort5, plain, handled},
    {kPort5Directions, plain, stored.then()},
    {kPrescalerReadout, plain, ignored},                     // refreshed by the prescaler
    {kTimer1Control, plain, stored.then()},
    {kTimer1Start, plain, stored.then()},
    {kTimer2Control, bits(0x7), stored.then()},
    {kTimer2Start, plain, stored.then()},
    {kPulseCount, bits(0x7), handled},                       // any write clears it
    {kMelodyLow, plain, stored},
    {kMelodyHigh, plain, stored.then()},                     // frequency recomputed
    {kMelodyControl, bits(0x7), stored.then()},
    {kRequests1, readClear(0xF), oneClears(0xF)},
    {kEnables1, plain, stored.then()},
    {kRequests2, readClear(0xF), oneClears(0xF)},
    {kEnables2, plain, stored.then()},
    {kRequests3, readClear(0x3), oneClears(0x3)},
    {kEnables3, plain, stored.then()},
    {kSerialLow, plain, stored.then()},                      // shift register = value
    {kSerialHigh, plain, stored.then()},                     // shift register += 16 x value
    {kSerialMode, plain, stored.then()},
    {kSerialControl, plain, stored.then()},
    {kSerialOptions, plain, stored},
    {kRamBank, bits(0x1), handled},                          // bank swap of registers 0-63
};

constexpr periphery::RegisterMap kRegisterMap = periphery::buildRegisterMap(kRegisters);

// The reset: every value nibble 0, the prescaler readout 8 (stage 14 set).
constexpr periphery::ResetRule<1> kResetTable[] = {
    {0, 127, {kZero}},
    {kPrescalerReadout, kPrescalerReadout, {resetTo(8)}},
};

}  // namespace qv4128
