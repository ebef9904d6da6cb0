#pragma once
// QV4128 bound through STDK42XX from the program folder, as its TAVIX.INI
// names it; each pass is one periphery tick.
#include "chip_test.h"
#include "chip_window.h"

namespace qv4128test {

using namespace k42test;

// The module's own exports (test controls: the dialog procedure).
void* ModuleExport(const char* name);

// Clicks a pin button of the periphery window through the dialog procedure.
void ClickPin(int buttonId);

class Qv4128 : public ChipTest {
 protected:
  void SetUp() override { bindChip("QV4128", QV4128_PROGRAM_FOLDER); }
};

}  // namespace qv4128test
