#pragma once
// QV4128's periphery window: control ids beyond the pin buttons and texts,
// the chip's window hooks are in window.cpp, its template in window_template.cpp.
#include <platform/dialog.h>

#include "qv4128.h"

namespace qv4128 {

constexpr int kPort5Labels[4] = {1160, 1161, 1162, 1163};
constexpr int kOneHzLed = 1150, kPrescalerLed = 1151, kPrescalerText = 1152;
constexpr int kWatchdogLed = 1196, kWatchdogText = 1197;
constexpr int kTimer1RunningLed = 1085, kTimer1ZeroStopLed = 1086, kTimer1EnabledLed = 1087,
              kTimer1SyncLed = 1088, kTimer1AutoReloadLed = 1089, kTimer1StartText = 1175,
              kTimer1InputText = 1176;
constexpr int kTimer2RunningLed = 1090, kTimer2EnabledLed = 1091, kTimer2ZeroStopLed = 1092,
              kTimer2AutoReloadLed = 1093, kTimer2StartText = 1184, kTimer2InputText = 1185;
constexpr int kMelodyFrequencyText = 1094, kMelodyEnvelopeLed = 1095, kMelodyEnabledLed = 1097,
              kMelodyImage = 1098;
constexpr int kSpeedBar = 1221, kSoundButton = 1236, kSoundLed = 1237;
constexpr int kFirstEffect = 1231, kLastEffect = 1235;

}  // namespace qv4128
