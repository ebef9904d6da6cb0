#pragma once
// QV4128's layout: where each of its blocks sits in the register file, as
// Fields (whole registers and the bits the model and the window use), the
// register table generated from it and the reset table. It is a family of
// one. Registers not in the table are plain RAM-like
// cells (0-63, 69-70, 74-79, 90-95, 97, 106-109, 116-118 store and read
// bits 0-3).
#include <simcore/field.h>

#include "periphery/register_table.h"
#include "periphery/reset_table.h"

namespace qv4128 {

using simcore::Field;

struct Qv4128Layout {
  struct {
    Field mask;     // bit 1: no interrupt is taken
    Field masked;
    Field control;  // bit set/clear: bit 0 watchdog clear, bit 1 interrupt mask
    Field clearWatchdog, controlMasked;
    Field options;  // 0: 32 Hz IRQ, 1: P3.3 signal, 2: watchdog off, 3: port 4 not on Timer1
    Field resetOptions;  // bit 3: no reset by pin combination
    Field watchdogOff, fast32Hz, signal, port4OffTimer1;
    Field noCombinationReset;
  } system;
  struct {
    Field select;   // bits 2-3: the stages the readout shows
    Field selectStages, lowStages;
    Field control;  // bit set/clear: bit 0 restart, bits 2-3 as the select
    Field restart, controlStages;
    Field readout;
  } prescaler;
  struct {
    Field port1, port2;
    Field direction;  // bit 0: direction flip-flop of port 1 pins 0/1
    Field port3, port4;
    Field directions;  // P3.0-2, P4.0-2, P3.3, P4.3 (1 = output)
    Field port3Low, port4Low, p33, p43;
    Field port5, port5Directions;
  } ports;
  struct {
    Field control;  // bits 0-1 input, 2 auto reload, 3 synchronous (Timer1)
    Field input, autoReload, synchronous;
    Field start;
  } timer1, timer2;
  struct {
    Field count;
  } pulse;
  struct {
    Field low, high, control;
    Field enabled, envelope, sound;  // sound: the envelope and the tone kind
  } melody;
  struct {
    Field requests1;  // 0: 1 Hz, 1: prescaler, 2: Timer1, 3: Timer2
    Field enables1;
    Field oneHzEnable, prescalerEnable, timer1Enable, timer2Enable;
    Field requests2;  // 0: P1.2 edge, 1: P1.3 edge, 2: pulse, 3: direction change
    Field enables2;
    Field pin2Enable, pin3Enable, pulseEnable;
    Field requests3;  // 0: serial done, 1: port 2 rising edge
    Field enables3;
    Field port2Enable;
  } irq;
  struct {
    Field low, high;
    Field mode;     // bits 0-1: 8 - bits per transfer, bits 2-3: clock tap
    Field bitsShort;  // 8 - bits per transfer
    Field clockTap;   // 0: the external clock
    Field control;  // 0: OUT on the other phase, 1: serial function, 2: sampling phase, 3: start
    Field otherPhase, function, samplingPhase, start;
    Field options;
  } serial;
  struct {
    Field bank;
    Field select;  // bit 0: the bank of registers 0-63
  } ram;
};

inline constexpr Qv4128Layout kQv4128{
    .system = {.mask = {64}, .masked = {64, 2}, .control = {65}, .clearWatchdog = {65, 1},
               .controlMasked = {65, 2}, .options = {68}, .resetOptions = {69},
               .watchdogOff = {68, 4}, .fast32Hz = {68, 1}, .signal = {68, 2}, .port4OffTimer1 = {68, 8},
               .noCombinationReset = {69, 8}},
    .prescaler = {.select = {66}, .selectStages = {66, 0xC}, .lowStages = {66, 8}, .control = {67},
                  .restart = {67, 1}, .controlStages = {67, 0xC}, .readout = {85}},
    .ports = {.port1 = {71}, .port2 = {72}, .direction = {73}, .port3 = {80}, .port4 = {81},
              .directions = {82}, .port3Low = {82, 1}, .port4Low = {82, 2}, .p33 = {82, 4}, .p43 = {82, 8},
              .port5 = {83}, .port5Directions = {84}},
    .timer1 = {.control = {86}, .input = {86, 3}, .autoReload = {86, 4}, .synchronous = {86, 8},
               .start = {87}},
    .timer2 = {.control = {88}, .input = {88, 3}, .autoReload = {88, 4}, .synchronous = {88, 8},
               .start = {89}},
    .pulse = {.count = {96}},
    .melody = {.low = {97}, .high = {98}, .control = {99}, .enabled = {99, 1}, .envelope = {99, 2},
               .sound = {99, 6}},
    .irq = {.requests1 = {100}, .enables1 = {101}, .oneHzEnable = {101, 1}, .prescalerEnable = {101, 2},
            .timer1Enable = {101, 4}, .timer2Enable = {101, 8}, .requests2 = {102}, .enables2 = {103},
            .pin2Enable = {103, 1}, .pin3Enable = {103, 2}, .pulseEnable = {103, 4},
            .requests3 = {104}, .enables3 = {105}, .port2Enable = {105, 2}},
    .serial = {.low = {112}, .high = {113}, .mode = {114}, .bitsShort = {114, 3}, .clockTap = {114, 0xC},
               .control = {115}, .otherPhase = {115, 1}, .function = {115, 2}, .samplingPhase = {115, 4},
               .start = {115, 8}, .options = {116}},
    .ram = {.bank = {119}, .select = {119, 1}},
};

// The layout under the name the family models give theirs.
inline constexpr const Qv4128Layout& L = kQv4128;

// The blocks that own the registers with write handlers.
enum class Block : uint8_t { System, Prescaler, Ports, Timer1, Timer2, Pulse, Melody, Irq, Serial, Ram };

// The register table, generated from the layout: one line per register,
// naming the block whose handler a write reaches.
constexpr periphery::RegisterMap Qv4128RegisterMap(const Qv4128Layout& L) {
  using namespace periphery::rules;
  constexpr Block S = Block::System, Pr = Block::Prescaler, P = Block::Ports, I = Block::Irq, Se = Block::Serial;
  // clang-format off
  const periphery::RegisterSpec lines[] = {
      {L.system.mask.reg, bits(0x2), storedBits(0x2).then(S)},       // bit 1 also into the control
      {L.system.control.reg, bits(0x2), handledBy(S)},                   // bit set/clear, watchdog clear
      {L.prescaler.select.reg, bits(0xC), storedBits(0xC).then(Pr)},  // also into the control, readout refreshed
      {L.prescaler.control.reg, bits(0xE), handledBy(Pr)},                // bit set/clear, restart
      {L.system.options.reg, plain, stored.then(S)},                 // watchdog, P3.3 signal, outputs, window
      {L.system.resetOptions.reg, plain, stored},
      {L.ports.port1.reg, plain, ignored},                          // levels, set by the sampler
      {L.ports.port2.reg, plain, ignored},
      {L.ports.direction.reg, bits(0x1), ignored},
      {L.ports.port3.reg, plain, handledBy(P)},                          // latch of the output pins
      {L.ports.port4.reg, plain, handledBy(P)},
      {L.ports.directions.reg, plain, stored.then(P)},
      {L.ports.port5.reg, plain, handledBy(P)},
      {L.ports.port5Directions.reg, plain, stored.then(P)},
      {L.prescaler.readout.reg, plain, ignored},                    // refreshed by the prescaler
      {L.timer1.control.reg, plain, stored.then(Block::Timer1)},
      {L.timer1.start.reg, plain, stored.then(Block::Timer1)},
      {L.timer2.control.reg, bits(0x7), stored.then(Block::Timer2)},
      {L.timer2.start.reg, plain, stored.then(Block::Timer2)},
      {L.pulse.count.reg, bits(0x7), handledBy(Block::Pulse)},                      // any write clears it
      {L.melody.low.reg, plain, stored},
      {L.melody.high.reg, plain, stored.then(Block::Melody)},                    // frequency recomputed
      {L.melody.control.reg, bits(0x7), stored.then(Block::Melody)},
      {L.irq.requests1.reg, readClear(0xF), oneClears(0xF)},
      {L.irq.enables1.reg, plain, stored.then(I)},
      {L.irq.requests2.reg, readClear(0xF), oneClears(0xF)},
      {L.irq.enables2.reg, plain, stored.then(I)},
      {L.irq.requests3.reg, readClear(0x3), oneClears(0x3)},
      {L.irq.enables3.reg, plain, stored.then(I)},
      {L.serial.low.reg, plain, stored.then(Se)},                     // shift register = value
      {L.serial.high.reg, plain, stored.then(Se)},                    // shift register += 16 x value
      {L.serial.mode.reg, plain, stored.then(Se)},
      {L.serial.control.reg, plain, stored.then(Se)},
      {L.serial.options.reg, plain, stored},
      {L.ram.bank.reg, bits(0x1), handledBy(Block::Ram)},                         // bank swap of registers 0-63
  };
  // clang-format on
  return periphery::buildRegisterMap(lines);
}

constexpr periphery::RegisterMap kRegisterMap = Qv4128RegisterMap(kQv4128);

// The reset: every value nibble 0, the prescaler readout 8 (stage 14 set).
constexpr periphery::ResetRule<1> kResetTable[] = {
    {0, 127, {periphery::kZero}},
    {kQv4128.prescaler.readout.reg, kQv4128.prescaler.readout.reg, {periphery::resetTo(8)}},
};

}  // namespace qv4128
