#pragma once
// Control ids of the QV4111 family's dialog "Curpos".
#include <simcore/periphery_window.h>

namespace qv4111 {

constexpr int kPortAButton = 1035, kPortBButton = 1081, kPortCButton = 1040, kPortDButton = 1075;
constexpr int kPortALed = 1086, kPortBLed = 1090, kPortCLed = 1094, kPortDLed = 1102;
constexpr int kPortAMarker = 1098, kPortCMarker = 1106;
constexpr simcore::SupplyBar kSupply{1044, 1045};
constexpr int kBuzzerText = 1073, kPrescalerText = 1072;
constexpr int kTimerEnabledLed = 1110, kTimerIrqLed = 1111, kTimerAutoreloadLed = 1112;
constexpr int kTimerSourceText = 1071, kTimerReloadText = 1069, kTimerActualText = 1070;

// Port D's pins 0 and 1 carry the serial clock and data in serial mode, and
// PB0 the buzzer.
constexpr simcore::FunctionTexts kPortBFunctions = {"BUZ", nullptr, nullptr, nullptr};
constexpr simcore::FunctionTexts kPortDFunctions = {"SCK", "SD", nullptr, nullptr};

}  // namespace qv4111
