// The one instance of the family model for chip QV4124.
#include "qv4124.h"

template class qv4124::Qv4124Model<qv4124::Qv4124, qv4124::kQv4124>;
