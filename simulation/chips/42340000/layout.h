#pragma once
// QV4234's layout: where each of its blocks sits in the register file, as
// Fields (whole registers and the bits the model and the window use), the
// register table generated from it and the reset tables. It is a family of
// one. Registers 0-79 are RAM; registers not in the table store and read
// bits 0-3.
#include <simcore/field.h>

#include "periphery/register_table.h"
#include "periphery/reset_table.h"

namespace qv4234 {

struct Qv4234Layout {
  struct {
    simcore::Field portA;       // read: levels of PA0-PA3; write: output latch
    simcore::Field directions;  // PA0-PA3, 1 = output; pin texts refreshed
    simcore::Field edges;       // edges of the pin interrupts, RC clock halved
    simcore::Field int0Falling, int1Falling;  // 1 falling; int 1's also the timer pin's
    simcore::Field rcHalved;
    simcore::Field pinSelect;   // pin of each interrupt, wake-up pins
    simcore::Field int0FromPa5, int1FromPa4, wakeByInt0Pin, wakeByInt1Pin;
    simcore::Field portA45;     // read: levels of PA4, PA5; write: PA5 latch and output
    simcore::Field levels45, pa5Latch, pa5Output;
    simcore::Field functions;   // PA0 PWM, PA1 PWM, PA1 serial clock, PA3 serial data
    simcore::Field pa0Pwm, pa1Pwm, pwm, pa1Clock, pa3Serial;
    simcore::Field functions2;  // PA2 function (3 POR, 2 Out, 1 Freq, 0 none), PA5 frequency
    simcore::Field pa2Function, pa5Frequency;
  } ports;
  struct {
    simcore::Field control;  // frequency tap, pin-level reset, also outside sleep
    simcore::Field frequencyTap, pinReset, pinResetAwake;
  } output;
  struct {
    simcore::Field mode;      // MSB first, clock phase, clock (pin, tap 4, 8, 12)
    simcore::Field control;   // pin texts, keep PA3 high, start
    simcore::Field low, high;  // data to send / received
    simcore::Field keepHigh, start;
    simcore::Field msbFirst, risingPhase, clock;
  } serial;
  struct {
    simcore::Field mode;     // input, direction (1 up)
    simcore::Field control;  // load, compare enable, stored, run
    simcore::Field value0;   // compare and start value bits 0-3 (counter while running)
    simcore::Field value1;   // bits 4-7
    simcore::Field value2;   // value bits 8-9, compare width
    simcore::Field valueHigh, width;
    simcore::Field input, up;
    simcore::Field load, compareEnable, run;
  } timer;
  struct {
    simcore::Field enables1;  // as requests1
    simcore::Field compareEnable, endEnable;
    simcore::Field enables2;  // as requests2
    simcore::Field prescalerEnable, oneHzEnable;
    simcore::Field requests1;  // 0: pin int 0, 1: pin int 1, 2: timer compare, 3: timer end
    simcore::Field requests2;  // 0: serial, 1: comparator, 2: prescaler, 3: 1 Hz
  } irq;
  struct {
    simcore::Field system;        // full compare, sleep request, interrupts enabled
    simcore::Field watchdog;      // read: watchdog counter; write: sleep enable, clear watchdog
    simcore::Field watchdogCount;
    simcore::Field sleepOptions;  // sleep without time-out
    simcore::Field prescaler;     // 64 Hz (1) or 8 Hz (0) interrupt, restart, timer start refusal
    simcore::Field clockOptions;  // RC-clock mode, serial tap 12 on the instruction clock
    simcore::Field tickDivider;   // tick every 2^n instructions (n > 4 gives 0), bit 3 kept
    simcore::Field tickExponent, tickBit3;
    simcore::Field fullCompare, clearWatchdog, restart, serialTap12OnClock, interruptsEnabled;
    simcore::Field sleepRequest, sleepEnable, noSleepTimeout, fast64Hz, startRefusal, rcClock;
  } control;
  struct {
    simcore::Field control;         // watchdog off, continuous, start, result / channel
    simcore::Field thresholdIndex;  // both comparator channels
    simcore::Field topThreshold;    // which of the pair is threshold 15
    simcore::Field continuous, start, adcChannel, topOfPair;
    simcore::Field result;          // read: at or above the threshold (the channel bit written)
    simcore::Field watchdogOff;
  } comparator;
};

inline constexpr Qv4234Layout kQv4234{
    .ports = {.portA = {80}, .directions = {81}, .edges = {82}, .int0Falling = {82, 1},
              .int1Falling = {82, 2}, .rcHalved = {82, 8}, .pinSelect = {83}, .int0FromPa5 = {83, 1},
              .int1FromPa4 = {83, 2}, .wakeByInt0Pin = {83, 4}, .wakeByInt1Pin = {83, 8},
              .portA45 = {96}, .levels45 = {96, 3}, .pa5Latch = {96, 2}, .pa5Output = {96, 4},
              .functions = {97}, .pa0Pwm = {97, 1}, .pa1Pwm = {97, 2}, .pwm = {97, 3}, .pa1Clock = {97, 4},
              .pa3Serial = {97, 8}, .functions2 = {98}, .pa2Function = {98, 3}, .pa5Frequency = {98, 4}},
    .output = {.control = {86}, .frequencyTap = {86, 3}, .pinReset = {86, 4}, .pinResetAwake = {86, 8}},
    .serial = {.mode = {87}, .control = {88}, .low = {89}, .high = {90},
               .keepHigh = {88, 4}, .start = {88, 8}, .msbFirst = {87, 1}, .risingPhase = {87, 2},
               .clock = {87, 0xC}},
    .timer = {.mode = {91}, .control = {92}, .value0 = {93}, .value1 = {94}, .value2 = {95},
              .valueHigh = {95, 3}, .width = {95, 0xC},
              .input = {91, 7}, .up = {91, 8}, .load = {92, 1}, .compareEnable = {92, 2}, .run = {92, 8}},
    .irq = {.enables1 = {101}, .compareEnable = {101, 4}, .endEnable = {101, 8}, .enables2 = {102},
            .prescalerEnable = {102, 4}, .oneHzEnable = {102, 8}, .requests1 = {103}, .requests2 = {104}},
    .control = {.system = {105}, .watchdog = {106}, .watchdogCount = {106, 3}, .sleepOptions = {107},
                .prescaler = {108}, .clockOptions = {121}, .tickDivider = {122}, .tickExponent = {122, 7},
                .tickBit3 = {122, 8}, .fullCompare = {105, 2},
                .clearWatchdog = {106, 8}, .restart = {108, 4}, .serialTap12OnClock = {121, 4},
                .interruptsEnabled = {105, 8},
                .sleepRequest = {105, 4}, .sleepEnable = {106, 4}, .noSleepTimeout = {107, 4},
                .fast64Hz = {108, 2}, .startRefusal = {108, 8}, .rcClock = {121, 2}},
    .comparator = {.control = {115}, .thresholdIndex = {116}, .topThreshold = {123},
                   .continuous = {115, 2}, .start = {115, 4}, .adcChannel = {115, 8}, .topOfPair = {123, 1},
                   .result = {115, 8}, .watchdogOff = {115, 1}},
};
// The layout under the name the family models give theirs.
inline constexpr const Qv4234Layout& L = kQv4234;

// The blocks that own the registers with write handlers.
enum class Block : uint8_t { Ports, Output, Serial, Timer, Irq, Control, Comparator };

// The register table, generated from the layout: one line per register,
// naming the block whose handler a write reaches.
constexpr periphery::RegisterMap Qv4234RegisterMap(const Qv4234Layout& L) {
  using namespace periphery::rules;
  constexpr Block P = Block::Ports, T = Block::Timer, C = Block::Control, A = Block::Comparator;
  // clang-format off
  const periphery::RegisterSpec lines[] = {
      {L.ports.portA.reg, plain, handledBy(P)},                // latch; outputs without function follow
      {L.ports.directions.reg, plain, stored.then(P)},         // pins driven, texts
      {L.ports.edges.reg, plain, stored.then(P)},              // clears requests 1, markers
      {L.ports.pinSelect.reg, plain, stored.then(P)},          // markers
      {L.output.control.reg, plain, stored.then(Block::Output)},  // frequency tap
      {L.serial.mode.reg, plain, stored.then(Block::Serial)},
      {L.serial.control.reg, plain, stored.then(Block::Serial)},  // start of a transfer
      {L.timer.mode.reg, plain, stored.then(T)},               // a direction change inverts the value
      {L.timer.control.reg, plain, stored.then(T)},            // load, run
      {L.timer.value0.reg, plain, stored.then(T)},
      {L.timer.value1.reg, plain, stored.then(T)},
      {L.timer.value2.reg, plain, stored.then(T)},
      {L.ports.portA45.reg, bits(L.ports.levels45.mask), storedBits(0xC).then(P)},  // levels; PA5 latch and output
      {L.ports.functions.reg, plain, stored.then(P)},
      {L.ports.functions2.reg, plain, stored.then(P)},
      {L.irq.enables1.reg, plain, stored.then(Block::Irq)},
      {L.irq.enables2.reg, plain, stored.then(Block::Irq)},
      {L.irq.requests1.reg, computed, oneClears(0xF)},         // read and cleared, pin edges cleared
      {L.irq.requests2.reg, readClear(0xF), oneClears(0xF)},
      {L.control.system.reg, plain, stored.then(C)},
      {L.control.watchdog.reg, plain, storedBits(0xC).then(C)},  // bits 0-1 show the counter
      {L.control.sleepOptions.reg, plain, stored.then(C)},
      {L.control.prescaler.reg, plain, stored.then(C)},
      {L.comparator.control.reg, plain, storedBits(0x7).then(A)},  // bit 3 is the result, written: channel
      {L.comparator.thresholdIndex.reg, plain, stored.then(A)},
      {L.control.clockOptions.reg, plain, stored.then(C)},
      {L.control.tickDivider.reg, plain, stored.then(C)},
      {L.comparator.topThreshold.reg, plain, stored.then(A)},
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
