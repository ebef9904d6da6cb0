// The module 42160000: chip QV4116.
#include <simcore/module_exports.h>

#include "qv4116.h"

K42_CHIP_MODULE(qv4116::Chip)
