#pragma once
// Chip QV4117 (module 42170000): the family's model over its layout; a clear
// request keeps the overflow bit, and each 0.1 s carry redraws the count and
// the running LED.
#include "qv4117/model.h"

namespace qv4117 {

inline constexpr qv4124::Qv4124Layout kQv4117 = FamilyLayout(simcore::lcd::LcdModuleOf("42170000"));
inline constexpr Options kQv4117Options{periphery::MillisecondClear::Digits,
                                        millisecondPart::kDigits | millisecondPart::kEnabled};

class Qv4117 final : public Qv4117Model<Qv4117, kQv4117, kQv4117Options> {};

}  // namespace qv4117
