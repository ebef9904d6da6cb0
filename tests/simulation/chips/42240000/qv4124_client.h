#pragma once
// QV4124 bound through STDK42XX from a program folder of its own (the LCD
// chips' fixture), by default with the full fake display library.
#include "qv4124/layout.h"
#include "lcd_chip_test.h"

namespace qv4124test {

using namespace k42test;

// The chip's registers by name.
inline constexpr const qv4124::Qv4124Layout& L = qv4124::kQv4124;

class Qv4124 : public LcdChipTest {
 protected:
  // `fake`: "" for no library, else a variant (full, no_init, no_status,
  // no_status_mux). `reset`: Instruction_Reset once bound.
  void bind(const std::string& fake, bool reset = true) { bindLcd("QV4124", "42240000", fake, reset); }
  void SetUp() override { bind("full"); }
  intptr_t bar(int id) const { return barHandle(id); }
};

}  // namespace qv4124test
