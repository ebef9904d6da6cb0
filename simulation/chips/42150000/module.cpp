// The module 42150000: chip QV4115.
#include <simcore/module_exports.h>

#include "qv4115.h"

K42_CHIP_MODULE(qv4115::Qv4115)
