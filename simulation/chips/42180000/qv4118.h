#pragma once
// Chip QV4118 (module 42180000): QV4117 but that a clear request of the
// millisecond counter also clears the overflow bit, and each 0.1 s carry
// redraws the count alone.
#include "qv4117/model.h"

namespace qv4118 {

inline constexpr qv4124::Qv4124Layout kQv4118 = qv4117::FamilyLayout(simcore::lcd::LcdModuleOf("42180000"));
inline constexpr qv4117::Options kQv4118Options{periphery::MillisecondClear::DigitsAndOverflow,
                                                qv4117::millisecondPart::kDigits};

class Qv4118 final : public qv4117::Qv4117Model<Qv4118, kQv4118, kQv4118Options> {};

}  // namespace qv4118
