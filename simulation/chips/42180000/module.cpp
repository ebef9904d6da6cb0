// The module 42180000: chip QV4118.
#include <simcore/module_exports.h>

#include "qv4118.h"

template class qv4117::Qv4117Model<qv4118::Qv4118, qv4118::kQv4118, qv4118::kQv4118Options>;
K42_CHIP_MODULE(qv4118::Qv4118)
