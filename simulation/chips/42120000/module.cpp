// The module 42120000: chip QV4112.
#include <simcore/module_exports.h>

#include "qv4112.h"

K42_CHIP_MODULE(qv4112::Qv4112)
