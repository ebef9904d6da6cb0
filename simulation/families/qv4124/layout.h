#pragma once
// The QV4124 (LCD) family's layout: where each block sits in the register
// file, as Fields, the prescaler stages each block's input select picks
// (named taps), the display module, and the reset table. The family model
// (model.h) reads every register number from here and its register
// table is generated from it. A variant of the family is another constant of
// this type.
#include <simcore/field.h>
#include <simcore/lcd/lcd_modules.h>

#include <array>
#include <cstdint>
#include <span>

#include "periphery/register_table.h"
#include "periphery/reset_table.h"

namespace qv4124 {

using simcore::Field;

// The two kinds of reset: power-on (Instruction_Reset, watchdog) and RESET
// (the window's button, the port A combination).
enum ResetKind : int { kPowerOn = 0, kResetPin = 1 };

// A tap: the number of carries of the base tick (32768 Hz / 2^carries).
// kNoTap stands for an input select clocked by a pin, at every step or not
// at all: no prescaler stage is due for it.
constexpr int8_t kNoTap = 16;

struct Qv4124Layout {
  const simcore::lcd::LcdModule* module;  // display library, run-loop variant, caption
  struct {
    Field window;  // first of four registers backed by 16 pages
    Field page;    // the RAM 2 page (also the LCD page)
  } ram2;
  struct {
    Field bank0, bank1;  // LCD memory of the current page
    Field control;       // 0 general-purpose outputs, 1 whole-nibble mode
    Field outputs;
    Field wholeNibble;   // bit 0 of a nibble lights all four segments or none
    Field mode;          // 1 multiplex 15, 2-3 display off
    Field mux15, off;
  } lcd;
  struct {
    Field levels;         // debounced levels
    Field enables;        // bit n: PAn edge interrupt
    Field edges;          // bit n = 1: falling edge
    Field requests;       // a read clears them and drops pending edges
    Field conditionCopy;  // copies pin levels into the condition words
  } portA;
  struct {
    Field direction;     // 1 = output
    Field data;          // write: latch; read: pin levels
    Field pulseOutputs;  // PB0-PB2 toggled by the prescaler
    std::array<int8_t, 3> toggleTaps;  // of PB0, PB1, PB2
  } portB;
  struct {
    Field control;  // 0 MSB first, 1 sampling phase, 2-3 clock
    Field msbFirst, phase, clockSelect;
    Field mode;     // 0-1 mode, 2 "S" held, 3 start
    Field modeSelect, holdS, start;
    Field low, high;
    Field pins;     // mode 3 outputs
    std::array<int8_t, 4> taps;  // by clock select
  } serial;
  struct {
    Field tone;     // 0-2 tone, 3 buzzer
    Field control;  // 0-1 clock, 2 autoreload, 3 continuous (reads running)
    Field clockSelect, autoReload;
    Field cycles;
    std::array<int8_t, 4> taps;  // by clock select
    std::array<const char*, 4> clockTexts;  // the window's counter clock, Hz, by clock select
  } melody;
  struct {
    Field control;  // 0-2 input, 3 count up
    Field input, countUp;
    Field command;  // 0 load, 1 compare, 3 run
    Field load, compare, run;
    Field low, middle;
    Field high;     // 0-1 value bits 8-9, 2-3 width
    Field width;
    std::array<int8_t, 8> taps;  // by input select
  } timer;
  struct {
    Field select;
  } clock;
  struct {
    Field control;  // 0-1 command, 1 busy, 2 write enable / supply sufficient
    Field command;
    Field write;        // bit 0 of the write command, kept when busy ends
    Field busy, writeEnable;
    Field address;  // 0-2 the byte
    Field low, high;
  } eeprom;
  struct {
    Field timeEnables;   // 0 melody, 1 blink, 2 8/32 Hz, 3 1 Hz
    Field blinkEnable, prescalerEnable;
    Field unitEnables;   // 0 timer compare, 1 timer end, 2 EEPROM, 3 serial
    Field compareEnable, endEnable;
    Field timeRequests;
    Field unitRequests;
    Field control;       // 0 PWM on PB3, 1 full-count compare, 2 sleep, 3 interrupt enable
    Field pwm, fullCompare;
  } irq;
  struct {
    Field sleepWatchdog;  // 2 sleep, 3 watchdog clear
    Field watchdogClear;
    int watchdogSeconds;  // the count at which the watchdog resets
  } power;
  struct {
    Field control;  // 0, 3 port A sampling, 1 32 Hz, 2 restart
    Field sampling, fast32Hz, restart;
    int8_t fastTap, slowTap;  // the 32 Hz and 8 Hz requests
    int8_t blinkTap;
    int8_t secondTap;         // 1 Hz: the watchdog's, always in use
    uint32_t restartStages;   // the chain stages a restart zeroes
  } prescaler;
  struct {
    Field control;  // 0 watchdog off, 1 level, 2 start, 3 low
    Field watchdogOff;
    Field highLevel;  // the level measured against: 1 high, 0 low
    Field start, low;
    int8_t startTap, resultTap;
    int maximum;    // the slider's top, hundredths of a volt
  } supply;
  struct {
    Field high, low;
  } reset;
  // Registers not named in it are left unchanged by both kinds of reset.
  std::span<const periphery::ResetRule<2>> resetTable;
};

// The family's blocks that own the registers with write handlers.
enum class Block : uint8_t {
  Lcd, PortA, PortB, Serial, Melody, Timer, Clock, Eeprom, Irq, Power, Prescaler, Ram2, Reset
};

// The family's register table, generated from a layout: one line per
// register, naming the block whose handler a write reaches. Registers not in
// it are plain RAM-like cells.
constexpr periphery::RegisterMap Qv4124RegisterMap(const Qv4124Layout& L) {
  using namespace periphery::rules;
  const periphery::RegisterSpec lines[] = {
      {L.lcd.bank0.reg, plain, stored.then(Block::Lcd)},              // LCD memory, SetSegment
      {L.lcd.bank1.reg, plain, stored.then(Block::Lcd)},
      {L.portA.levels.reg, plain, ignored},                 // set by the sampler
      {L.portB.direction.reg, plain, stored.then(Block::PortB)},
      {L.portB.data.reg, computed, handledBy(Block::PortB)},                // latch; reads the pins
      {L.serial.control.reg, plain, stored.then(Block::Serial)},
      {L.serial.mode.reg, plain, stored.then(Block::Serial)},            // start bit
      {L.serial.pins.reg, plain, stored.then(Block::Serial)},
      {L.melody.tone.reg, plain, stored.then(Block::Melody)},            // window
      {L.melody.control.reg, computed, stored.then(Block::Melody)},      // bit 3 reads "running"
      {L.melody.cycles.reg, plain, stored.then(Block::Melody)},          // loads the counter
      {L.timer.control.reg, plain, stored.then(Block::Timer)},
      {L.timer.command.reg, plain, stored.then(Block::Timer)},
      {L.timer.low.reg, computed, stored.then(Block::Timer)},           // read the count, write the start
      {L.timer.middle.reg, computed, stored.then(Block::Timer)},
      {L.timer.high.reg, computed, stored.then(Block::Timer)},
      {L.clock.select.reg, plain, stored.then(Block::Clock)},           // clock index
      {L.eeprom.control.reg, plain, handledBy(Block::Eeprom)},
      {L.eeprom.address.reg, bits(0x7), storedBits(0x7)},
      {L.portA.enables.reg, plain, stored.then(Block::PortA)},
      {L.irq.timeEnables.reg, plain, stored.then(Block::Irq)},
      {L.irq.unitEnables.reg, plain, stored.then(Block::Irq)},
      {L.portA.requests.reg, computed, oneClears(0xF)},     // read clears, drops pending edges
      {L.irq.timeRequests.reg, readClear(0xF), oneClears(0xF)},
      {L.irq.unitRequests.reg, readClear(0xF), oneClears(0xF)},
      {L.irq.control.reg, plain, stored.then(Block::Irq)},
      {L.power.sleepWatchdog.reg, plain, handledBy(Block::Power)},          // changed values only
      {L.prescaler.control.reg, bits(0xB), storedBits(0xB).then(Block::Prescaler)},  // bit 2 restarts
      {L.ram2.page.reg, plain, handledBy(Block::Ram2)},                    // RAM 2 and LCD page
      {L.lcd.control.reg, plain, stored.then(Block::Lcd)},
      {L.lcd.mode.reg, plain, stored.then(Block::Lcd)},
      {L.supply.control.reg, plain, stored.then()},
      {L.portA.conditionCopy.reg, plain, stored.then(Block::PortA)},
      {L.portA.edges.reg, plain, stored.then(Block::PortA)},
      {L.portB.pulseOutputs.reg, plain, stored.then(Block::PortB)},
      {L.reset.high.reg, plain, stored.then(Block::Reset)},
      {L.reset.low.reg, plain, stored.then(Block::Reset)},
  };
  return periphery::buildRegisterMap(lines);
}

using namespace periphery::rules;

// QV4124's reset: registers 0-67, 70, 80, 110 and 111 are left unchanged.
inline constexpr periphery::ResetRule<2> kQv4124Reset[] = {
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

inline constexpr Qv4124Layout kQv4124{
    .module = &simcore::lcd::LcdModuleOf("42240000"),
    .ram2 = {.window = {64}, .page = {112}},
    .lcd = {.bank0 = {68}, .bank1 = {69},
            .control = {113}, .outputs = {113, 1}, .wholeNibble = {113, 2},
            .mode = {114}, .mux15 = {114, 2}, .off = {114, 0xC}},
    .portA = {.levels = {80}, .enables = {101}, .edges = {118}, .requests = {104}, .conditionCopy = {117}},
    .portB = {.direction = {81}, .data = {82}, .pulseOutputs = {123}, .toggleTaps = {15, 6, 0}},
    .serial = {.control = {83}, .msbFirst = {83, 1}, .phase = {83, 2}, .clockSelect = {83, 0xC},
               .mode = {84}, .modeSelect = {84, 3}, .holdS = {84, 4}, .start = {84, 8},
               .low = {85}, .high = {86}, .pins = {87},
               .taps = {kNoTap, 2, 1, 0}},
    .melody = {.tone = {88}, .control = {89}, .clockSelect = {89, 3}, .autoReload = {89, 4},
               .cycles = {90}, .taps = {13, 11, 9, 15},
               .clockTexts = {"4", "16", "64", "1"}},
    .timer = {.control = {91}, .input = {91, 7}, .countUp = {91, 8},
              .command = {92}, .load = {92, 1}, .compare = {92, 2}, .run = {92, 8},
              .low = {93}, .middle = {94}, .high = {95}, .width = {95, 0xC},
              .taps = {kNoTap, 1, 4, 6, 8, 12, 15, kNoTap}},
    .clock = {.select = {96}},
    .eeprom = {.control = {97}, .command = {97, 3}, .write = {97, 1}, .busy = {97, 2},
               .writeEnable = {97, 4}, .address = {98, 7}, .low = {99}, .high = {100}},
    .irq = {.timeEnables = {102}, .blinkEnable = {102, 2}, .prescalerEnable = {102, 4},
            .unitEnables = {103}, .compareEnable = {103, 1}, .endEnable = {103, 2},
            .timeRequests = {105}, .unitRequests = {106},
            .control = {107}, .pwm = {107, 1}, .fullCompare = {107, 2}},
    .power = {.sleepWatchdog = {108}, .watchdogClear = {108, 8}, .watchdogSeconds = 5},
    .prescaler = {.control = {109}, .sampling = {109, 9}, .fast32Hz = {109, 2}, .restart = {109, 4},
                  .fastTap = 10, .slowTap = 12, .blinkTap = 13, .secondTap = 15,
                  .restartStages = 0x7FFEu},
    .supply = {.control = {115}, .watchdogOff = {115, 1}, .highLevel = {115, 2}, .start = {115, 4},
               .low = {115, 8}, .startTap = 7, .resultTap = 6, .maximum = 360},
    .reset = {.high = {124}, .low = {125}},
    .resetTable = kQv4124Reset,
};

}  // namespace qv4124
