// The module 42110000: chip QV4111.
#include <simcore/module_exports.h>

#include "qv4111.h"

template class qv4111::Qv4111Model<qv4111::Qv4111, qv4111::kQv4111>;
K42_CHIP_MODULE(qv4111::Qv4111)
