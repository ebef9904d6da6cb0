#pragma once
// QV4124's periphery window: control ids beyond the pin buttons.
#include <platform/dialog.h>
#include <simcore/periphery_window.h>

#include <vector>

namespace qv4124 {

constexpr int kLedOffset = 300;     // pin LED place = button id + 300
constexpr int kMarkerOffset = 400;  // port A arming marker = button id + 400
constexpr int kSerialLabels = 1115; // 1115-1118
constexpr int kXtal = 1131, kRc128 = 1132, kRc512 = 1133, kClockText = 1052;
constexpr int kResetButton = 1043, kRam2Button = 1050;
constexpr int kBuzzerLed = 1521, kMelodyIrqLed = 1522, kAutoReloadLed = 1523, kContinuousLed = 1524;
constexpr int kToneText = 1073, kMelodyClockText = 1074, kCyclesText = 1075;
constexpr int kEepromList = 1136;
constexpr int kGpoGroup = 1134, kGpoList = 1137;
constexpr int kRam2List = 1139, kRam2Label = 1140;

// The family's boxes, for its chips' templates: the port A, port B and
// serial groups along the top from x 5 to 180, and the melody box at (x, y).
void AddPortGroups(std::vector<platform::ControlTemplate>& c);
void AddMelodyBox(std::vector<platform::ControlTemplate>& c, int x, int y);

}  // namespace qv4124
