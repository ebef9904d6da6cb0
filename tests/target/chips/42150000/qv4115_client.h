#pragma once
// QV4115 bound through STDK42XX from a program folder, with the monitor's
// records and helpers to run passes and read registers as a program does.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "encoding.h"
#include "target_client.h"

namespace qv4115test {

using namespace k42test;

// An export of the loaded module (test controls, the dialog procedure).
void* ModuleExport(const char* name);

// The redraw requests of the model, in post order.
using Redraws = std::vector<std::pair<int, intptr_t>>;
void RecordRedraws(Redraws* into);  // null stops recording

class Qv4115 : public ::testing::Test {
 protected:
  // Binds the module afresh (a new load: every periphery state at zero) and
  // resets with a program `JMP 0`.
  void SetUp() override;
  void TearDown() override { RecordRedraws(nullptr); }

  // n single-step passes: each is one tick (or one SWB hold).
  void step(int n);
  // Reads register n through a small program (LDR n; STA 127), with its side
  // effects; costs two passes.
  int read(int n);
  void write(int n, int v) { r.write(n, v); }
  // Loads `words` at address 0 and resets.
  void program(const std::vector<uint16_t>& words);

  Records r;
  static constexpr int kReadRoutine = 0xF00;
  static constexpr int kOneSecond = 16384;
};

}  // namespace qv4115test
