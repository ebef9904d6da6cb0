// The module 42310000: chip QV4131.
#include <simcore/module_exports.h>

#include "qv4131.h"

K42_CHIP_MODULE(qv4131::Qv4131)
