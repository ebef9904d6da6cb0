#pragma once
// Chip QV4124 (module 42240000), the first of the LCD family: the family
// model over its own layout.
#include "qv4124/model.h"

namespace qv4124 {

class Qv4124 final : public Qv4124Model<Qv4124, kQv4124> {};

}  // namespace qv4124
