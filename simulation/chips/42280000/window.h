#pragma once
// QV4128's periphery window: control ids beyond the pin buttons and texts,
// the dialog template, and the redraw of each item.
#include <platform/dialog.h>

#include "qv4128.h"

namespace qv4128 {

constexpr int kLedOffset = 4;      // pin LED place = button id + 4
constexpr int kMarkerOffset = 100; // interrupt marker place (ports 1, 2) = button id + 100
constexpr int kPort5Labels[4] = {1160, 1161, 1162, 1163};
constexpr int kOneHzLed = 1150, kPrescalerLed = 1151, kWatchdogLed = 1196;
constexpr int kMelodyEnabledLed = 1097, kMelodyImage = 1098;
constexpr int kSpeedBar = 1221, kSoundButton = 1236, kSoundLed = 1237;
constexpr int kFirstEffect = 1231, kLastEffect = 1235;

const platform::DialogTemplate& DialogTemplate();

}  // namespace qv4128
