// QV4128's periphery window: the redraw of each box, pin and sound buttons,
// the speed bar.
#include "window.h"

#include <platform/dialog_items.h>

#include <cstdio>
#include <string>

namespace qv4128 {

using namespace platform;
using simcore::ShowLed;

namespace {

constexpr const char* kTimer1Inputs[4] = {"512Hz", "1024Hz", "2048Hz", "4096Hz"};
constexpr const char* kTimer2Inputs[4] = {"4Hz", "16Hz", "64Hz", "256Hz"};
constexpr const char* kSerialPinNames[4] = {"IN", "RDY", "OUT", "CLK"};
constexpr const char* kPinNames[4] = {"0", "1", "2", "3"};
// The speed bar: line steps of 1, page steps of 10, thumb, top and bottom.
constexpr simcore::ScrollSteps kSpeedSteps{0, 1000, 1, 10, true};

std::string Hex(int v) {
  char text[8];
  std::snprintf(text, sizeof text, "%X", v & 15);
  return text;
}

}  // namespace

void Chip::Window_Init(WindowHandle d) {
  SetScrollRange(GetDlgItem(d, kSpeedBar), kSpeedSteps.minimum, kSpeedSteps.maximum);
  SetScrollPos(GetDlgItem(d, kSpeedBar), speed_);
  CheckRadioButton(d, kFirstEffect, kLastEffect, kFirstEffect);
  SetDlgItemText(d, kSoundButton, sound_ ? "ON" : "OFF");
  drawAll(d);
}

void Chip::draw(WindowHandle d, int item, intptr_t parts) {
  switch (item) {
    case kItemPort1: case kItemPort2: case kItemPort3: case kItemPort4: case kItemPort5: {
      const int p = item - kItemPort1;
      simcore::DrawPinGroup(d, kPinGroups[p], ports_[p], true);
      if (item == kItemPort5)
        for (int i = 0; i < 4; ++i) SetDlgItemText(d, kPort5Labels[i], serialFunction() ? kSerialPinNames[i] : kPinNames[i]);
      break;
    }
    case kItemPrescaler:
      if (parts & prescalerItem::k1Hz) ShowLed(d, kOneHzLed, latch_.test(L.irq.oneHzEnable));
      if (parts & prescalerItem::kIrq) ShowLed(d, kPrescalerLed, latch_.test(L.irq.prescalerEnable));
      SetDlgItemText(d, kPrescalerText, prescaler32Hz() ? "32Hz IRQ" : "64Hz IRQ");
      break;
    case kItemWatchdog:
      ShowLed(d, kWatchdogLed, !watchdog_.off());
      SetDlgItemText(d, kWatchdogText, watchdog_.off() ? "disabled" : "enabled");
      break;
    case kItemTimer1:
      if (parts & timer1::kRunning) ShowLed(d, kTimer1RunningLed, timer1_.running());
      if (parts & timer1::kEnable) ShowLed(d, kTimer1EnabledLed, latch_.test(L.irq.timer1Enable));
      if (parts & timer1::kZeroStop) ShowLed(d, kTimer1ZeroStopLed, !timer1_.autoReload());
      if (parts & timer1::kSync) ShowLed(d, kTimer1SyncLed, timer1Sync_);
      if (parts & timer1::kAutoReload) ShowLed(d, kTimer1AutoReloadLed, timer1_.autoReload());
      if (parts & timer1::kInput) SetDlgItemText(d, kTimer1InputText, kTimer1Inputs[timer1_.input()]);
      if (parts & timer1::kStart) SetDlgItemText(d, kTimer1StartText, Hex(timer1_.start()));
      break;
    case kItemTimer2:
      if (parts & timer2::kRunning) ShowLed(d, kTimer2RunningLed, timer2_.running());
      if (parts & timer2::kEnable) ShowLed(d, kTimer2EnabledLed, latch_.test(L.irq.timer2Enable));
      if (parts & timer2::kZeroStop) ShowLed(d, kTimer2ZeroStopLed, !timer2_.autoReload());
      if (parts & timer2::kAutoReload) ShowLed(d, kTimer2AutoReloadLed, timer2_.autoReload());
      if (parts & timer2::kInput) SetDlgItemText(d, kTimer2InputText, kTimer2Inputs[timer2_.input()]);
      if (parts & timer2::kStart) SetDlgItemText(d, kTimer2StartText, Hex(timer2_.start()));
      break;
    case kItemMelody: {
      if (parts & melodyItem::kEnabled) ShowLed(d, kMelodyEnabledLed, latch_.test(L.melody.enabled));
      if (parts & melodyItem::kFrequency) {
        char text[32];
        std::snprintf(text, sizeof text, "%.3f", melody_.frequency());
        SetDlgItemText(d, kMelodyFrequencyText, text);
      }
      if (parts & melodyItem::kEnvelope) ShowLed(d, kMelodyEnvelopeLed, latch_.test(L.melody.envelope));
      if (parts & melodyItem::kImage) {
        Picture image = Picture::MelodyOff;
        const int sound = latch_.value(L.melody.sound);
        if (latch_.test(L.melody.enabled))
          image = sound == 1 ? Picture::Melody1 : sound == 3 ? Picture::Melody2 : Picture::Melody3;
        SetDlgItemPicture(d, kMelodyImage, image);
      }
      break;
    }
    case kItemSound:
      ShowLed(d, kSoundLed, sound_);
      break;
    default:
      break;
  }
}

void Chip::drawAll(WindowHandle d) {
  for (int p = 0; p < 5; ++p) draw(d, kItemPort1 + p, 0);
  draw(d, kItemPrescaler, prescalerItem::kAll);
  draw(d, kItemWatchdog, 1);
  draw(d, kItemTimer1, timer1::kAll);
  draw(d, kItemTimer2, timer2::kAll);
  draw(d, kItemMelody, melodyItem::kAll);
  draw(d, kItemSound, 1);
}

bool Chip::Window_Command(int id) {
  for (int p = 0; p < 5; ++p)
    if (kPinGroups[p].pinOf(id) >= 0) return clickPin(kPinGroups[p], ports_[p], id, [this, p] { samplePort(p); });
  if (id != kSoundButton) return false;
  sound_ = !sound_;
  if (dialog() != nullptr) SetDlgItemText(dialog(), kSoundButton, sound_ ? "ON" : "OFF");
  postRedraw(kItemSound, 1);
  return true;
}

bool Chip::Window_Scroll(int barId, uint16_t code, int thumb) {
  if (barId != kSpeedBar) return false;
  if (const std::optional<int> next = simcore::ScrollTarget(kSpeedSteps, speed_, code, thumb)) {
    speed_ = *next;
    SetScrollPos(GetDlgItem(dialog(), kSpeedBar), speed_);
  }
  return true;
}

}  // namespace qv4128
