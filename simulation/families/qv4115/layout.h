#pragma once
// The QV4115 family's layout: where each block of the family sits in the
// register file, as Fields. The family model (model.h) reads every
// register number and control bit from here, and its register table is
// generated from it, so the register map and the block bindings cannot
// disagree. A variant of the family is another constant of this type.
#include <simcore/field.h>

#include <array>

#include "periphery/prescaler.h"
#include "periphery/register_table.h"
#include "periphery/write_buffer.h"

namespace qv4115 {

using simcore::Field;

// A field of a unit that is not present: no register, no bits.
inline constexpr Field kAbsent{0, 0};

struct Qv4115Layout {
  // A unit a variant lacks is not present: its fields name no register, its
  // lines of the table leave the registers plain, its writes never reach it.
  struct {
    bool present = true;
    Field window;  // first of four registers backed by 16 banks
    Field bank;    // the bank in the window
  } ram;
  struct {
    Field levels;    // PA levels, set by the sampler
    Field enables;   // bit n: PAn edge interrupt
    Field edges;     // bit n = 1: falling edge
    Field requests;  // edge requests; a read clears them and the edges
  } portA;
  struct {
    Field direction;     // bit n = 1: PBn output
    Field data;          // sampled levels / output latch
    Field clockOutputs;  // three bits: clock outputs on PB0-PB2
  } portB;
  struct {
    Field direction;  // bit 0 = 1: every PC pin an output
    Field output;
    Field data;
  } portC;
  struct {
    Field clock;    // bits 0-1 clock selection
    Field clockSelect;
    Field data;     // next nibble
    Field sizeLow;
    Field control;  // bits 0-1 size bits 4-5, 2 start, 3 automatic
    Field sizeHigh;
    Field start;
    Field automatic;
    periphery::WriteBufferStyle style;
  } swb;
  struct {
    Field control;  // 0 address bit 4, 1 write, 2 busy
    Field addressHigh;
    Field write;
    Field busy;
    Field address;
    Field dataLow;
    Field dataHigh;
  } eeprom;
  struct {
    Field control;  // 0-2 source, 3 count up
    Field source;
    Field countUp;
    Field run;      // 0 load, 1 compare enable, 3 run
    Field load;
    Field compareEnable;
    Field running;
    Field low;      // counter / latch bits 0-3
    Field middle;   // 4-7
    Field high;     // 0-1 bits 8-9, 2-3 compare width
    Field highBits;
    Field width;
    Field fullCompare;
  } timer;
  struct {
    bool present = true;
    Field control;  // 0-1 channel, 2 single, 3 start
    Field channel, single, start;
    Field low;
    Field high;
  } adc;
  struct {
    Field systemEnables;   // 0 ADC, 1 EEPROM, 2 prescaler, 3 1 Hz
    Field timerEnables;    // 0 timer compare, 1 timer end, 2 level detector
    Field systemRequests;
    Field timerRequests;
    Field control;         // 3 interrupt enable, 1 timer full compare
    Field interruptEnable;
  } irq;
  struct {
    Field clear;
    Field hold;  // bits 0-1 not both 0: held at 0
  } watchdog;
  struct {
    Field control;  // 1 IRQ at 32 Hz (else 8 Hz), 3 PWM on PB3
    Field fast32Hz;
    Field pwm;
    periphery::PrescalerConfig chain;  // its stages, and what a reset leaves in them
  } prescaler;
  struct {
    Field control;  // 0-1 level, 2 start, 3 result
    Field level;
    Field start;    // measured at the next start tick
    Field stored;   // the bits a write keeps: the level and the start
    Field result;   // the bits an evaluation writes: the result bit 3, the others cleared
    Field low;      // the result: the supply is below the level
  } detector;
  struct {
    Field select;
    Field polarity;
  } reset;
  struct {
    std::array<const char*, 4> swbClocks;     // by clock selection
    std::array<const char*, 8> timerSources;  // by timer source
  } texts;
};

// The family's blocks that own the registers with write handlers.
enum class Block : uint8_t { Ports, Swb, Eeprom, Timer, Adc, Irq, Watchdog, Ram, Prescaler, Detector };

// The family's register table, generated from a layout: one line per
// register, its read and its write rule, naming the block whose handler a
// write reaches.
constexpr periphery::RegisterMap Qv4115RegisterMap(const Qv4115Layout& L) {
  using namespace periphery::rules;
  const periphery::RegisterSpec lines[] = {
      {L.portA.levels.reg, plain, ignored},              // set by the sampler
      {L.portB.direction.reg, plain, stored.then(Block::Ports)},     // pins driven or released
      {L.portB.data.reg, plain, handledBy(Block::Ports)},                // latch; output pins follow
      {L.portC.direction.reg, plain, stored.then(Block::Ports)},
      {L.portC.data.reg, plain, handledBy(Block::Ports)},
      {L.swb.clock.reg, plain, handledBy(Block::Swb)},                 // bits 2-3 not kept
      {L.swb.data.reg, plain, stored.then(Block::Swb)},            // new data, not ready
      {L.swb.sizeLow.reg, plain, stored.then(Block::Swb)},
      {L.swb.control.reg, plain, stored.then(Block::Swb)},         // start, automatic, size
      {L.eeprom.control.reg, plain, handledBy(Block::Eeprom)},            // value | 4, read or write
      {L.timer.control.reg, plain, stored.then(Block::Timer)},       // source, direction
      {L.timer.run.reg, bits(0xE), handledBy(Block::Timer)},             // run rule, load, compare enable
      {L.timer.low.reg, plain, handledBy(Block::Timer)},                 // latch; the cells show the counter
      {L.timer.middle.reg, plain, handledBy(Block::Timer)},
      {L.timer.high.reg, plain, handledBy(Block::Timer)},
      {L.adc.control.reg, plain, L.adc.present ? stored.then(Block::Adc) : stored},  // start
      {L.portA.enables.reg, plain, stored.then(Block::Ports)},       // markers, requests cleared
      {L.irq.systemEnables.reg, plain, stored.then(Block::Irq)},   // window LEDs
      {L.irq.timerEnables.reg, plain, stored.then(Block::Irq)},
      {L.portA.requests.reg, computed, oneClears(0xF)},  // read clears it and the edges
      {L.irq.systemRequests.reg, readClear(0xF), oneClears(0xF)},
      {L.irq.timerRequests.reg, readClear(0xF), oneClears(0xF)},
      {L.irq.control.reg, plain, stored.then(Block::Irq)},         // full compare shown
      {L.watchdog.clear.reg, plain, stored.then(Block::Watchdog)},      // clears the watchdog
      {L.ram.bank.reg, plain, L.ram.present ? handledBy(Block::Ram) : stored},  // bank switch of the window
      {L.prescaler.control.reg, plain, handledBy(Block::Prescaler)},         // bits 0 and 2 not kept
      {L.detector.control.reg, plain, handledBy(Block::Detector)},          // level and start kept
      {L.portA.edges.reg, plain, stored.then(Block::Ports)},         // markers, requests cleared
      {L.portB.clockOutputs.reg, plain, stored.then()},  // clock outputs, read from the latch
  };
  return periphery::buildRegisterMap(lines);
}

// QV4115. Registers not in the table are plain cells: RAM 0-63 and 68-79,
// the RAM window 64-67, the EEPROM address and data 90-92, the ADC results
// 99-100, the watchdog hold 109, the reset combination 124-125.
inline constexpr Qv4115Layout kQv4115{
    .ram = {.window = {64}, .bank = {112}},
    .portA = {.levels = {80}, .enables = {101}, .edges = {118}, .requests = {104}},
    .portB = {.direction = {81}, .data = {82}, .clockOutputs = {123, 0xE}},
    .portC = {.direction = {83}, .output = {83, 1}, .data = {84}},
    .swb = {.clock = {85}, .clockSelect = {85, 3}, .data = {86}, .sizeLow = {87}, .control = {88},
            .sizeHigh = {88, 3}, .start = {88, 4}, .automatic = {88, 8}, .style = {}},
    .eeprom = {.control = {89}, .addressHigh = {89, 1}, .write = {89, 2}, .busy = {89, 4},
               .address = {90}, .dataLow = {91}, .dataHigh = {92}},
    .timer = {.control = {93}, .source = {93, 7}, .countUp = {93, 8},
              .run = {94}, .load = {94, 1}, .compareEnable = {94, 2}, .running = {94, 8},
              .low = {95}, .middle = {96}, .high = {97}, .highBits = {97, 3}, .width = {97, 0xC},
              .fullCompare = {107, 2}},
    .adc = {.control = {98}, .channel = {98, 3}, .single = {98, 4}, .start = {98, 8},
            .low = {99}, .high = {100}},
    .irq = {.systemEnables = {102}, .timerEnables = {103}, .systemRequests = {105},
            .timerRequests = {106}, .control = {107}, .interruptEnable = {107, 8}},
    .watchdog = {.clear = {108}, .hold = {109, 3}},
    // A reset keeps the counts of the stages that give 64 Hz, 16 Hz and 4 Hz
    // (counter bits 7, 9 and 11) and clears the others.
    .prescaler = {.control = {113, 0xA}, .fast32Hz = {113, 2}, .pwm = {113, 8},
                  .chain = {14, 0, 0x3FFFu & ~((1u << 7) | (1u << 9) | (1u << 11)), 0}},
    .detector = {.control = {114}, .level = {114, 3}, .start = {114, 4}, .stored = {114, 7},
                 .result = {114, 0xC}, .low = {114, 8}},
    .reset = {.select = {124}, .polarity = {125}},
    .texts = {.swbClocks = {"1KHz Clk", "2KHz Clk", "8KHz Clk", "16KHz Clk"},
              .timerSources = {"PA0", "16KHz", "2048Hz", "512Hz", "128Hz", "8Hz", "1Hz", "PA3"}},
};

}  // namespace qv4115
