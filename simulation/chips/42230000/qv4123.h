#pragma once
// Chip QV4123 (module 42230000): the gated model with QV4118's millisecond
// counter and reset; window 341 x 150 with the CPU box at (296, 1).
#include "qv4119/model.h"

namespace qv4123 {

inline constexpr qv4124::Qv4124Layout kQv4123 = qv4119::GatedLayout(simcore::lcd::LcdModuleOf("42230000"));
inline constexpr qv4117::Options kQv4123Options{periphery::MillisecondClear::DigitsAndOverflow,
                                                qv4117::millisecondPart::kDigits};

class Qv4123 final : public qv4119::Qv4119Model<Qv4123, kQv4123, kQv4123Options> {
 public:
  static const platform::DialogTemplate& WindowTemplate() {
    static const platform::DialogTemplate t = qv4119::GatedWindow(341, 296);
    return t;
  }
};

}  // namespace qv4123
