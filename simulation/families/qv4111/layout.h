#pragma once
// The QV4111 family's layout: where each block of the family sits in the
// register file, as Fields, and what else differs between its chips (redraw
// items, detector levels, caption, window width). The family model
// (model.h) reads every register number and control bit from here,
// and its register table is generated from it, so the register map and the
// block bindings cannot disagree. QV4114 is another constant of this type.
#include <simcore/field.h>

#include "periphery/register_table.h"

namespace qv4111 {

using simcore::Field;

// Redraw items of the window's boxes; -1 where a chip has no such box.
struct Items {
  int portA, portB, portC, portD, portE;
  int buzzer, prescaler, timer, comparator;
  int count;  // a reset redraws items 0..count-1
};

struct Qv4111Layout {
  struct {
    Field low;      // actual count bits 0-3 / reload bits 0-3 and start
    Field high;     // latched count bits 4-7 / reload bits 4-7
    Field control;  // 0-2 clock source, 3 autoreload
    Field source;
    Field autoreload;
  } timer;
  struct {
    Field levels;    // PA levels, set by the sampler
    Field requests;  // a read clears them, the summary bit and the edges
    Field enables;
    Field pa3Edge;  // 1: PA3 clocks the timer on the interrupt edge, 0 on a rising one
  } portA;
  struct {
    Field data;       // levels / latch
    Field direction;  // bit n = 1: PBn output
  } portB;
  struct {
    Field data;
    Field requests;
    Field enables;
  } portC;
  struct {
    Field data;
  } portD;
  struct {
    Field control;    // 0 interrupt rule, 1 port C output, 2 port D output
    Field bothPorts;  // 1: only ports A and C together interrupt
    Field outputC;
    Field outputD;
  } ports;
  struct {
    Field rising;  // the edge of the A and C interrupts (1 rising)
    Field hold;    // the watchdog held at 0
    Field clear;   // a write with the bit set clears the watchdog
  } edgeWatchdog;
  struct {
    Field clock;  // 0-1 clock selection, 3 serial mode
    Field selection;
    Field mode;
    Field data;  // the nibble to send
    Field sizeLow;
    Field control;  // 0-1 size bits 4-5, 2 start, 3 automatic
    Field sizeHigh;
    Field start;
    Field automatic;
  } serial;
  struct {
    Field control;  // 0-1 level, 2 measuring, 3 result
    Field level;
    Field measuring;
    Field result;
  } detector;
  struct {
    Field control;  // 0 interrupt enable
    Field interruptEnable;
    Field requests;  // 0 port A, 1 port C, 2 timer, 3 prescaler
    Field led;       // a write of bit 0 lights the IRQ LED
  } irq;
  struct {
    Field control;  // 0-1 interrupt tap, 2 restart, 3 timer interrupt enable
    Field tap;
    Field restart;
    Field timerIrq;
  } prescaler;
  struct {
    Field control;  // 0-1 buzzer frequency, 2 buzzer on, 3 timer enable
    Field frequency;
    Field on;
    Field timerEnable;
  } buzzer;

