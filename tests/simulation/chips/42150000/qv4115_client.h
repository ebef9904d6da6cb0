#pragma once
// QV4115 bound through STDK42XX from a program folder, with its own test
// seam: the model's redraw requests.
#include <cstdint>
#include <utility>
#include <vector>

#include "chip_test.h"
#include "chip_window.h"

namespace qv4115test {

using namespace k42test;

// An export of the loaded module (test controls, the dialog procedure).
void* ModuleExport(const char* name);

// The redraw requests of the model, in post order.
using Redraws = std::vector<std::pair<int, intptr_t>>;
void RecordRedraws(Redraws* into);  // null stops recording

class Qv4115 : public ChipTest {
 protected:
  // Binds the module afresh and resets with a program `JMP 0`. Each pass is
  // one tick (or one SWB hold).
  void SetUp() override { bindChip("QV4115", QV4115_PROGRAM_FOLDER); }
  void TearDown() override { RecordRedraws(nullptr); }
};

}  // namespace qv4115test
