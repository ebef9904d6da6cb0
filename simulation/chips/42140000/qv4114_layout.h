#pragma once
// QV4114's layout in the QV4111 family: QV4111's registers with port E, the
// buzzer pin choice, the comparator and its request in 109; the boxes
// renumbered around port E; other detector levels; a wider window.
#include "layout.h"  // the QV4111 family

namespace qv4114 {

enum Register : int {
  kBuzzerPin = 100,        // bit 0: 0 PB0, 1 PE0
  kPortE = 102,            // levels / latch
  kPortEDirection = 103,   // bit n = 1: PEn output
  kComparator = 123,       // 0 on PE1, 1 run, 2 output, 3 software reset
};

using namespace periphery::rules;

constexpr periphery::RegisterSpec kExtensions[] = {
    {kPortE, plain, handled},                                // latch; output pins follow
    {kPortEDirection, plain, stored.then()},
    {qv4111::kInterruptControl, computed, handled},          // read clears bit 2 (comparator request)
    {kComparator, plain, handled},                           // bits 2-3 not stored by the write
};

inline constexpr qv4111::Layout kQv4114{
    "QV4114 Periphery",
    periphery::withRegisters(periphery::buildRegisterMap(qv4111::kRegisters), kExtensions),
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
    {0, 130, 200, 230},
    425,
};

}  // namespace qv4114