  const char* caption;
  Items items;
  int detectorLevels[4];  // hundredths of a volt by the level bits (0: none)
  int windowWidth;        // dialog units
};

// The family's blocks that own the registers with write handlers.
enum class Block : uint8_t { Timer, Serial, Detector, Irq, Watchdog, Ports, Prescaler, Buzzer };

// The family's register table, generated from a layout: one line per
// register, its read and its write rule, naming the block whose handler a
// write reaches. Registers not listed are plain.
constexpr periphery::RegisterMap Qv4111RegisterMap(const Qv4111Layout& L) {
  using namespace periphery::rules;
  // clang-format off
  const periphery::RegisterSpec lines[] = {
      {L.timer.low.reg, computed, handledBy(Block::Timer)},                   // count; latches the high nibble
      {L.timer.high.reg, computed, handledBy(Block::Timer)},                  // latched nibble; reload, cell not written
      {L.timer.control.reg, plain, stored.then(Block::Timer)},                // source, autoreload
      {L.serial.clock.reg, plain, storedBits(0xB).then(Block::Serial)},       // bit 2 not kept; serial mode
      {L.serial.data.reg, plain, stored.then(Block::Serial)},                 // new data
      {L.serial.sizeLow.reg, plain, stored.then(Block::Serial)},
      {L.serial.control.reg, plain, stored.then(Block::Serial)},              // start, automatic, size
      {L.detector.control.reg, plain, handledBy(Block::Detector)},            // level, measurement
      {L.irq.control.reg, plain, storedBits(0x3)},
      {L.irq.requests.reg, computed, storedBits(0x4).then(Block::Irq)},       // read clears bits 2-3; IRQ LED
      {L.edgeWatchdog.clear.reg, plain, handledBy(Block::Watchdog)},          // nothing stored
      {L.portA.levels.reg, plain, ignored},
      {L.portA.requests.reg, computed, ignored},                              // read clears it, its summary bit, the edges
      {L.portA.enables.reg, plain, stored.then(Block::Ports)},                // markers
      {L.portB.data.reg, plain, handledBy(Block::Ports)},                     // latch; output pins follow
      {L.portB.direction.reg, plain, stored.then(Block::Ports)},
      {L.portC.data.reg, plain, handledBy(Block::Ports)},
      {L.portC.requests.reg, computed, stored},                               // read clears it, its summary bit, the edges
      {L.portC.enables.reg, plain, stored.then(Block::Ports)},
      {L.portD.data.reg, plain, handledBy(Block::Ports)},
      {L.ports.control.reg, plain, stored.then(Block::Ports)},                // directions of C and D
      {L.prescaler.control.reg, bits(0x7), storedBits(0xB).then(Block::Prescaler)},  // bit 2 restarts, not kept
      {L.buzzer.control.reg, plain, stored.then(Block::Buzzer)},              // buzzer, timer enable
  };
  // clang-format on
  return periphery::buildRegisterMap(lines);
}

// QV4111. Registers not in the table are plain cells: RAM 0-95, 99 (the edge
// and the watchdog hold), 100-103 (101 bit 0 read by the port A sampler),
// 123 and 127.
inline constexpr Qv4111Layout kQv4111{
    .timer = {.low = {96}, .high = {97}, .control = {98}, .source = {98, 7}, .autoreload = {98, 8}},
    .portA = {.levels = {114}, .requests = {115}, .enables = {116}, .pa3Edge = {101, 1}},
    .portB = {.data = {117}, .direction = {118}},
    .portC = {.data = {119}, .requests = {120}, .enables = {121}},
    .portD = {.data = {122}},
    .ports = {.control = {124}, .bothPorts = {124, 1}, .outputC = {124, 2}, .outputD = {124, 4}},
    .edgeWatchdog = {.rising = {99, 8}, .hold = {99, 1}, .clear = {113, 8}},
    .serial = {.clock = {104},
               .selection = {104, 3},
               .mode = {104, 8},
               .data = {105},
               .sizeLow = {106},
               .control = {107},
               .sizeHigh = {107, 3},
               .start = {107, 4},
               .automatic = {107, 8}},
    .detector = {.control = {108}, .level = {108, 3}, .measuring = {108, 4}, .result = {108, 8}},
    .irq = {.control = {109}, .interruptEnable = {109, 1}, .requests = {112}, .led = {112, 1}},
    .prescaler = {.control = {125}, .tap = {125, 3}, .restart = {125, 4}, .timerIrq = {125, 8}},
    .buzzer = {.control = {126}, .frequency = {126, 3}, .on = {126, 4}, .timerEnable = {126, 8}},
    .caption = "QV4111 Periphery",
    .items = {0, 1, 2, 3, -1, 4, 5, 6, -1, 7},
    .detectorLevels = {0, 230, 400, 450},
    .windowWidth = 321,
};

}  // namespace qv4111
