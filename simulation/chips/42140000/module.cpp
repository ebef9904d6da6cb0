// The module 42140000: chip QV4114.
#include <simcore/module_exports.h>

#include "qv4114.h"

template class qv4111::Qv4111Model<qv4114::Qv4114, qv4114::kQv4114>;
K42_CHIP_MODULE(qv4114::Qv4114)
