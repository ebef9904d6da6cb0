#pragma once
// Chip QV4115 (module 42150000): the QV4115 family model over its own layout.
#include "qv4115/model.h"

namespace qv4115 {

class Qv4115 final : public Qv4115Model<Qv4115, kQv4115> {};

}  // namespace qv4115
