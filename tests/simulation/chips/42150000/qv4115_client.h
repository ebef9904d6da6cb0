#pragma once
// QV4115 bound through STDK42XX from a program folder.

#include "chip_test.h"
#include "chip_window.h"
#include "qv4115/layout.h"

namespace qv4115test {

using namespace k42test;

// The chip's registers by name.
inline constexpr const qv4115::Qv4115Layout& L = qv4115::kQv4115;

// An export of the loaded module (test controls, the dialog procedure).
void* ModuleExport(const char* name);

class Qv4115 : public ChipTest {
 protected:
  // Binds the module afresh and resets with a program `JMP 0`. Each pass is
  // one tick (or one SWB hold).
  void SetUp() override { bindChip("QV4115", QV4115_PROGRAM_FOLDER); }
  void TearDown() override { RecordRedraws(nullptr); }
};

}  // namespace qv4115test
