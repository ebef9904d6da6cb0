// The module 42140000: chip QV4114.
#include <simcore/module_exports.h>

#include "model_impl.h"
#include "qv4114.h"
#include "window_impl.h"

K42_CHIP_MODULE(qv4114::Qv4114)
