#pragma once
// Everything a chip module needs from the framework.
#include "simcore/chip_core.h"
#include "simcore/interpreter.h"
#include "simcore/register_file.h"
#include "simcore/run_loop.h"
