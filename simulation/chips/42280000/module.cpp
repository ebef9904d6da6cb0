// The module 42280000: chip QV4128.
#include <simcore/module_exports.h>

#include "qv4128.h"

K42_CHIP_MODULE(qv4128::Chip)
