// The dialog "Curpos" of QV4128's periphery window, as data: one group per
// periphery block. Pin LED places have the id of their button + 4, the
// interrupt markers of ports 1 and 2 the id of their button + 100.
#include "window.h"

namespace qv4128 {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::IDC_STATIC;
using simcore::AddLed;

namespace {

// The width of an indicator LED's label.
constexpr int kLabelWidth = 50;

constexpr const char* kPortNames[5] = {"Port1", "Port2", "Port3", "Port4", "Port5"};
constexpr const char* kPinNames[4] = {"0", "1", "2", "3"};

void addPorts(std::vector<ControlTemplate>& c) {
  for (int p = 0; p < 5; ++p) {
    const int x = 4 + p * 64, y = 4;
    c.push_back({1019 + p, ControlKind::GroupBox, kPortNames[p], x, y, 60, 60});
    for (int i = 0; i < 4; ++i) {
      const int px = x + 5 + i * 14;
      c.push_back({p == 4 ? kPort5Labels[i] : IDC_STATIC, ControlKind::Text, kPinNames[i], px - 2, y + 10, 16, 8,
                   platform::kAlignCenter});
      c.push_back({kFirstPinButton[p] + i + kLedOffset, ControlKind::Place, "", px, y + 20, 10, 10});
      c.push_back({kFirstPinButton[p] + i, ControlKind::PushButton, "L", px - 1, y + 32, 12, 12});
      if (p < 2) c.push_back({kFirstPinButton[p] + i + kMarkerOffset, ControlKind::Place, "", px, y + 47, 10, 6});
    }
  }
}

std::vector<ControlTemplate> controls() {
  std::vector<ControlTemplate> c;
  addPorts(c);
  // Melody.
  c.push_back({1024, ControlKind::GroupBox, "Melody", 328, 4, 92, 60});
  AddLed(c, kMelodyEnabledLed, IDC_STATIC, "Melody enabled", 332, 14, kLabelWidth);
  AddLed(c, kMelodyEnvelopeLed, IDC_STATIC, "Envelope enable", 332, 24, kLabelWidth);
  c.push_back({kMelodyFrequencyText, ControlKind::Text, "0.000", 332, 36, 40, 8, platform::kAlignRight});
  c.push_back({1096, ControlKind::Text, "Hz Output", 374, 36, 40, 8});
  c.push_back({kMelodyImage, ControlKind::Place, "", 332, 47, 40, 12});
  // Timer1.
  c.push_back({1026, ControlKind::GroupBox, "Timer1", 4, 68, 124, 66});
  AddLed(c, kTimer1RunningLed, IDC_STATIC, "IRQCount0", 8, 78, kLabelWidth);
  AddLed(c, kTimer1EnabledLed, IDC_STATIC, "Enabled", 8, 88, kLabelWidth);
  AddLed(c, kTimer1ZeroStopLed, IDC_STATIC, "Zero Stop", 8, 98, kLabelWidth);
  AddLed(c, kTimer1SyncLed, IDC_STATIC, "Synchronous", 8, 108, kLabelWidth);
  AddLed(c, kTimer1AutoReloadLed, IDC_STATIC, "Auto Reload", 8, 118, kLabelWidth);
  c.push_back({IDC_STATIC, ControlKind::Text, "Input", 74, 78, 50, 8});
  c.push_back({kTimer1InputText, ControlKind::Text, "512Hz", 74, 88, 50, 8});
  c.push_back({IDC_STATIC, ControlKind::Text, "Start.Val.", 74, 100, 50, 8});
  c.push_back({kTimer1StartText, ControlKind::Text, "0", 74, 110, 50, 8});
  // Timer2.
  c.push_back({1027, ControlKind::GroupBox, "Timer2", 132, 68, 124, 66});
  AddLed(c, kTimer2RunningLed, IDC_STATIC, "IRQCount0", 136, 78, kLabelWidth);
  AddLed(c, kTimer2EnabledLed, IDC_STATIC, "Enabled", 136, 88, kLabelWidth);
  AddLed(c, kTimer2ZeroStopLed, IDC_STATIC, "Zero Stop", 136, 98, kLabelWidth);
  AddLed(c, kTimer2AutoReloadLed, IDC_STATIC, "Auto Reload", 136, 108, kLabelWidth);
  c.push_back({1002, ControlKind::Text, "Input", 202, 78, 50, 8});
  c.push_back({kTimer2InputText, ControlKind::Text, "4Hz", 202, 88, 50, 8});
  c.push_back({1003, ControlKind::Text, "Start.Val.", 202, 100, 50, 8});
  c.push_back({kTimer2StartText, ControlKind::Text, "0", 202, 110, 50, 8});
  // Prescaler and watchdog.
  c.push_back({1025, ControlKind::GroupBox, "Prescaler", 260, 68, 64, 36});
  AddLed(c, kOneHzLed, IDC_STATIC, "1Hz IRQ", 264, 78, kLabelWidth);
  AddLed(c, kPrescalerLed, kPrescalerText, "64Hz IRQ", 264, 90, 46);
  c.push_back({1028, ControlKind::GroupBox, "Watchdog", 260, 106, 64, 28});
  AddLed(c, kWatchdogLed, kWatchdogText, "enabled", 264, 118, 46);
  // Speed (no effect on the run).
  c.push_back({1220, ControlKind::GroupBox, "Speed", 328, 68, 30, 98});
  c.push_back({kSpeedBar, ControlKind::VScroll, "", 337, 78, 10, 84});
  // Sound (no effect).
  c.push_back({1230, ControlKind::GroupBox, "Sound", 362, 68, 58, 98});
  c.push_back({kSoundButton, ControlKind::PushButton, "OFF", 366, 78, 30, 12});
  c.push_back({kSoundLed, ControlKind::Place, "", 402, 80, 8, 8});
  for (int i = 0; i < 5; ++i) {
    static constexpr const char* kEffects[5] = {"effect1", "effect2", "effect3", "effect4", "effect5"};
    c.push_back({kFirstEffect + i, ControlKind::RadioButton, kEffects[i], 366, 96 + i * 12, 50, 10,
                 i == 0 ? unsigned{platform::kGroupStart} : 0u});
  }
  return c;
}

}  // namespace

const platform::DialogTemplate& Chip::WindowTemplate() {
  static const platform::DialogTemplate t{"Curpos", 424, 170, nullptr, 8, controls()};
  return t;
}

}  // namespace qv4128
