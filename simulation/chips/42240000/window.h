#pragma once
// QV4124's periphery window: control ids beyond the pin buttons.
#include <simcore/periphery_window.h>

namespace qv4124 {

constexpr int kLedOffset = 300;     // pin LED place = button id + 300
constexpr int kMarkerOffset = 400;  // port A arming marker = button id + 400
constexpr int kSerialLabels = 1115; // 1115-1118
constexpr int kPrescalerLabel = 1109;
constexpr int kOneHzLed = 1501, kPrescalerLed = 1502, kBlinkLed = 1503;
constexpr int kSupplyBar = 1044, kSupplyText = 1045;
constexpr int kXtal = 1131, kRc128 = 1132, kRc512 = 1133, kClockText = 1052;
constexpr int kResetButton = 1043, kRam2Button = 1050;
constexpr int kTimerEnabledLed = 1511, kTimerEndLed = 1512, kTimerCompareLed = 1513, kTimerPwmLed = 1514,
              kTimerCompareOnLed = 1515;
constexpr int kTimerInput = 1124, kTimerStep = 1125, kTimerCount = 1130, kTimerCompare = 1126,
              kTimerWidth = 1127;
constexpr int kBuzzerLed = 1521, kMelodyIrqLed = 1522, kAutoReloadLed = 1523, kContinuousLed = 1524;
constexpr int kToneText = 1073, kMelodyClockText = 1074, kCyclesText = 1075;
constexpr int kEepromList = 1136;
constexpr int kGpoGroup = 1134, kGpoList = 1137;
constexpr int kRam2List = 1139, kRam2Label = 1140;

}  // namespace qv4124
