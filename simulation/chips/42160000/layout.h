#pragma once
// QV4116's layout: where each of its blocks sits in the register file, as
// Fields, the register table generated from it and the reset table. It is a
// family of one: the model (qv4116.h, model.cpp) reads every register number
// from `L`, the name the family models give their layout. Registers not in
// the table are plain RAM-like cells (0-63, 84-90, 112, 113, 116, 117,
// 119-122, 124-127).
#include <simcore/field.h>

#include "periphery/register_table.h"
#include "periphery/reset_table.h"

namespace qv4116 {

using simcore::Field;

struct Qv4116Layout {
  struct {
    Field first, last;  // segments 0-7
    Field mode;         // 1 multiplex 15, 2-3 display off
    Field mux15, off;
  } lcd;
  struct {
    Field first, last;  // not present, writes ignored
  } absent;
  struct {
    Field levels;    // of the last sampling
    Field enables;
    Field requests;
    Field edges;     // bit n: PAn's falling edge
  } portA;
  struct {
    Field direction;     // 1 = output
    Field data;          // write: latch; read: pin levels
    Field pulseOutputs;  // 1-3 toggle PB0-PB2; 0-2 reserve PB0-PB2 from writes of the data
    Field pb3Output;     // PB3 in the direction register
    Field pb3;           // PB3 in the data register
    Field reserved;      // the pulse outputs' bits that reserve PB0-PB2
  } portB;
  struct {
    Field control;  // 0 input PB0 (else VDD), 1 "Active" of PB0, 2-3 status
    Field inputPb0, active;
    Field status;
  } comparator;
  struct {
    Field control;  // 0-2 clock, 3 count up
    Field clock, countUp;
    Field command;  // 0 load, 1 compare, 3 run
    Field load, compare, run;
    Field low, middle;
    Field high;     // 0-1 value bits 8-9, 2-3 width
    Field valueHigh, width;
  } timer;
  struct {
    Field control;   // 0 clear, 1 start/stop mode, 2 port control, 3 run
    Field status;    // 0 overflow, 1 every second, 2 falling edge starts
    Field units;     // then tens and hundreds
    Field hundreds;
  } millisecond;
  struct {
    Field timeEnables;   // 0 comparator, 1 blink, 2 8/32 Hz, 3 1 Hz
    Field comparatorEnable, blinkEnable, prescalerEnable;
    Field unitEnables;   // 0 timer compare, 1 timer end, 2 millisecond, 3 supply detector
    Field compareEnable, endEnable, millisecondEnable, detectorEnable;
    Field timeRequests;
    Field unitRequests;
    Field control;       // 1 full-count compare, 3 interrupt enable
    Field fullCompare, interruptEnable;
  } irq;
  struct {
    Field clear;  // bit 3 clears the watchdog
  } watchdog;
  struct {
    Field control;  // 1 32 Hz (else 8 Hz), 2 restart, 3 PWM on PB3
    Field fast32Hz, restart, pwm;
  } prescaler;
  struct {
    Field control;  // 0 watchdog off, 2 measure, 3 low
    Field watchdogOff, measure;
    Field stored;   // the bits a write keeps
    Field result, low;  // the detector's result bits, and the low bit among them
  } supply;
};

inline constexpr Qv4116Layout kQv4116{
    .lcd = {.first = {64}, .last = {71}, .mode = {114}, .mux15 = {114, 2}, .off = {114, 0xC}},
    .absent = {.first = {72}, .last = {79}},
    .portA = {.levels = {80}, .enables = {101}, .requests = {104}, .edges = {118}},
    .portB = {.direction = {81}, .data = {82}, .pulseOutputs = {123}, .pb3Output = {81, 8}, .pb3 = {82, 8},
              .reserved = {123, 7}},
    .comparator = {.control = {83}, .inputPb0 = {83, 1}, .active = {83, 2}, .status = {83, 0xC}},
    .timer = {.control = {91}, .clock = {91, 7}, .countUp = {91, 8},
              .command = {92}, .load = {92, 1}, .compare = {92, 2}, .run = {92, 8},
              .low = {93}, .middle = {94}, .high = {95}, .valueHigh = {95, 3}, .width = {95, 0xC}},
    .millisecond = {.control = {96}, .status = {97}, .units = {98}, .hundreds = {100}},
    .irq = {.timeEnables = {102}, .comparatorEnable = {102, 1}, .blinkEnable = {102, 2},
            .prescalerEnable = {102, 4},
            .unitEnables = {103}, .compareEnable = {103, 1}, .endEnable = {103, 2},
            .millisecondEnable = {103, 4}, .detectorEnable = {103, 8},
            .timeRequests = {105}, .unitRequests = {106},
            .control = {107}, .fullCompare = {107, 2}, .interruptEnable = {107, 8}},
    .watchdog = {.clear = {108, 8}},
    .prescaler = {.control = {109}, .fast32Hz = {109, 2}, .restart = {109, 4}, .pwm = {109, 8}},
    .supply = {.control = {115}, .watchdogOff = {115, 1}, .measure = {115, 4}, .stored = {115, 7},
               .result = {115, 0xC}, .low = {115, 8}},
};
// The chip's layout under the name the family models give theirs.
inline constexpr const Qv4116Layout& L = kQv4116;

// The blocks that own the registers with write handlers.
enum class Block : uint8_t {
  Segments, Lcd, PortA, PortB, Comparator, Timer, Millisecond, Irq, Watchdog, Prescaler, Supply
};

// The register table, generated from the layout: one line per register,
// naming the block whose handler a write reaches.
constexpr periphery::RegisterMap Qv4116RegisterMap(const Qv4116Layout& L) {
  using namespace periphery::rules;
  constexpr Block A = Block::PortA, B = Block::PortB, T = Block::Timer, M = Block::Millisecond, I = Block::Irq;
  const periphery::RegisterSpec lines[] = {
      {L.portA.levels.reg, plain, ignored},                       // set by the sampler
      {L.portB.direction.reg, plain, stored.then(B)},
      {L.portB.data.reg, plain, handledBy(B)},                         // latch when it changes
      {L.comparator.control.reg, plain, storedBits(3).then(Block::Comparator)},    // status bits 2-3 kept
      {L.timer.control.reg, plain, stored.then(T)},
      {L.timer.command.reg, plain, handledBy(T)},                      // run refusal, load clears 0-1
      {L.timer.low.reg, computed, handledBy(T)},                       // read the count, write the start
      {L.timer.middle.reg, computed, handledBy(T)},
      {L.timer.high.reg, computed, stored.then(T)},
      {L.millisecond.control.reg, bits(0xE), storedBits(0xE).then(M)},  // clear bit not stored
      {L.millisecond.status.reg, computed, storedBits(0xE).then(M)},    // read clears the overflow
      {L.millisecond.units.reg, plain, stored.then(M)},
      {L.millisecond.units.reg + 1, plain, stored.then(M)},
      {L.millisecond.hundreds.reg, plain, stored.then(M)},
      {L.portA.enables.reg, plain, stored.then(A)},
      {L.irq.timeEnables.reg, plain, stored.then(I)},
      {L.irq.unitEnables.reg, plain, stored.then(I)},
      {L.portA.requests.reg, computed, oneClears(0xF)},           // read drops pending edges
      {L.irq.timeRequests.reg, readClear(0xF), oneClears(0xF)},
      {L.irq.unitRequests.reg, readClear(0xF), oneClears(0xF)},
      {L.irq.control.reg, plain, stored.then(I)},
      {L.watchdog.clear.reg, plain, stored.then(Block::Watchdog)},
      {L.prescaler.control.reg, bits(0xB), storedBits(0xB).then(Block::Prescaler)},  // bit 2 restarts
      {L.lcd.mode.reg, plain, handledBy(Block::Lcd)},                           // changed values only
      {L.supply.control.reg, plain, handledBy(Block::Supply)},                     // bits 0-2, bit 3 cleared
      {L.portA.edges.reg, plain, stored.then(A)},
      {L.portB.pulseOutputs.reg, plain, stored.then(B)},
  };
  periphery::RegisterMap map = periphery::buildRegisterMap(lines);
  periphery::setRange(map, L.lcd.first.reg, L.lcd.last.reg, plain, handledBy(Block::Segments));  // changed nibbles only
  periphery::setRange(map, L.absent.first.reg, L.absent.last.reg, plain, ignored);
  return map;
}
constexpr periphery::RegisterMap kRegisterMap = Qv4116RegisterMap(kQv4116);

// The one reset (Instruction_Reset and the watchdog). Register 127 stays.
constexpr periphery::ResetRule<1> kResetTable[] = {
    {0, 107, {periphery::kZero}},
    {108, 108, {periphery::clearBits(7)}},
    {109, 113, {periphery::kZero}},
    {114, 114, {periphery::resetTo(14)}},
    {115, 126, {periphery::kZero}},
};

}  // namespace qv4116
