#pragma once
// QV4234's periphery window: control ids of the dialog "Curpos".
namespace qv4234 {

// Port A: buttons 1035-1040; their LED places +100, interrupt markers +200.
constexpr int kPinLedOffset = 100;
constexpr int kPinMarkerOffset = 200;
// ADC / SVLD.
constexpr int kAdcSlider = 1044, kSupplySlider = 1045, kAdcLabel = 1046, kSupplyLabel = 1047;
constexpr int kModeLed = 1073, kChannelLed = 1074;
// Prescaler.
constexpr int kPrescalerLed = 1107, kOneHzLed = 1108, kPrescalerLabel = 1109;
// Timer.
constexpr int kEndEnableLed = 1063, kCompareEnableLed = 1064, kRunLed = 1065, kPwmLed = 1069,
              kCompareOnLed = 1070;
constexpr int kInputText = 1124, kDirectionText = 1125, kCompareText = 1126, kWidthText = 1127,
              kCounterText = 1130;
// MOpt: the four option words.
constexpr int kFirstOptionText = 1153;

}  // namespace qv4234
