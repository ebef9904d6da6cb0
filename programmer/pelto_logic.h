#pragma once
// The control without its widget: parameters, what the panel shows, the
// timings, the ROM file, the transfers and the state machine, wired to each
// other. The widget holds one; tests make one of their own.
#include "pelto_link.h"
#include "pelto_params.h"
#include "pelto_rom_file.h"
#include "pelto_shown.h"
#include "pelto_states.h"
#include "pelto_timings.h"

namespace pelto {

struct PeltoLogic {
  PeltoParams params;
  PeltoShown shown;
  PeltoTimings timings;
  RomFile file{params, shown, timings};
  PeltoLink link{params, shown, timings};
  PeltoStates states{params, shown, link, file, timings};
};

}  // namespace pelto
