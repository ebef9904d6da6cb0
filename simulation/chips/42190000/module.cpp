// The module 42190000: chip QV4119.
#include <simcore/module_exports.h>

#include "qv4119.h"

template class qv4119::Qv4119Model<qv4119::Qv4119, qv4119::kQv4119, qv4119::kQv4119Options>;
K42_CHIP_MODULE(qv4119::Qv4119)
