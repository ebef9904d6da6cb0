#pragma once
// Everything a chip's periphery window needs from the framework.
#include "simcore/window/periphery_chip.h"
#include "simcore/window/periphery_window.h"
#include "simcore/window/pin_group.h"
#include "simcore/window/places.h"
#include "simcore/window/port_box.h"
#include "simcore/window/scroll_steps.h"
#include "simcore/window/supply_bar.h"
