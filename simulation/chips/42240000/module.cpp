// The module 42240000: chip QV4124.
#include <simcore/module_exports.h>

#include "qv4124.h"

K42_CHIP_MODULE(qv4124::Qv4124)
