// The dialog "Curpos" of QV4124's periphery window, as data: 432 x 150
// dialog units, one group per periphery block.
#include "qv4124/model.h"
#include "qv4124/window.h"

namespace qv4124 {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::IDC_STATIC;

namespace {

// The width of an indicator LED's label.
constexpr int kLabelWidth = 50;

void addPins(std::vector<ControlTemplate>& c, const char* caption, int x, int width, int firstButton,
             int firstLabel, bool markers) {
  static constexpr const char* kNames[4] = {"0", "1", "2", "3"};
  c.push_back({IDC_STATIC, ControlKind::GroupBox, caption, x, 1, width, 66});
  for (int i = 0; i < 4; ++i) {
    const int y = 12 + i * 13;
    c.push_back({firstLabel != 0 ? firstLabel + i : IDC_STATIC, ControlKind::Text, kNames[i], x + 4, y + 2, 14, 8});
    c.push_back({firstButton + i + kLedOffset, ControlKind::Place, "", x + 19, y + 2, 8, 8});
    c.push_back({firstButton + i, ControlKind::PushButton, "L", x + 29, y, 14, 11});
    if (markers) c.push_back({firstButton + i + kMarkerOffset, ControlKind::Place, "", x + 46, y + 2, 8, 8});
  }
}

}  // namespace

void AddPortGroups(std::vector<ControlTemplate>& c) {
  addPins(c, "PortA", 5, 62, kPortAButton, 0, true);
  addPins(c, "PortB", 72, 52, kPortBButton, 0, false);
  addPins(c, "Serial Port", 128, 52, kSerialButton, kSerialLabels, false);
}

void AddMelodyBox(std::vector<ControlTemplate>& c, int x, int y) {
  c.push_back({IDC_STATIC, ControlKind::GroupBox, "Melody", x, y, 97, 77});
  simcore::AddLed(c, kBuzzerLed, IDC_STATIC, "Buzzer Out", x + 4, y + 10, kLabelWidth);
  simcore::AddLed(c, kMelodyIrqLed, IDC_STATIC, "IRQ  Enable", x + 4, y + 21, kLabelWidth);
  simcore::AddLed(c, kAutoReloadLed, IDC_STATIC, "Autoreload", x + 4, y + 32, kLabelWidth);
  simcore::AddLed(c, kContinuousLed, IDC_STATIC, "Continuous", x + 4, y + 43, kLabelWidth);
  c.push_back({kToneText, ControlKind::Text, "0", x + 4, y + 54, 24, 8, platform::kAlignRight});
  c.push_back({IDC_STATIC, ControlKind::Text, "Hz Output", x + 32, y + 54, 40, 8});
  c.push_back({kMelodyClockText, ControlKind::Text, "4", x + 4, y + 64, 24, 8, platform::kAlignRight});
  c.push_back({IDC_STATIC, ControlKind::Text, "Hz Timer", x + 32, y + 64, 30, 8});
  c.push_back({kCyclesText, ControlKind::Text, "0", x + 64, y + 64, 12, 8, platform::kAlignRight});
  c.push_back({IDC_STATIC, ControlKind::Text, "Cycles", x + 72, y + 54, 24, 8});
}

namespace {

std::vector<ControlTemplate> controls() {
  std::vector<ControlTemplate> c;
  AddPortGroups(c);
  simcore::lcd::AddPrescalerBox(c, IDC_STATIC, 184, 1, 63, 66);
  c.push_back({IDC_STATIC, ControlKind::GroupBox, "Supply", 251, 1, 38, 66});
  simcore::lcd::AddSupplySlider(c, 264, 10, 42, 30);
  // Oscillator.
  c.push_back({IDC_STATIC, ControlKind::GroupBox, "Xtal/Rc", 293, 1, 40, 66});
  c.push_back({kXtal, ControlKind::RadioButton, "Xtal", 297, 11, 34, 10, platform::kGroupStart});
  c.push_back({kRc128, ControlKind::RadioButton, "128kHz", 297, 23, 34, 10});
  c.push_back({kRc512, ControlKind::RadioButton, "512kHz", 297, 35, 34, 10});
  c.push_back({kClockText, ControlKind::Text, "32 kHz", 297, 52, 34, 8});
  // Reset.
  c.push_back({IDC_STATIC, ControlKind::GroupBox, " Reset ", 337, 1, 40, 66});
  c.push_back({kResetButton, ControlKind::PushButton, "RESET", 341, 12, 32, 14});
  c.push_back({IDC_STATIC, ControlKind::Text, "Update", 341, 32, 32, 8});
  c.push_back({kRam2Button, ControlKind::PushButton, "RAM 2", 341, 44, 32, 14});
  // Delay per instruction and the CPU's state.
  c.push_back({IDC_STATIC, ControlKind::GroupBox, "Delay ", 381, 1, 46, 66});
  c.push_back({simcore::lcd::kDelayEdit, ControlKind::Edit, "", 385, 12, 30, 12});
  c.push_back({IDC_STATIC, ControlKind::Text, "cpu mode", 385, 32, 38, 8});
  c.push_back({simcore::lcd::kStatusText, ControlKind::Text, "Active", 385, 44, 38, 8});
  simcore::lcd::AddTimerBox(c, IDC_STATIC, 5, 69, 123, 78, {"IRQCount0", "IRQComp"});
  AddMelodyBox(c, 132, 70);
  // EEPROM, general-purpose outputs, RAM 2.
  c.push_back({IDC_STATIC, ControlKind::GroupBox, "EEPROM", 233, 70, 48, 77});
  c.push_back({IDC_STATIC, ControlKind::Text, "Addr  Data", 237, 79, 40, 8});
  c.push_back({kEepromList, ControlKind::List, "", 237, 89, 40, 54});
  c.push_back({kGpoGroup, ControlKind::GroupBox, "Lcd GPO", 285, 70, 51, 77, platform::kHidden});
  c.push_back({kGpoList, ControlKind::List, "", 289, 80, 43, 63, platform::kHidden});
  c.push_back({IDC_STATIC, ControlKind::GroupBox, "RAM 2", 340, 70, 88, 77});
  c.push_back({kRam2Label, ControlKind::Text, "Addr  Data", 344, 79, 40, 8});
  c.push_back({kRam2List, ControlKind::List, "", 344, 89, 80, 54});
  return c;
}

}  // namespace

const platform::DialogTemplate& Qv4124Window() {
  static const platform::DialogTemplate t{"Curpos", 432, 150, nullptr, 8, controls()};
  return t;
}

}  // namespace qv4124
