// QV4234's periphery window: the redraw items, the pin buttons, the two
// voltage sliders (position 0 at the top) and the option words.
#include "window.h"

#include <platform/dialog_items.h>
#include <simcore/periphery_window.h>

#include <cstdio>

#include "qv4234.h"

namespace qv4234 {

using namespace platform;
namespace pin = periphery::pin;

namespace {

constexpr const char* kTimerInputs[7] = {"PA0", "16KHz", "2KHz", "512Hz", "128Hz", "8Hz", "1Hz"};
constexpr const char* kWidths[4] = {"10", "8", "6", "4"};

std::string Volts(int hundredths) {
  char text[32];
  const unsigned v = hundredths < 0 ? 0u : static_cast<unsigned>(hundredths);
  std::snprintf(text, sizeof text, "%u.%02u V", v / 100, v % 100);
  return text;
}

std::string Hex(int v) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", v);
  return text;
}

}  // namespace

// The sliders and the option words, from the model (also after the options
// change while the window is open).
void Chip::Window_Init(WindowHandle d) {
  const int top = params_[kFieldSliderTop];
  const int bars[2] = {kAdcSlider, kSupplySlider};
  const int labels[2] = {kAdcLabel, kSupplyLabel};
  const int fields[2] = {kFieldAdcVoltage, kFieldSupplyVoltage};
  for (int i = 0; i < 2; ++i) {
    SetScrollRange(GetDlgItem(d, bars[i]), 0, top);
    SetScrollPos(GetDlgItem(d, bars[i]), top - params_[fields[i]]);
    SetDlgItemText(d, labels[i], Volts(params_[fields[i]]));
  }
  Window_Redraw(kItemOptions, 0);
}

void Chip::Window_Redraw(int item, intptr_t parts) {
  WindowHandle d = dialog();
  if (d == nullptr) return;
  switch (item) {
    case kItemPortA:
      for (int p = 0; p < kPins; ++p) {
        const uint32_t w = port_.word(p);
        const int button = kFirstPinButton + p;
        simcore::ShowPinLed(d, button + kPinLedOffset, (w & pin::kLevel) != 0);
        SetDlgItemPicture(d, button + kPinMarkerOffset,
                          (w & pin::kMarker) ? simcore::kEdgeMarkers[(w & pin::kMarkerKind) >> 4] : Picture::None);
        port_.takeRefresh(p);
        SetDlgItemText(d, button, (w & pin::kDriven) ? FunctionText(function_[p]) : simcore::PinText(w));
      }
      break;
    case kItemComparator:
      if (parts & comparatorItem::kMode) simcore::ShowLed(d, kModeLed, comparator_.continuous());
      if (parts & comparatorItem::kChannel) simcore::ShowLed(d, kChannelLed, channelAdc_);
      break;
    case kItemPrescaler:
      if (parts & prescalerItem::kLabel)
        SetDlgItemText(d, kPrescalerLabel, latch_.test(L.control.fast64Hz) ? "64 Hz IRQ" : "8 Hz IRQ");
      if (parts & prescalerItem::kEnables) {
        simcore::ShowLed(d, kPrescalerLed, latch_.test(L.irq.prescalerEnable));
        simcore::ShowLed(d, kOneHzLed, latch_.test(L.irq.oneHzEnable));
      }
      break;
    case kItemTimer: {
      const Timer& t = timer_;
      const int mask = latch_.test(L.control.fullCompare) ? Timer::kMask : t.widthMask();
      if (parts & timerItem::kEndEnable) simcore::ShowLed(d, kEndEnableLed, latch_.test(L.irq.endEnable));
      if (parts & timerItem::kCompareEnable) simcore::ShowLed(d, kCompareEnableLed, latch_.test(L.irq.compareEnable));
      if (parts & timerItem::kRun) simcore::ShowLed(d, kRunLed, t.running());
      if (parts & timerItem::kPwm) simcore::ShowLed(d, kPwmLed, latch_.test(L.ports.pwm));
      if (parts & timerItem::kCompareOn) simcore::ShowLed(d, kCompareOnLed, t.compareEnabled());
      if (parts & timerItem::kInput) {
        char text[16];
        if (timerInput_ < 7)
          std::snprintf(text, sizeof text, "%s", kTimerInputs[timerInput_]);
        else if (latch_.test(L.control.rcClock))
          std::snprintf(text, sizeof text, "RC/%d", rcPeriod());
        else
          std::snprintf(text, sizeof text, "%s", latch_.test(L.ports.int1FromPa4) ? "PA4" : "PA3");
        SetDlgItemText(d, kInputText, text);
      }
      if (parts & timerItem::kDirection) SetDlgItemText(d, kDirectionText, t.up() ? "+1" : "-1");
      if (parts & timerItem::kCompare) SetDlgItemText(d, kCompareText, Hex(t.value() & mask));
      if (parts & timerItem::kWidth) SetDlgItemText(d, kWidthText, kWidths[(10 - t.width()) / 2]);
      if (parts & timerItem::kCounter) SetDlgItemText(d, kCounterText, Hex(t.count() & t.widthMask()));
      break;
    }
    case kItemOptions:
      for (int i = 0; i < 4; ++i) {
        char text[16];
        std::snprintf(text, sizeof text, "%02x", options_.word[i]);
        SetDlgItemText(d, kFirstOptionText + i, text);
      }
      break;
    default:
      break;
  }
}

void Chip::Window_RedrawAll() {
  Window_Redraw(kItemPortA, kFirstPinButton);
  Window_Redraw(kItemComparator, comparatorItem::kAll);
  Window_Redraw(kItemPrescaler, prescalerItem::kAll);
  Window_Redraw(kItemTimer, timerItem::kAll);
  Window_Redraw(kItemOptions, 0);
}

bool Chip::Window_Command(int id) {
  const int p = id - kFirstPinButton;
  if (p < 0 || p >= kPins) return false;
  if (clickPinA(p) && dialog() != nullptr && port_.takeRefresh(p))
    SetDlgItemText(dialog(), id, simcore::PinText(port_.word(p)));
  return true;
}

// Position p (0 at the top) is the voltage field 10 - p; line steps of 1,
// page steps of 10, thumb tracking.
bool Chip::Window_Scroll(int barId, uint16_t code, int thumb) {
  if (barId != kAdcSlider && barId != kSupplySlider) return false;
  const bool adc = barId == kAdcSlider;
  const int top = params_[kFieldSliderTop];
  const int voltage = params_[adc ? kFieldAdcVoltage : kFieldSupplyVoltage];
  const std::optional<int> next = simcore::ScrollTarget({0, top, 1, 10}, top - voltage, code, thumb);
  if (!next) return true;
  if (adc)
    setAdcVoltage(top - *next);
  else
    setSupplyVoltage(top - *next);
  WindowHandle d = dialog();
  SetScrollPos(GetDlgItem(d, barId), *next);
  SetDlgItemText(d, adc ? kAdcLabel : kSupplyLabel, Volts(top - *next));
  return true;
}

}  // namespace qv4234
