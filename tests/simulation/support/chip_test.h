#pragma once
// A chip module bound through STDK42XX, with the monitor's records and the
// helpers every chip test runs it by: load a program, step passes, read a
// register the way a program does, run an exact number of rounds.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "encoding.h"
#include "target_client.h"

namespace k42test {

class ChipTest : public ::testing::Test {
 protected:
  // Binds controller `name` as the TAVIX.INI of `folder` names it (a new
  // load: every periphery state at zero); with `reset`, loads `JMP 0` and
  // resets.
  void bindChip(const char* name, const std::string& folder, bool reset = true);

  // Loads `words` at address 0 (and the read routine) and resets.
  void program(const std::vector<uint16_t>& words);
  // The whole road: `source` assembled by the program folder's K42xxasm (a
  // process, in a folder of its own), its .bin loaded into the program cells
  // (and the read routine), and a reset. Fails the test on an assembly error.
  void programFromSource(const std::string& source);
  // n single-step passes.
  void step(int n);
  // Reads register n through a small program (LDR n; STA 127), as the CPU
  // does, with its side effects; costs two passes.
  int read(int n);
  // Writes register n through Monitor_Write.
  void write(int n, int v) { r.write(n, v); }
  // Runs in mode 0 for exactly `rounds` rounds; returns the result.
  int32_t runRounds(uint64_t rounds);

  // The watchdog's loop: 0: JMP 4 (where a reset lands)  4: LDI 5  5: STA 10
  // 6: JMP 6, with compare value 7 and flags 0x12 in register 10 and a
  // marker in RAM 50. `preset` runs after the load, before the first passes.
  void startMarkedLoop(void (*preset)(Records&) = nullptr);
  // True once the chip has been reset: the marker in RAM 50, which the loop
  // never writes, is gone.
  bool wasReset() const { return r.reg(50) == 0; }
  // Steps up to pass `tick` since the loop's load.
  void stepTo(int tick);

  // A source for the whole road: RAM arithmetic, a call and its return, and
  // `value` stored into periphery register `reg` and read back into RAM 22H;
  // it ends at DONE (address 9) after 13 instructions. Then 20H holds 7,
  // 21H 15, 22H what the register reads.
  static std::string WholeRoadSource(int reg, int value);
  // Assembles, loads and steps WholeRoadSource(reg, value) to DONE and
  // compares the registers, the counter and the stack level.
  void runWholeRoad(int reg, int value);

  Records r;
  int ticks = 0;
  static constexpr int kReadRoutine = 0xF00;
  static constexpr int kOneSecond = 16384;
};

}  // namespace k42test
