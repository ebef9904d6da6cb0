// The module 42230000: chip QV4123.
#include <simcore/module_exports.h>

#include "qv4123.h"

template class qv4119::Qv4119Model<qv4123::Qv4123, qv4123::kQv4123, qv4123::kQv4123Options>;
K42_CHIP_MODULE(qv4123::Qv4123)
