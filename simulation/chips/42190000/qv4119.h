#pragma once
// Chip QV4119 (module 42190000): the gated model with QV4117's millisecond
// counter; window 338 x 150 with the CPU box at (293, 1).
#include "qv4119/model.h"

namespace qv4119 {

inline constexpr qv4124::Qv4124Layout kQv4119 = GatedLayout(simcore::lcd::LcdModuleOf("42190000"));
inline constexpr qv4117::Options kQv4119Options{periphery::MillisecondClear::Digits,
                                                qv4117::millisecondPart::kDigits | qv4117::millisecondPart::kEnabled};

class Qv4119 final : public Qv4119Model<Qv4119, kQv4119, kQv4119Options> {
 public:
  static const platform::DialogTemplate& WindowTemplate() {
    static const platform::DialogTemplate t = GatedWindow(338, 293);
    return t;
  }
};

}  // namespace qv4119
