// The module 42170000: chip QV4117.
#include <simcore/module_exports.h>

#include "qv4117.h"

template class qv4117::Qv4117Model<qv4117::Qv4117, qv4117::kQv4117, qv4117::kQv4117Options>;
K42_CHIP_MODULE(qv4117::Qv4117)
