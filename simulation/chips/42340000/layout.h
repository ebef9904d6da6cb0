#pragma once
// QV4234's layout: where each of its blocks sits in the register file, as
// Fields, the register table generated from it and the reset tables. It is a
// family of one; registers.h names its registers for the model, the window
// and the tests from here. Registers 0-79 are RAM; registers not in the
// table store and read bits 0-3.
#include <simcore/field.h>

#include "periphery/register_table.h"
#include "periphery/reset_table.h"

namespace qv4234 {

struct Qv4234Layout {
  struct {
    simcore::Field portA;       // read: levels of PA0-PA3; write: output latch
    simcore::Field directions;  // PA0-PA3, 1 = output; pin texts refreshed
    simcore::Field edges;       // 0/1: edge of pin interrupt 0/1 (1 falling), 1 also timer pin; 3: RC clock halved
    simcore::Field pinSelect;   // 0: int 0 from PA5, 1: int 1 and timer pin from PA4, 2-3: wake-up pins
    simcore::Field portA45;     // read: levels of PA4, PA5; write: 1 PA5 latch, 2 PA5 output
    simcore::Field functions;   // 0: PA0 PWM, 1: PA1 PWM, 2: PA1 serial clock, 3: PA3 serial data
    simcore::Field functions2;  // 0-1: PA2 function (3 POR, 2 Out, 1 Freq, 0 none); 2: PA5 frequency
    simcore::Field pa5Latch;
  } ports;
  struct {
    simcore::Field control;  // 0-1: frequency tap, 2: pin-level reset, 3: also outside sleep
    simcore::Field frequencyTap;
  } output;
  struct {
    simcore::Field mode;      // 0: MSB first, 1: clock phase, 2-3: clock (pin, tap 4, 8, 12)
    simcore::Field control;   // 0: pin texts, 2: keep PA3 high, 3: start
    simcore::Field low, high;  // data to send / received
    simcore::Field keepHigh, start;
    simcore::Field msbFirst, clock;
  } serial;
  struct {
    simcore::Field mode;     // 0-2: input, 3: direction (1 up)
    simcore::Field control;  // 0: load, 1: compare enable, 2: stored, 3: run
    simcore::Field value0;   // compare and start value bits 0-3 (counter while running)
    simcore::Field value1;   // bits 4-7
    simcore::Field value2;   // bits 0-1: value bits 8-9; bits 2-3: compare width
    simcore::Field input, up;
    simcore::Field load, compareEnable, run;
  } timer;
  struct {
    simcore::Field enables1, enables2;
    simcore::Field requests1;  // 0: pin int 0, 1: pin int 1, 2: timer compare, 3: timer end
    simcore::Field requests2;  // 0: serial, 1: comparator, 2: prescaler, 3: 1 Hz
  } irq;
  struct {
    simcore::Field system;        // 1: full compare, 2: sleep request, 3: interrupts enabled
    simcore::Field watchdog;      // read 0-1: watchdog counter; write 2: sleep enable, 3: clear watchdog
    simcore::Field sleepOptions;  // 2: sleep without time-out
    simcore::Field prescaler;     // 1: 64 Hz (1) or 8 Hz (0) interrupt, 2: restart, 3: timer start refusal
    simcore::Field clockOptions;  // 1: RC-clock mode, 2: serial tap 12 on the instruction clock
    simcore::Field tickDivider;   // 0-2: tick every 2^n instructions (n > 4 gives 0)
    simcore::Field fullCompare, clearWatchdog, restart, serialTap12OnClock;
    simcore::Field sleepRequest, sleepEnable, noSleepTimeout, fast64Hz, startRefusal, rcClock;
  } control;
  struct {
    simcore::Field control;         // 0: watchdog off, 1: continuous, 2: start, 3: result / channel
    simcore::Field thresholdIndex;  // both comparator channels
    simcore::Field topThreshold;    // 0: which of the pair is threshold 15
    simcore::Field continuous, start, adcChannel, topOfPair;
    simcore::Field watchdogOff;
  } comparator;
};

inline constexpr Qv4234Layout kQv4234{
    .ports = {.portA = {80}, .directions = {81}, .edges = {82}, .pinSelect = {83}, .portA45 = {96},
              .functions = {97}, .functions2 = {98}, .pa5Latch = {96, 2}},
    .output = {.control = {86}, .frequencyTap = {86, 3}},
    .serial = {.mode = {87}, .control = {88}, .low = {89}, .high = {90},
               .keepHigh = {88, 4}, .start = {88, 8}, .msbFirst = {87, 1}, .clock = {87, 0xC}},
    .timer = {.mode = {91}, .control = {92}, .value0 = {93}, .value1 = {94}, .value2 = {95},
              .input = {91, 7}, .up = {91, 8}, .load = {92, 1}, .compareEnable = {92, 2}, .run = {92, 8}},
    .irq = {.enables1 = {101}, .enables2 = {102}, .requests1 = {103}, .requests2 = {104}},
    .control = {.system = {105}, .watchdog = {106}, .sleepOptions = {107}, .prescaler = {108},
                .clockOptions = {121}, .tickDivider = {122}, .fullCompare = {105, 2},
                .clearWatchdog = {106, 8}, .restart = {108, 4}, .serialTap12OnClock = {121, 4},
                .sleepRequest = {105, 4}, .sleepEnable = {106, 4}, .noSleepTimeout = {107, 4},
                .fast64Hz = {108, 2}, .startRefusal = {108, 8}, .rcClock = {121, 2}},
    .comparator = {.control = {115}, .thresholdIndex = {116}, .topThreshold = {123},
                   .continuous = {115, 2}, .start = {115, 4}, .adcChannel = {115, 8}, .topOfPair = {123, 1},
                   .watchdogOff = {115, 1}},
};

// The register table, generated from the layout: one line per register.
constexpr periphery::RegisterMap Qv4234RegisterMap(const Qv4234Layout& L) {
  using namespace periphery::rules;
  // clang-format off
  const periphery::RegisterSpec lines[] = {
      {L.ports.portA.reg, plain, handled},                     // latch; outputs without function follow
      {L.ports.directions.reg, plain, stored.then()},          // pins driven, texts
      {L.ports.edges.reg, plain, stored.then()},               // clears requests 1, markers
      {L.ports.pinSelect.reg, plain, stored.then()},           // markers
      {L.output.control.reg, plain, stored.then()},            // frequency tap
      {L.serial.mode.reg, plain, stored.then()},
      {L.serial.control.reg, plain, stored.then()},            // start of a transfer
      {L.timer.mode.reg, plain, stored.then()},                // a direction change inverts the value
      {L.timer.control.reg, plain, stored.then()},             // load, run
      {L.timer.value0.reg, plain, stored.then()},
      {L.timer.value1.reg, plain, stored.then()},
      {L.timer.value2.reg, plain, stored.then()},
      {L.ports.portA45.reg, bits(0x3), storedBits(0xC).then()},  // levels; PA5 latch and output
      {L.ports.functions.reg, plain, stored.then()},
      {L.ports.functions2.reg, plain, stored.then()},
      {L.irq.enables1.reg, plain, stored.then()},
      {L.irq.enables2.reg, plain, stored.then()},
      {L.irq.requests1.reg, computed, oneClears(0xF)},         // read and cleared, pin edges cleared
      {L.irq.requests2.reg, readClear(0xF), oneClears(0xF)},
      {L.control.system.reg, plain, stored.then()},
      {L.control.watchdog.reg, plain, storedBits(0xC).then()},  // bits 0-1 show the counter
      {L.control.sleepOptions.reg, plain, stored.then()},
      {L.control.prescaler.reg, plain, stored.then()},
      {L.comparator.control.reg, plain, storedBits(0x7).then()},  // bit 3 is the result, written: channel
      {L.comparator.thresholdIndex.reg, plain, stored.then()},
      {L.control.clockOptions.reg, plain, stored.then()},
      {L.control.tickDivider.reg, plain, stored.then()},
      {L.comparator.topThreshold.reg, plain, stored.then()},
  };
  // clang-format on
  return periphery::buildRegisterMap(lines);
}

constexpr periphery::RegisterMap kRegisterMap = Qv4234RegisterMap(kQv4234);

// The periphery reset (watchdog, sleep time-out, pin level): RAM 0-79 and
// registers 82-85, 97, 98, 107, 110, 111, 116, 126, 127 keep their values;
// 86 and 106 keep bits 2-3, 96 bit 3, 105 and 115 bit 0; every other
// register up to 125 is 0.
constexpr periphery::ResetRule<1> kPeripheryReset[] = {
    {80, 125, {periphery::kZero}},
    {82, 85, {periphery::kUnchanged}},
    {86, 86, {periphery::clearBits(0x3)}},
    {96, 96, {periphery::clearBits(0x7)}},
    {97, 98, {periphery::kUnchanged}},
    {105, 105, {periphery::clearBits(0xE)}},
    {106, 106, {periphery::clearBits(0x3)}},
    {107, 107, {periphery::kUnchanged}},
    {110, 111, {periphery::kUnchanged}},
    {115, 115, {periphery::clearBits(0xE)}},
    {116, 116, {periphery::kUnchanged}},
};
// Power-on: every register up to 125 is 0 first.
constexpr periphery::ResetRule<1> kPowerOnReset[] = {{0, 125, {periphery::kZero}}};

}  // namespace qv4234
