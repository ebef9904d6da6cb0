#pragma once
// The programmer control Pelto.so of the program folder, bound by name: its
// factory makes the control, whose members are reached by name through Qt's
// meta-object calls.
#include <string>

#include "workbench/tools/pelto_host.h"

namespace monitor {

// A factory of the library in `programPath`, or an empty one when the
// library or its factory is missing (the library stays loaded for good).
PeltoControlFactory PeltoLibraryFactory(const std::string& programPath);

}  // namespace monitor
