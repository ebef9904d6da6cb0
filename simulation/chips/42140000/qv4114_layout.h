#pragma once
// QV4114's layout in the QV4111 family: QV4111's fields with the boxes
// renumbered around port E, other detector levels and a wider window; and
// the registers QV4114 adds (port E, the buzzer pin, the comparator) with
// the comparator's request in 109, over the family's table.
#include "qv4111/layout.h"

namespace qv4114 {

using simcore::Field;

// What QV4114 has beside the family's blocks.
inline constexpr struct {
  Field buzzerPin{100, 1};    // 0 PB0, 1 PE0
  Field portE{102};           // levels / latch
  Field portEDirection{103};  // bit n = 1: PEn output
  Field comparator{123};      // 0 on PE1, 1 run, 2 output, 3 software reset
  Field comparatorSettings{123, 3};  // the bits a write stores
  Field comparatorOnPe1{123, 1};
  Field comparatorRun{123, 2};
  Field comparatorOutput{123, 4};
  Field softwareReset{123, 8};
  Field comparatorRequest{109, 4};
  Field comparatorIrq{109, 8};
} kExtras;

inline constexpr qv4111::Qv4111Layout kQv4114 = [] {
  qv4111::Qv4111Layout l = qv4111::kQv4111;
  l.caption = "QV4114 Periphery";
  l.items = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  l.detectorLevels[1] = 130;
  l.detectorLevels[2] = 200;
  l.detectorLevels[3] = 230;
  l.windowWidth = 425;
  return l;
}();

using namespace periphery::rules;

// clang-format off
constexpr periphery::RegisterSpec kExtensions[] = {
    {kExtras.portE.reg, plain, handled},                 // latch; output pins follow
    {kExtras.portEDirection.reg, plain, stored.then()},
    {kQv4114.irq.control.reg, computed, handled},        // a read clears the comparator request
    {kExtras.comparator.reg, plain, handled},            // bits 2-3 not stored by the write
};
// clang-format on

}  // namespace qv4114
