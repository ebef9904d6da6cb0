#pragma once
// QV4234 bound through STDK42XX from the program folder, its window open in
// a host widget (offscreen), with helpers to run an exact number of rounds,
// read registers as a program does, move the sliders and read controls.
#include <gtest/gtest.h>

#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

#include "encoding.h"
#include "target_client.h"

namespace qv4234test {

using namespace k42test;

// Control ids of the window.
constexpr int kPinButton = 1035;  // PA0; PA1-PA5 follow
constexpr int kAdcSlider = 1044, kSupplySlider = 1045, kAdcLabel = 1046, kSupplyLabel = 1047;

// An export of the module itself (the dialog procedure).
void* ModuleExport(const char* name);

class Qv4234 : public ::testing::Test {
 protected:
  // Binds QV4234, sets the options `options` (null: none), opens the window,
  // loads JMP 0 and resets.
  void SetUp() override { open(""); }
  void TearDown() override;
  void open(const char* options);

  // Loads `words` at address 0 and resets.
  void program(const std::vector<uint16_t>& words);
  // n single steps (one round each).
  void step(int n);
  // Runs in mode 0 for exactly `rounds` rounds; returns the result.
  int32_t runRounds(uint64_t rounds);
  // Reads register n as the CPU does (LDR n; STA 127), with its side effects.
  int read(int n);
  void write(int n, int v) { r.write(n, v); }

  // Window: a scroll code on a slider, a click, a control's text, and the
  // posted redraws delivered.
  void scroll(int bar, uint16_t code, int thumb = 0);
  // The slider set to `hundredths` of a volt (thumb position top - voltage).
  void setVoltage(int bar, int hundredths, int top);
  void click(int id);
  std::string text(int id);
  void flush();

  Records r;
  QWidget host;
  QWidget* dialog = nullptr;
  static constexpr int kReadRoutine = 0xF00;
};

}  // namespace qv4234test
