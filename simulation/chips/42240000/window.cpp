// QV4124's periphery window: the redraw items, pin buttons, the supply
// slider, the oscillator, RESET and the RAM 2 list.
#include "window.h"

#include <platform/dialog_items.h>
#include <platform/window.h>
#include <simcore/periphery_window.h>

#include <QLineEdit>

#include <cstdio>
#include <string>

namespace qv4124 {

using namespace platform;

namespace {

// The pin groups as the template lays them out: redraws take the button ids
// from here, never from a posted lParam.
const simcore::PinGroup kPinGroups[3] = {
    {kItemPortA, kPortAButton, kPortAButton + kLedOffset, kPortAButton + kMarkerOffset},
    {kItemPortB, kPortBButton, kPortBButton + kLedOffset, 0},
    {kItemSerial, kSerialButton, kSerialButton + kLedOffset, 0},
};

constexpr const char* kTones[8] = {"0", "4096", "3276", "2730", "2340", "2048", "1638", "1365"};
constexpr const char* kMelodyClocks[4] = {"4", "16", "64", "1"};
constexpr const char* kTimerInputs[8] = {"PA0", "16KHz", "2048Hz", "512Hz", "128Hz", "8Hz", "1Hz", "PA3"};
constexpr const char* kWidths[4] = {"10", "8", "6", "4"};
constexpr const char* kPinNames[4] = {"0", "1", "2", "3"};
constexpr const char* kSerialNames[4] = {"In", "S", "Out", "Clk"};
constexpr simcore::ScrollSteps kSupplySteps{0, kSupplyMax, 1, 10};

std::string Format(const char* format, int a, int b = 0) {
  char text[32];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

}  // namespace

void Chip::Window_Init(WindowHandle d) {
  supply_ = kSupplyMax;
  oscillator_ = Oscillator::Xtal;
  setOscillator(oscillator_);
  SetScrollRange(GetDlgItem(d, kSupplyBar), 0, kSupplyMax);
  SetScrollPos(GetDlgItem(d, kSupplyBar), 0);
  CheckRadioButton(d, kXtal, kRc512, kXtal);
  if (auto* edit = qobject_cast<QLineEdit*>(static_cast<QWidget*>(GetDlgItem(d, simcore::lcd::kDelayEdit))))
    edit->setMaxLength(3);
}

void Chip::Window_Redraw(int item, intptr_t parts) {
  const WindowHandle d = dialog();
  if (d == nullptr) return;
  switch (item) {
    case kItemPortA:
    case kItemPortB:
    case kItemSerial: {
      const simcore::PinGroup& g = kPinGroups[item];
      simcore::DrawPinGroup(d, g, ports_[item]);
      if (item == kItemSerial) {
        const int mode = reg(kSerialMode) & 3;
        for (int i = 0; i < 4; ++i)
          SetDlgItemText(d, kSerialLabels + i, (mode == 1 || mode == 2) ? kSerialNames[i] : kPinNames[i]);
      }
      break;
    }
    case kItemMelody: {
      const int tone = reg(kMelodyTone), control = registers_ != nullptr ? registers_[kMelodyControl].value : 0;
      if (parts & melodyPart::kTone) SetDlgItemText(d, kToneText, kTones[tone & 7]);
      if (parts & melodyPart::kBuzzer) simcore::ShowLed(d, kBuzzerLed, tone & 8);
      if (parts & melodyPart::kClock) SetDlgItemText(d, kMelodyClockText, kMelodyClocks[control & 3]);
      if (parts & melodyPart::kAutoReload) simcore::ShowLed(d, kAutoReloadLed, control & 4);
      if (parts & melodyPart::kCount) SetDlgItemText(d, kCyclesText, Format("%d", melody_.count()));
      if (parts & melodyPart::kIrq) simcore::ShowLed(d, kMelodyIrqLed, reg(kMask102) & 1);
      if (parts & melodyPart::kContinuous) simcore::ShowLed(d, kContinuousLed, control & 8);
      break;
    }
    case kItemPrescaler:
      if (parts & prescalerPart::kLabel)
        SetDlgItemText(d, kPrescalerLabel, (reg(kPrescalerControl) & 2) ? "32 Hz IRQ" : "8 Hz IRQ");
      if (parts & prescalerPart::kLeds) {
        simcore::ShowLed(d, kOneHzLed, reg(kMask102) & 8);
        simcore::ShowLed(d, kPrescalerLed, reg(kMask102) & 4);
        simcore::ShowLed(d, kBlinkLed, reg(kMask102) & 2);
      }
      break;
    case kItemTimer:
      if (parts & timerPart::kEnabled) simcore::ShowLed(d, kTimerEnabledLed, reg(kTimerCommand) & 8);
      if (parts & timerPart::kIrqEnd) simcore::ShowLed(d, kTimerEndLed, reg(kMask103) & 2);
      if (parts & timerPart::kIrqCompare) simcore::ShowLed(d, kTimerCompareLed, reg(kMask103) & 1);
      if (parts & timerPart::kPwm) simcore::ShowLed(d, kTimerPwmLed, reg(kInterruptControl) & 1);
      if (parts & timerPart::kCompareOn) simcore::ShowLed(d, kTimerCompareOnLed, reg(kTimerCommand) & 2);
      if (parts & timerPart::kInput) SetDlgItemText(d, kTimerInput, kTimerInputs[reg(kTimerControl) & 7]);
      if (parts & timerPart::kStep) SetDlgItemText(d, kTimerStep, timer_.stepValue() > 0 ? "+1" : "-1");
      if (parts & timerPart::kCount) SetDlgItemText(d, kTimerCount, Format("%X", timer_.count()));
      if (parts & timerPart::kCompareValue) SetDlgItemText(d, kTimerCompare, Format("%X", timer_.value()));
      if (parts & timerPart::kWidth) SetDlgItemText(d, kTimerWidth, kWidths[(reg(kTimerHigh) >> 2) & 3]);
      break;
    case kItemGpo: {
      const bool shown = reg(kLcdControl) & 1;
      ShowWindow(GetDlgItem(d, kGpoGroup), shown ? SW_SHOWNOACTIVATE : SW_HIDE);
      ShowWindow(GetDlgItem(d, kGpoList), shown ? SW_SHOWNOACTIVATE : SW_HIDE);
      if (shown) {
        std::string text;
        for (int i = 0; i < 32; ++i) text += Format("%02u %02u\r\n", i, lcdMemory_.at(i) & 1);
        SetDlgItemText(d, kGpoList, text);
      }
      break;
    }
    case kItemLcd: refreshLcd(); break;
    default: break;  // items this window does not define
  }
}

void Chip::Window_RedrawAll() {
  const WindowHandle d = dialog();
  if (d == nullptr) return;
  for (int i = 0; i < 3; ++i) simcore::DrawPinGroup(d, kPinGroups[i], ports_[i], true);
  Window_Redraw(kItemSerial, 0);
  Window_Redraw(kItemMelody, 127);
  Window_Redraw(kItemPrescaler, 3);
  Window_Redraw(kItemTimer, timerPart::kAll);
  Window_Redraw(kItemGpo, 255);
  SetDlgItemText(d, kSupplyText, Format("%u.%02uV", supply_ / 100, supply_ % 100));
  drawClock();
  drawEepromList();
  drawRam2List();
}

void Chip::drawEepromList() {
  const WindowHandle d = dialog();
  if (d == nullptr || window_.hidden()) return;
  std::string text;
  for (int i = 0; i < 8; ++i) text += Format("%02X  %02X\r\n", i, eeprom_.read(i));
  SetDlgItemText(d, kEepromList, text);
}

void Chip::drawClock() {
  if (dialog() != nullptr) SetDlgItemText(dialog(), kClockText, kClockLabels[clockIndex_]);
}

void Chip::drawRam2List() {
  const WindowHandle d = dialog();
  if (d == nullptr) return;
  std::string text;
  for (int page = 0; page < 16; ++page)
    for (int i = 0; i < 4; ++i) text += Format("%02X  %02X\r\n", page * 4 + i, ram2(page, i));
  SetDlgItemText(d, kRam2List, text);
}

bool Chip::Window_Command(int id) {
  for (int port = 0; port < 3; ++port) {
    if (kPinGroups[port].pinOf(id) < 0) continue;
    clickPin(port, id - kPinGroups[port].firstButton);
    return true;
  }
  switch (id) {
    case kXtal:
    case kRc128:
    case kRc512:
      setOscillator(static_cast<Oscillator>(id - kXtal));
      drawClock();
      return true;
    case kResetButton:
      reset(kResetPin);
      drawRam2List();
      return true;
    case kRam2Button:
      drawRam2List();
      return true;
    default:
      return false;
  }
}

bool Chip::Window_Scroll(int barId, uint16_t code, int thumb) {
  if (barId != kSupplyBar || dialog() == nullptr) return false;
  const WindowHandle bar = GetDlgItem(dialog(), kSupplyBar);
  const std::optional<int> next = simcore::ScrollTarget(kSupplySteps, GetScrollPos(bar), code, thumb);
  if (!next) return true;
  SetScrollPos(bar, *next);
  setSupply(kSupplyMax - *next);
  SetDlgItemText(dialog(), kSupplyText, Format("%u.%02uV", supply_ / 100, supply_ % 100));
  return true;
}

// A pin button: an input pin toggles, its box is redrawn, and while the
// register file is known its port is sampled at once.
bool Chip::clickPin(int port, int p) {
  return PeripheryChip::clickPin(kPinGroups[port], ports_[port], kPinGroups[port].firstButton + p,
                                 [this, port] {
                                   if (port == 0)
                                     samplePortA();
                                   else if (port == 1)
                                     samplePortB();
                                   else
                                     sampleSerial();
                                   refreshActivity();
                                 });
}

}  // namespace qv4124
