#pragma once
// QV4112's layout: where each of its blocks sits in the register file, as
// Fields, the register table generated from it and the power-on table.
// Registers not in the table are plain cells (RAM 0-95 and every number the
// chip does not use).
#include <simcore/field.h>

#include "periphery/register_table.h"
#include "periphery/reset_table.h"

namespace qv4112 {

using simcore::Field;

struct Qv4112Layout {
  struct {
    Field low;      // actual count bits 0-3 / reload bits 0-3 and start
    Field high;     // latched count bits 4-7 / reload bits 4-7
    Field control;  // 0-1 source, 2 run, 3 autoreload
    Field source;
    Field run;
    Field autoreload;
  } timer;
  struct {
    Field levels;    // PA levels, set by the sampler
    Field enables;   // a write clears the requests and the edges
    Field requests;  // a read clears them and the edges
    Field edges;     // bit n = 1: rising edge of PAn
  } portA;
  struct {
    Field data;  // the four outputs
  } portB;
  struct {
    Field data;       // levels / data
    Field direction;  // bit n = 1: PCn output
  } portC;
  struct {
    Field control;  // 0 request, 2 measuring, 3 result (supply below the level)
    Field start;    // a write with it set requests a measurement
    Field busy;     // requested or measuring: what a request leaves
    Field idle;     // what a read clears while not busy
    Field result;
  } detector;
  struct {
    Field control;  // 0 interrupt enable, 3 clears the watchdog
    Field interruptEnable;
    Field watchdogClear;
    Field requests;  // 0 timer enable, 1 timer request, 2 prescaler enable, 3 prescaler request
    Field timerEnable;
    Field timerRequest;
    Field prescalerEnable;
    Field prescalerRequest;
  } irq;
  struct {
    Field control;  // 0-1 interrupt tap, 2 restart
    Field tap;
    Field restart;
  } prescaler;
  struct {
    Field control;  // 0-1 buzzer setting
    Field setting;
  } buzzer;
  Field storedBit;  // bit 0 stored, no other effect
};

inline constexpr Qv4112Layout kQv4112{
    .timer = {.low = {112}, .high = {113}, .control = {114}, .source = {114, 3}, .run = {114, 4},
              .autoreload = {114, 8}},
    .portA = {.levels = {117}, .enables = {118}, .requests = {119}, .edges = {99}},
    .portB = {.data = {120}},
    .portC = {.data = {122}, .direction = {96}},
    .detector = {.control = {108}, .start = {108, 1}, .busy = {108, 5}, .idle = {108, 3},
                 .result = {108, 8}},
    .irq = {.control = {115},
            .interruptEnable = {115, 1},
            .watchdogClear = {115, 8},
            .requests = {125},
            .timerEnable = {125, 1},
            .timerRequest = {125, 2},
            .prescalerEnable = {125, 4},
            .prescalerRequest = {125, 8}},
    .prescaler = {.control = {116}, .tap = {116, 3}, .restart = {116, 4}},
    .buzzer = {.control = {126}, .setting = {126, 3}},
    .storedBit = {107, 1},
};
// The model reads its numbers as a family model does: L.timer.control.reg.
inline constexpr const Qv4112Layout& L = kQv4112;

using namespace periphery::rules;

// One line per register: number, read, write.
// clang-format off
constexpr periphery::RegisterSpec kRegisters[] = {
    {L.portC.direction.reg, plain, stored.then()},             // pins driven or released
    {L.portA.edges.reg, plain, stored.then()},                 // markers
    {L.storedBit.reg, bits(L.storedBit.mask), storedBits(L.storedBit.mask)},
    {L.detector.control.reg, computed, handled},               // 1 requests a measurement
    {L.timer.low.reg, computed, handled},                      // count; latches the high nibble
    {L.timer.high.reg, computed, handled},                     // latched nibble; reload, cell not written
    {L.timer.control.reg, plain, stored.then()},               // source, run, autoreload
    {L.irq.control.reg, plain, storedBits(0x7).then()},        // bit 3 clears the watchdog, not kept
    {L.prescaler.control.reg, bits(0x7), storedBits(0x7).then()},  // tap, restart
    {L.portA.levels.reg, plain, ignored},
    {L.portA.enables.reg, plain, stored.then()},               // requests and edges cleared, markers
    {L.portA.requests.reg, computed, ignored},                 // read clears it and the edges
    {L.portB.data.reg, plain, stored.then()},                  // the pins follow
    {L.portC.data.reg, plain, handled},                        // output pins follow
    {L.irq.requests.reg, computed, handled},                   // read clears 1 and 3; a 1 clears them
    {L.buzzer.control.reg, plain, storedBits(L.buzzer.setting.mask).then()},  // picture
};
// clang-format on

constexpr periphery::RegisterMap kRegisterMap = periphery::buildRegisterMap(kRegisters);

// The power-on values (Instruction_Reset; a watchdog time-out leaves the
// registers): 0, except the timer's cells and port B (15) and port A (14).
constexpr periphery::ResetRule<1> kPowerOnTable[] = {
    {0, 126, {periphery::kZero}},
    {L.timer.low.reg, L.timer.high.reg, {periphery::resetTo(15)}},
    {L.portB.data.reg, L.portB.data.reg, {periphery::resetTo(15)}},
    {L.portA.levels.reg, L.portA.levels.reg, {periphery::resetTo(14)}},
};

}  // namespace qv4112
