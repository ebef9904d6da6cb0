#pragma once
// QV4115's periphery window: control ids of the dialog "Curpos".
#include <simcore/periphery_window.h>

namespace qv4115 {

// Pin groups: buttons, LEDs and (port A) edge markers.
constexpr simcore::PinGroup kPinsA{0, 1035, 1085, 1093};
constexpr simcore::PinGroup kPinsB{1, 1081, 1089, 0};
constexpr simcore::PinGroup kPinsC{2, 1097, 1101, 0};

constexpr simcore::SupplyBar kSupply{1044, 1045};
constexpr int kAdcText1 = 1051, kAdcText2 = 1052, kAdcBar1 = 1053, kAdcBar2 = 1054;
constexpr int kPrescalerLed = 1107, kOneHzLed = 1108, kPrescalerText = 1109;
constexpr int kTimerEnabledLed = 1119, kTimerEndLed = 1120, kTimerCompareLed = 1121, kTimerPwmLed = 1122,
              kTimerCompareEnableLed = 1123;
constexpr int kTimerSourceText = 1124, kTimerStepText = 1125, kTimerCompareText = 1126,
              kTimerWidthText = 1127, kTimerCounterText = 1130;
constexpr int kSwbClockLed = 1110, kSwbDataLed = 1111, kSwbSentEdit = 1138, kSwbClockText = 1139,
              kSwbModeText = 1140, kSwbSizeText = 1142;
constexpr int kEepromList = 1144;

}  // namespace qv4115
