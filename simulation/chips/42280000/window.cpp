// QV4128's periphery window: the dialog procedure and the redraw items.
#include "window.h"

#include <platform/dialog_items.h>
#include <simcore/periphery_window.h>

#include <cstdio>

namespace qv4128 {

using namespace platform;
namespace pin = periphery::pin;

namespace {

// The window of the module's one chip. It closes itself when the module is
// unloaded (its destructor, whatever the order of the module's statics).
struct WindowState {
  ~WindowState() { frame.close(); }
  simcore::PeripheryWindow frame;
  int speed = 0;      // kept, no effect on the run
  bool sound = false; // kept, no sound is produced
} gWindow;

constexpr const char* kTimer1Inputs[4] = {"512Hz", "1024Hz", "2048Hz", "4096Hz"};
constexpr const char* kTimer2Inputs[4] = {"4Hz", "16Hz", "64Hz", "256Hz"};
constexpr const char* kSerialPinNames[4] = {"IN", "RDY", "OUT", "CLK"};
constexpr const char* kPinNames[4] = {"0", "1", "2", "3"};

Picture Led(bool on) { return on ? Picture::IndicatorOn : Picture::IndicatorOff; }

std::string Hex(int v) {
  char text[8];
  std::snprintf(text, sizeof text, "%X", v & 15);
  return text;
}

void DrawPort(const Chip& chip, WindowHandle d, int p) {
  const periphery::Port& port = chip.port(p);
  for (int i = 0; i < 4; ++i) {
    const uint32_t w = port.word(i);
    const int button = kFirstPinButton[p] + i;
    SetDlgItemPicture(d, button + kLedOffset, (w & pin::kLevel) ? Picture::PinHigh : Picture::PinLow);
    if (p < 2) {
      const Picture marker = !(w & pin::kMarker)      ? Picture::None
                             : (w & pin::kMarkerKind) ? Picture::MarkerRising
                                                      : Picture::MarkerNone;
      SetDlgItemPicture(d, button + kMarkerOffset, marker);
    }
    SetDlgItemText(d, button, simcore::PinText(w));
    if (p == 4) SetDlgItemText(d, kPort5Labels[i], chip.serialFunction() ? kSerialPinNames[i] : kPinNames[i]);
  }
}

void Draw(const Chip& chip, WindowHandle d, int item, intptr_t mask) {
  switch (item) {
    case kItemPort1: case kItemPort2: case kItemPort3: case kItemPort4: case kItemPort5:
      DrawPort(chip, d, item - kItemPort1);
      break;
    case kItemPrescaler:
      if (mask & prescalerItem::k1Hz) SetDlgItemPicture(d, kOneHzLed, Led(chip.enables1() & 1));
      if (mask & prescalerItem::kIrq) SetDlgItemPicture(d, kPrescalerLed, Led(chip.enables1() & 2));
      SetDlgItemText(d, 1152, chip.prescaler32Hz() ? "32Hz IRQ" : "64Hz IRQ");
      break;
    case kItemWatchdog:
      SetDlgItemPicture(d, kWatchdogLed, Led(!chip.watchdogOff()));
      SetDlgItemText(d, 1197, chip.watchdogOff() ? "disabled" : "enabled");
      break;
    case kItemTimer1: {
      const periphery::DownTimer4& t = chip.timer1();
      if (mask & timer1::kRunning) SetDlgItemPicture(d, 1085, Led(t.running()));
      if (mask & timer1::kEnable) SetDlgItemPicture(d, 1087, Led(chip.enables1() & 4));
      if (mask & timer1::kZeroStop) SetDlgItemPicture(d, 1086, Led(!t.autoReload()));
      if (mask & timer1::kSync) SetDlgItemPicture(d, 1088, Led(chip.timer1Synchronous()));
      if (mask & timer1::kAutoReload) SetDlgItemPicture(d, 1089, Led(t.autoReload()));
      if (mask & timer1::kInput) SetDlgItemText(d, 1176, kTimer1Inputs[t.input()]);
      if (mask & timer1::kStart) SetDlgItemText(d, 1175, Hex(t.start()));
      break;
    }
    case kItemTimer2: {
      const periphery::DownTimer4& t = chip.timer2();
      if (mask & timer2::kRunning) SetDlgItemPicture(d, 1090, Led(t.running()));
      if (mask & timer2::kEnable) SetDlgItemPicture(d, 1091, Led(chip.enables1() & 8));
      if (mask & timer2::kZeroStop) SetDlgItemPicture(d, 1092, Led(!t.autoReload()));
      if (mask & timer2::kAutoReload) SetDlgItemPicture(d, 1093, Led(t.autoReload()));
      if (mask & timer2::kInput) SetDlgItemText(d, 1185, kTimer2Inputs[t.input()]);
      if (mask & timer2::kStart) SetDlgItemText(d, 1184, Hex(t.start()));
      break;
    }
    case kItemMelody: {
      const int control = chip.melodyControl();
      if (mask & melodyItem::kEnabled) SetDlgItemPicture(d, kMelodyEnabledLed, Led(control & 1));
      if (mask & melodyItem::kFrequency) {
        char text[32];
        std::snprintf(text, sizeof text, "%.3f", chip.melodyFrequency());
        SetDlgItemText(d, 1094, text);
      }
      if (mask & melodyItem::kEnvelope) SetDlgItemPicture(d, 1095, Led(control & 2));
      if (mask & melodyItem::kImage) {
        Picture image = Picture::MelodyOff;
        if (control & 1) image = (control & 6) == 2 ? Picture::Melody1
                                 : (control & 6) == 6 ? Picture::Melody2
                                                      : Picture::Melody3;
        SetDlgItemPicture(d, kMelodyImage, image);
      }
      break;
    }
    case kItemSound:
      SetDlgItemPicture(d, kSoundLed, Led(gWindow.sound));
      break;
    default:
      break;
  }
}

void DrawAll(const Chip& chip, WindowHandle d) {
  for (int p = 0; p < 5; ++p) Draw(chip, d, kItemPort1 + p, 0);
  Draw(chip, d, kItemPrescaler, prescalerItem::kAll);
  Draw(chip, d, kItemWatchdog, 1);
  Draw(chip, d, kItemTimer1, timer1::kAll);
  Draw(chip, d, kItemTimer2, timer2::kAll);
  Draw(chip, d, kItemMelody, melodyItem::kAll);
  Draw(chip, d, kItemSound, 1);
}

// The speed bar: line steps of 1, page steps of 10, thumb tracking.
void Scroll(WindowHandle d, uintptr_t wParam) {
  int pos = gWindow.speed;
  switch (LOWORD(wParam)) {
    case SB_LINEUP: pos -= 1; break;
    case SB_LINEDOWN: pos += 1; break;
    case SB_PAGEUP: pos -= 10; break;
    case SB_PAGEDOWN: pos += 10; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = HIWORD(wParam); break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = 1000; break;
    default: return;
  }
  gWindow.speed = pos < 0 ? 0 : pos > 1000 ? 1000 : pos;
  SetScrollPos(GetDlgItem(d, kSpeedBar), gWindow.speed);
}

}  // namespace

intptr_t Chip::CurposDlg(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case WM_INITDIALOG:
      registers_ = nullptr;
      SetScrollRange(GetDlgItem(window, kSpeedBar), 0, 1000);
      SetScrollPos(GetDlgItem(window, kSpeedBar), gWindow.speed);
      CheckRadioButton(window, kFirstEffect, kLastEffect, kFirstEffect);
      SetDlgItemText(window, kSoundButton, gWindow.sound ? "ON" : "OFF");
      DrawAll(*this, window);
      return 1;
    case WM_PAINT:
      if (window != nullptr) DrawAll(*this, window);
      return 1;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      for (int p = 0; p < 5; ++p)
        if (id >= kFirstPinButton[p] && id < kFirstPinButton[p] + 4) {
          clickPin(p, id - kFirstPinButton[p]);
          return 1;
        }
      if (id == kSoundButton) {
        gWindow.sound = !gWindow.sound;
        if (window != nullptr) SetDlgItemText(window, kSoundButton, gWindow.sound ? "ON" : "OFF");
        post(kItemSound, 1);
        return 1;
      }
      return 0;
    }
    case WM_VSCROLL:
      if (window != nullptr && GetDlgCtrlID(reinterpret_cast<WindowHandle>(lParam)) == kSpeedBar) {
        Scroll(window, wParam);
        return 1;
      }
      return 0;
    case WM_USER:
      if (window != nullptr && !gWindow.frame.hidden()) Draw(*this, window, static_cast<int>(wParam), lParam);
      return 1;
    default:
      return 0;
  }
}

// Redraw requests coalesce per item until the window draws them.
void Chip::post(int item, intptr_t data) {
  if (WindowHandle d = gWindow.frame.dialog()) PostCoalescedMessage(d, WM_USER, item, data);
}

int32_t Chip::InitInterface(void* hostWindow) {
  return gWindow.frame.open(
      hostWindow, DialogTemplate(), "QV4128 Periphery",
      [this](WindowHandle w, uint32_t m, uintptr_t wp, intptr_t lp) { return CurposDlg(w, m, wp, lp); });
}

// The window closes with the module's statics (WindowState).
void Chip::ModuleDetach() {}

}  // namespace qv4128
