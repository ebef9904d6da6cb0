// QV4112's periphery window: the dialog template, the redraw of each box
// and the pin buttons (the supply bar is the family's). Port B has no
// buttons; item 3 draws nothing.
#include <platform/dialog_items.h>

#include <vector>

#include "qv4112.h"

namespace qv4112 {

using namespace platform;
// The family's control ids.
using qv4111::kPrescalerText;
using qv4111::kSupply;
using qv4111::kTimerActualText;
using qv4111::kTimerAutoreloadLed;
using qv4111::kTimerEnabledLed;
using qv4111::kTimerIrqLed;
using qv4111::kTimerReloadText;
using qv4111::kTimerSourceText;

namespace {

constexpr const char* kPrescalerTexts[4] = {"0 Hz Input", "2 Hz Input", "8 Hz Input",
                                            "128 Hz Input"};
constexpr const char* kTimerSources[4] = {"256 Hz", "32 Hz", "8 Hz", "2 Hz"};
constexpr Picture kBuzzerPictures[4] = {Picture::MelodyOff, Picture::Melody1, Picture::Melody2,
                                        Picture::Melody3};

std::vector<ControlTemplate> controls() {
  std::vector<ControlTemplate> c;
  simcore::AddPortBox(c, "PortA", kPinsA, 4, 2, kPortALabel);
  simcore::AddPortBox(c, "PortB", kPinsB, 70, 2, kPortBLabel);
  simcore::AddPortBox(c, "PortC", kPinsC, 136, 2);
  c.push_back({IDC_STATIC, ControlKind::GroupBox, "Buzzer", 202, 2, 50, 48});
  c.push_back({kBuzzerPicture, ControlKind::Place, "", 212, 14, 30, 30});
  c.push_back({IDC_STATIC, ControlKind::GroupBox, "Supply", 256, 2, 54, 72});
  c.push_back({kSupply.bar, ControlKind::VScroll, "", 278, 12, 10, 46});
  c.push_back({kSupply.text, ControlKind::Text, "0.00V", 258, 62, 50, 8, kAlignCenter});
  c.push_back({IDC_STATIC, ControlKind::GroupBox, "Prescaler", 4, 62, 62, 40});
  c.push_back({kPrescalerText, ControlKind::Text, kPrescalerTexts[0], 8, 74, 56, 8});
  simcore::AddLed(c, kPrescalerLed, IDC_STATIC, "IRQ", 8, 88);
  c.push_back({IDC_STATIC, ControlKind::GroupBox, "Timer", 70, 62, 182, 60});
  simcore::AddLed(c, kTimerEnabledLed, IDC_STATIC, "Enabled", 76, 74);
  simcore::AddLed(c, kTimerIrqLed, IDC_STATIC, "IRQ", 76, 86);
  simcore::AddLed(c, kTimerAutoreloadLed, IDC_STATIC, "Autoreload", 76, 98);
  const struct {
    const char* label;
    int id;
    const char* text;
  } kTexts[3] = {{"Input", kTimerSourceText, kTimerSources[0]},
                 {"Loaded", kTimerReloadText, "00"},
                 {"Actual", kTimerActualText, "00"}};
  for (int i = 0; i < 3; ++i) {
    c.push_back({IDC_STATIC, ControlKind::Text, kTexts[i].label, 150, 74 + 12 * i, 34, 8});
    c.push_back({kTexts[i].id, ControlKind::Text, kTexts[i].text, 186, 74 + 12 * i, 60, 8});
  }
  return c;
}

}  // namespace

const DialogTemplate& Qv4112::WindowTemplate() {
  static const DialogTemplate t{"Curpos", 314, 126, "Courier New", 8, controls()};
  return t;
}

void Qv4112::Window_Redraw(int item, intptr_t parts) {
  WindowHandle d = dialog();
  switch (item) {
    case kItemPortA:
      simcore::DrawPinGroup(d, kPinsA, ports_[0]);
      break;
    case kItemPortB:
      simcore::DrawPinGroup(d, kPinsB, ports_[1]);
      break;
    case kItemPortC:
      simcore::DrawPinGroup(d, kPinsC, ports_[2]);
      break;
    case kItemBuzzer:
      SetDlgItemPicture(d, kBuzzerPicture, kBuzzerPictures[shown_.buzzer & 3]);
      break;
    case kItemPrescaler:
      if (parts & prescalerItem::kText)
        SetDlgItemText(d, kPrescalerText, kPrescalerTexts[shown_.prescalerText & 3]);
      if (parts & prescalerItem::kLed) simcore::ShowLed(d, kPrescalerLed, shown_.prescalerLed);
      break;
    case kItemTimer:
      if (parts & timerItem::kSource)
        SetDlgItemText(d, kTimerSourceText, kTimerSources[shown_.timerSource & 3]);
      if (parts & timerItem::kReload)
        SetDlgItemText(d, kTimerReloadText, simcore::HexByteText(timer_.reload()));
      if (parts & timerItem::kActual)
        SetDlgItemText(d, kTimerActualText, simcore::HexByteText(timer_.count()));
      if (parts & timerItem::kEnabled) simcore::ShowLed(d, kTimerEnabledLed, shown_.timerEnabled);
      if (parts & timerItem::kIrq) simcore::ShowLed(d, kTimerIrqLed, shown_.timerIrq);
      if (parts & timerItem::kAutoreload)
        simcore::ShowLed(d, kTimerAutoreloadLed, shown_.timerAutoreload);
      break;
    default:
      break;  // item 3 draws nothing
  }
}

void Qv4112::Window_RedrawAll() {
  WindowHandle d = dialog();
  simcore::DrawPinGroup(d, kPinsA, ports_[0], true);
  simcore::DrawPinGroup(d, kPinsB, ports_[1], true);
  simcore::DrawPinGroup(d, kPinsC, ports_[2], true);
  for (int item = kItemBuzzer; item <= kItemTimer; ++item) Window_Redraw(item, kAllParts);
}

bool Qv4112::Window_Command(int id) {
  return clickPin(kPinsA, ports_[0], id, [this] { SamplePortA(); }) ||
         clickPin(kPinsC, ports_[2], id, [this] { SamplePortC(); });
}

}  // namespace qv4112
