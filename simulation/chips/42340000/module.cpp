// The module 42340000: chip QV4234, with its controller options.
#include <simcore/module_exports.h>

#include "qv4234.h"

K42_CHIP_MODULE(qv4234::Chip)
K42_CHIP_OPTIONS()
