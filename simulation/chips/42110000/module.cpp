// The module 42110000: chip QV4111.
#include <simcore/module_exports.h>

#include "model_impl.h"
#include "qv4111.h"
#include "window_impl.h"

K42_CHIP_MODULE(qv4111::Qv4111)
