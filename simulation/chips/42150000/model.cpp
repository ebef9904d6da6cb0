// The one instance of the family model for chip QV4115.
#include "qv4115.h"

template class qv4115::Qv4115Model<qv4115::Qv4115, qv4115::kQv4115>;
