#pragma once
// QV4128 bound through STDK42XX from a program folder, with the monitor's
// records and a few helpers to step chip time and read registers the way a
// program does.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "encoding.h"
#include "target_client.h"

namespace qv4128test {

using namespace k42test;

// The module's own exports (test controls: the dialog procedure).
void* ModuleExport(const char* name);

// Clicks a pin button of the periphery window through the dialog procedure.
void ClickPin(int buttonId);

class Qv4128 : public ::testing::Test {
 protected:
  void SetUp() override;

  // n rounds of single steps: each is one periphery tick.
  void step(int n);
  // Reads register n through a small program (LDR n; STA 127), as the CPU
  // does, with its side effects; costs two ticks.
  int read(int n);
  // Writes register n through Monitor_Write.
  void write(int n, int v) { r.write(n, v); }
  // Loads `words` at address 0 and resets.
  void program(const std::vector<uint16_t>& words);

  Records r;
  static constexpr int kReadRoutine = 0xF00;
};

}  // namespace qv4128test
