#pragma once
// The QV4115 family's periphery window: initial state, the redraw of each
// box, pin buttons and the supply and ADC bars. Included by model.h.
#include <platform/dialog_items.h>

#include <cstdio>
#include <string>

#include "qv4115/window.h"

namespace qv4115 {

namespace windowText {

constexpr const char* kWidths[4] = {"10", "8", "6", "4"};
constexpr int kWidthCodes[11] = {0, 0, 0, 0, 3, 0, 2, 0, 1, 0, 0};  // by width in bits

inline std::string Format(const char* format, unsigned a, unsigned b = 0) {
  char text[32];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

// 32 lines of address and byte; the window opens with every byte shown 00.
inline std::string EepromList(const periphery::Eeprom<32>* bytes) {
  std::string text;
  for (int a = 0; a < 32; ++a)
    text += Format("  %02X  %02X\r\n", static_cast<unsigned>(a), bytes ? static_cast<unsigned>(bytes->read(a)) : 0u);
  return text;
}

}  // namespace windowText

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::Window_Init(platform::WindowHandle d) {
  adc_.reset();
  detectorLevel_ = kDetectorLevels[0];
  initSupplyAndLists(d);
  for (int channel = 1; channel <= 2; ++channel) {
    const int bar = channel == 1 ? kAdcBar1 : kAdcBar2;
    platform::SetScrollRange(platform::GetDlgItem(d, bar), 0, 255);
    platform::SetScrollPos(platform::GetDlgItem(d, bar), 128);
    adc_.setInput(channel, 0x80);
    platform::SetDlgItemText(d, channel == 1 ? kAdcText1 : kAdcText2, "80");
  }
}

// What every window of the family starts with: no sent text, every EEPROM
// byte shown 00, the supply bar at 5.00 V.
template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::initSupplyAndLists(platform::WindowHandle d) {
  swb_.clearText();
  platform::SetDlgItemText(d, kEepromList, windowText::EepromList(nullptr));
  supply_ = 500;
  kSupply.init(d, supply_);
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::drawSwb(intptr_t parts) {
  platform::WindowHandle d = dialog();
  if (parts & swbItem::kClock) simcore::ShowPinLed(d, kSwbClockLed, swb_.clock());
  if (parts & swbItem::kData) simcore::ShowPinLed(d, kSwbDataLed, swb_.data());
  if (parts & swbItem::kText) platform::SetDlgItemText(d, kSwbSentEdit, swb_.text());
  if (parts & swbItem::kClockText) platform::SetDlgItemText(d, kSwbClockText, L.texts.swbClocks[swbClockCopy_ & 3]);
  if (parts & swbItem::kMode) platform::SetDlgItemText(d, kSwbModeText, swbAutomatic_ ? "Automatic" : "Interactive");
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::drawTimer(intptr_t parts) {
  platform::WindowHandle d = dialog();
  const int widthMask = timer_.widthMask();
  if (parts & timerItem::kEnabled) simcore::ShowLed(d, kTimerEnabledLed, timer_.running());
  if (parts & timerItem::kEndIrq) simcore::ShowLed(d, kTimerEndLed, latch_.at(L.irq.timerEnables.reg) & kReqEnd);
  if (parts & timerItem::kCompareIrq) simcore::ShowLed(d, kTimerCompareLed, latch_.at(L.irq.timerEnables.reg) & kReqCompare);
  if (parts & timerItem::kPwm) simcore::ShowLed(d, kTimerPwmLed, pwmEnabled());
  if (parts & timerItem::kCompareEnable) simcore::ShowLed(d, kTimerCompareEnableLed, timer_.compareEnabled());
  if (parts & timerItem::kSource) platform::SetDlgItemText(d, kTimerSourceText, L.texts.timerSources[timerSource_ & 7]);
  if (parts & timerItem::kStep) platform::SetDlgItemText(d, kTimerStepText, timer_.up() ? "+1" : "-1");
  if (parts & timerItem::kCompareValue)
    platform::SetDlgItemText(d, kTimerCompareText, windowText::Format("%X", timer_.value() & (fullCompare() ? 0x3FF : widthMask)));
  if (parts & timerItem::kWidth) platform::SetDlgItemText(d, kTimerWidthText, windowText::kWidths[windowText::kWidthCodes[timer_.width()]]);
  if (parts & timerItem::kCounter) platform::SetDlgItemText(d, kTimerCounterText, windowText::Format("%X", timer_.count() & widthMask));
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::Window_Redraw(int item, intptr_t parts) {
  platform::WindowHandle d = dialog();
  switch (item) {
    case kItemPortA: simcore::DrawPinGroup(d, kPinsA, ports_[0]); break;
    case kItemPortB: simcore::DrawPinGroup(d, kPinsB, ports_[1]); break;
    case kItemPortC: simcore::DrawPinGroup(d, kPinsC, ports_[2]); break;
    case kItemSwb: drawSwb(parts); break;
    case kItemPrescaler:
      if (parts & prescalerItem::kRateText) platform::SetDlgItemText(d, kPrescalerText, prescaler32Hz() ? "32Hz IRQ" : "8Hz IRQ");
      if (parts & prescalerItem::kLeds) {
        simcore::ShowLed(d, kPrescalerLed, latch_.at(L.irq.systemEnables.reg) & kReqPrescaler);
        simcore::ShowLed(d, kOneHzLed, latch_.at(L.irq.systemEnables.reg) & kReq1Hz);
      }
      break;
    case kItemTimer: drawTimer(parts); break;
    case kItemEepromList: platform::SetDlgItemText(d, kEepromList, windowText::EepromList(&eeprom_)); break;
    default: break;  // the supply, ADC and EEPROM boxes draw nothing
  }
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::Window_RedrawAll() {
  platform::WindowHandle d = dialog();
  simcore::DrawPinGroup(d, kPinsA, ports_[0], true);
  simcore::DrawPinGroup(d, kPinsB, ports_[1], true);
  simcore::DrawPinGroup(d, kPinsC, ports_[2], true);
  self().Window_Redraw(kItemSwb, swbItem::kAll);
  self().Window_Redraw(kItemPrescaler, prescalerItem::kAll);
  self().Window_Redraw(kItemEepromBox, kAllParts);
  drawTimer(timerItem::kAll);
}

template <class Self, const Qv4115Layout& L>
bool Qv4115Model<Self, L>::Window_Command(int id) {
  return clickPin(kPinsA, ports_[0], id, [this] { self().SamplePortA(); }) ||
         clickPin(kPinsB, ports_[1], id, [this] { SamplePortB(); }) ||
         clickPin(kPinsC, ports_[2], id, [this] { SamplePortC(); });
}

template <class Self, const Qv4115Layout& L>
bool Qv4115Model<Self, L>::Window_Scroll(int barId, uint16_t code, int thumb) {
  if (kSupply.scroll(dialog(), barId, code, thumb, supply_)) return true;
  platform::WindowHandle bar = platform::GetDlgItem(dialog(), barId);
  if (barId == kAdcBar1 || barId == kAdcBar2) {
    int pos = platform::GetScrollPos(bar);
    switch (code) {
      case platform::SB_LINEUP: pos -= 1; break;
      case platform::SB_LINEDOWN: pos += 1; break;
      case platform::SB_PAGEUP: pos -= 16; break;
      case platform::SB_PAGEDOWN: pos += 16; break;
      case platform::SB_THUMBTRACK: pos = thumb; break;
      default: break;
    }
    pos = pos < 0 ? 0 : pos > 255 ? 255 : pos;
    platform::SetScrollPos(bar, pos);
    // Every code sets the input from the bar, the initial 0x80 included.
    const int channel = barId == kAdcBar1 ? 1 : 2;
    adc_.setInput(channel, 255 - pos);
    platform::SetDlgItemText(dialog(), channel == 1 ? kAdcText1 : kAdcText2, windowText::Format("%02X", 255u - pos));
    return true;
  }
  return false;
}

}  // namespace qv4115
