#pragma once
// QV4234 bound through STDK42XX from the program folder, as its TAVIX.INI
// names it, its window open in a host widget (offscreen); one round per pass.
#include <string>

#include "chip_test.h"
#include "chip_window.h"

namespace qv4234test {

using namespace k42test;

// Control ids of the window.
constexpr int kPinButton = 1035;  // PA0; PA1-PA5 follow
constexpr int kAdcSlider = 1044, kSupplySlider = 1045, kAdcLabel = 1046, kSupplyLabel = 1047;

class Qv4234 : public ChipTest, protected ChipWindow {
 protected:
  // Binds QV4234, opens the window, sets the options `options`, loads JMP 0
  // and resets.
  void SetUp() override { open(""); }
  void TearDown() override;
  void open(const char* options);

  // The slider set to `hundredths` of a volt (thumb position top - voltage).
  void setVoltage(int bar, int hundredths, int top);
  // A control's text once the posted redraws are delivered.
  std::string text(int id);
};

}  // namespace qv4234test
