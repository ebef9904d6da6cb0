#pragma once
// The QV4124 family's periphery window: the redraw items, pin buttons, the
// supply slider, the oscillator, RESET and the RAM 2 list. Included by
// model.h.
#include <platform/dialog_items.h>
#include <platform/window.h>
#include <simcore/periphery_window.h>

#include <cstdio>
#include <string>

#include "qv4124/window.h"

namespace qv4124 {

namespace windowText {

// The pin groups as the template lays them out: redraws take the button ids
// from here, never from a posted lParam.
inline constexpr simcore::PinGroup kPinGroups[3] = {
    {kItemPortA, kPortAButton, kPortAButton + kLedOffset, kPortAButton + kMarkerOffset},
    {kItemPortB, kPortBButton, kPortBButton + kLedOffset, 0},
    {kItemSerial, kSerialButton, kSerialButton + kLedOffset, 0},
};

constexpr const char* kTones[8] = {"0", "4096", "3276", "2730", "2340", "2048", "1638", "1365"};
constexpr const char* kPinNames[4] = {"0", "1", "2", "3"};
constexpr const char* kSerialNames[4] = {"In", "S", "Out", "Clk"};

inline std::string Format(const char* format, int a, int b = 0) {
  char text[32];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

}  // namespace windowText

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::Window_Init(platform::WindowHandle d) {
  supply_ = L.supply.maximum;
  oscillator_ = Oscillator::Xtal;
  setOscillator(oscillator_);
  simcore::lcd::InitSupplySlider(d, L.supply.maximum, supply_);
  platform::CheckRadioButton(d, kXtal, kRc512, kXtal);
  platform::SetEditLimit(d, simcore::lcd::kDelayEdit, 3);
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::Window_Redraw(int item, intptr_t parts) {
  const platform::WindowHandle d = dialog();
  if (d == nullptr) return;
  switch (item) {
    case kItemPortA:
    case kItemPortB:
    case kItemSerial: {
      const simcore::PinGroup& g = windowText::kPinGroups[item];
      simcore::DrawPinGroup(d, g, ports_[item]);
      if (item == kItemSerial) {
        const int mode = L.serial.modeSelect.of(reg(L.serial.mode.reg));
        for (int i = 0; i < 4; ++i)
          platform::SetDlgItemText(d, kSerialLabels + i, (mode == 1 || mode == 2) ? windowText::kSerialNames[i] : windowText::kPinNames[i]);
      }
      break;
    }
    case kItemMelody: {
      const int tone = reg(L.melody.tone.reg), control = registers_ != nullptr ? registers_[L.melody.control.reg].value : 0;
      if (parts & melodyPart::kTone) platform::SetDlgItemText(d, kToneText, windowText::kTones[tone & 7]);
      if (parts & melodyPart::kBuzzer) simcore::ShowLed(d, kBuzzerLed, tone & 8);
      if (parts & melodyPart::kClock) platform::SetDlgItemText(d, kMelodyClockText, L.melody.clockTexts[L.melody.clockSelect.of(control)]);
      if (parts & melodyPart::kAutoReload) simcore::ShowLed(d, kAutoReloadLed, L.melody.autoReload.setIn(control));
      if (parts & melodyPart::kCount) platform::SetDlgItemText(d, kCyclesText, windowText::Format("%d", melody_.count()));
      if (parts & melodyPart::kIrq) simcore::ShowLed(d, kMelodyIrqLed, reg(L.irq.timeEnables.reg) & kReqMelody);
      if (parts & melodyPart::kContinuous) simcore::ShowLed(d, kContinuousLed, control & 8);
      break;
    }
    case kItemPrescaler:
      simcore::lcd::DrawPrescalerBox(d, parts, reg(L.irq.timeEnables.reg), L.prescaler.fast32Hz.setIn(reg(L.prescaler.fast32Hz.reg)));
      break;
    case kItemTimer: simcore::lcd::DrawTimerBox(d, parts, timerView()); break;
    case kItemGpo: {
      const bool shown = L.lcd.outputs.setIn(reg(L.lcd.control.reg));
      platform::ShowWindow(platform::GetDlgItem(d, kGpoGroup), shown ? platform::SW_SHOWNOACTIVATE : platform::SW_HIDE);
      platform::ShowWindow(platform::GetDlgItem(d, kGpoList), shown ? platform::SW_SHOWNOACTIVATE : platform::SW_HIDE);
      if (shown) {
        std::string text;
        for (int i = 0; i < 32; ++i) text += windowText::Format("%02u %02u\r\n", i, lcdMemory_.at(i) & 1);
        platform::SetDlgItemText(d, kGpoList, text);
      }
      break;
    }
    case kItemLcd: refreshLcd(); break;
    default: break;  // items this window does not define
  }
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::Window_RedrawAll() {
  const platform::WindowHandle d = dialog();
  if (d == nullptr) return;
  for (int i = 0; i < 3; ++i) simcore::DrawPinGroup(d, windowText::kPinGroups[i], ports_[i], true);
  Window_Redraw(kItemSerial, 0);
  Window_Redraw(kItemMelody, melodyPart::kAll);
  Window_Redraw(kItemPrescaler, prescalerPart::kLabel | prescalerPart::kLeds);
  Window_Redraw(kItemTimer, timerPart::kAll);
  Window_Redraw(kItemGpo, kAllParts);
  simcore::lcd::DrawSupplyText(d, supply_);
  drawClock();
  drawEepromList();
  drawRam2List();
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::drawEepromList() {
  const platform::WindowHandle d = dialog();
  if (d == nullptr || window_.hidden()) return;
  std::string text;
  for (int i = 0; i < 8; ++i) text += windowText::Format("%02X  %02X\r\n", i, eeprom_.read(i));
  platform::SetDlgItemText(d, kEepromList, text);
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::drawClock() {
  if (dialog() != nullptr) platform::SetDlgItemText(dialog(), kClockText, kClockLabels[clockIndex_]);
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::drawRam2List() {
  const platform::WindowHandle d = dialog();
  if (d == nullptr) return;
  std::string text;
  for (int page = 0; page < 16; ++page)
    for (int i = 0; i < 4; ++i) text += windowText::Format("%02X  %02X\r\n", page * 4 + i, ram2(page, i));
  platform::SetDlgItemText(d, kRam2List, text);
}

template <class Self, const Qv4124Layout& L>
bool Qv4124Model<Self, L>::Window_Command(int id) {
  for (int port = 0; port < 3; ++port) {
    if (windowText::kPinGroups[port].pinOf(id) < 0) continue;
    clickPin(port, id - windowText::kPinGroups[port].firstButton);
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

template <class Self, const Qv4124Layout& L>
bool Qv4124Model<Self, L>::Window_Scroll(int barId, uint16_t code, int thumb) {
  if (barId != simcore::lcd::supplyBox::kBar || dialog() == nullptr) return false;
  if (const std::optional<int> supply = simcore::lcd::ScrollSupply(dialog(), L.supply.maximum, code, thumb))
    setSupply(*supply);
  return true;
}

template <class Self, const Qv4124Layout& L>
simcore::lcd::TimerView Qv4124Model<Self, L>::timerView() const {
  auto bit = [this](simcore::Field f) { return f.setIn(reg(f.reg)); };
  return {bit(L.timer.run), bit(L.irq.endEnable), bit(L.irq.compareEnable), bit(L.irq.pwm),
          bit(L.timer.compare), L.timer.input.of(reg(L.timer.input.reg)),
          timer_.up(), timer_.value(), L.timer.width.of(reg(L.timer.width.reg)), timer_.count(),
          bit(L.irq.fullCompare)};
}

// A pin button: an input pin toggles, its box is redrawn, and while the
// register file is known its port is sampled at once.
template <class Self, const Qv4124Layout& L>
bool Qv4124Model<Self, L>::clickPin(int port, int p) {
  return Base::clickPin(windowText::kPinGroups[port], ports_[port], windowText::kPinGroups[port].firstButton + p,
                                 [this, port] {
                                   if (port == 0)
                                     samplePortA();
                                   else if (port == 1)
                                     samplePortB();
                                   else
                                     sampleSerial();
                                   self().refreshActivity();
                                 });
}

}  // namespace qv4124
