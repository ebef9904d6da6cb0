#pragma once
// The QV4111 family (QV4111 and its extension QV4114): what differs between
// its chips, as data. The family model reads its register map, redraw items
// and detector levels from here.
#include "periphery/register_table.h"
#include "registers.h"

namespace qv4111 {

// Redraw items of the window's boxes; -1 where a chip has no such box.
struct Items {
  int portA, portB, portC, portD, portE;
  int buzzer, prescaler, timer, comparator;
  int count;  // a reset redraws items 0..count-1
};

struct Layout {
  const char* caption;
  periphery::RegisterMap registers;
  Items items;
  int detectorLevels[4];  // hundredths of a volt by register 108 bits 0-1 (0: none)
  int windowWidth;        // dialog units
};

inline constexpr Layout kQv4111{
    "QV4111 Periphery",
    periphery::buildRegisterMap(kRegisters),
    {0, 1, 2, 3, -1, 4, 5, 6, -1, 7},
    {0, 230, 400, 450},
    321,
};

}  // namespace qv4111
