#pragma once
// Chip QV4111 (module 42110000): the QV4111 family model over its own layout.
#include "qv4111/model.h"

namespace qv4111 {

class Qv4111 final : public Qv4111Model<Qv4111, kQv4111> {};

}  // namespace qv4111
