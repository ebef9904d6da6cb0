#pragma once
// Chip QV4111: the family model over its own layout.
#include "model.h"

namespace qv4111 {

class Qv4111 final : public Model<Qv4111, kQv4111> {};

}  // namespace qv4111
