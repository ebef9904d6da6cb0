#pragma once
// The QV4111 family window's bodies: the dialog template, the initial state,
// the redraw of each box, the pin buttons and the supply bar. Every box is
// drawn from the model's state and the latch, never through the register
// file. Included by model.h.
#include <platform/dialog_items.h>

namespace qv4111 {

namespace window {

constexpr const char* kBuzzerTexts[4] = {"0 Hz Input", "1024 Hz Input", "2048 Hz Input",
                                         "2667 Hz Input"};
constexpr const char* kPrescalerTexts[4] = {"0 Hz Input", "1 Hz Input", "8 Hz Input",
                                            "32 Hz Input"};
constexpr const char* kTimerSources[8] = {"0 Hz",  "2048 Hz", "512 Hz", "128 Hz",
                                          "32 Hz", "8 Hz",    "1 Hz",   "PA3"};

template <const Qv4111Layout& L>
struct Groups {
  static constexpr simcore::PinGroup kA{L.items.portA, kPortAButton, kPortALed, kPortAMarker};
  static constexpr simcore::PinGroup kB{L.items.portB,         kPortBButton,   kPortBLed, 0, 4,
                                        simcore::kEdgeMarkers, kPortBFunctions};
  static constexpr simcore::PinGroup kC{L.items.portC, kPortCButton, kPortCLed, kPortCMarker};
  static constexpr simcore::PinGroup kD{L.items.portD,         kPortDButton,   kPortDLed, 0, 4,
                                        simcore::kEdgeMarkers, kPortDFunctions};
};

}  // namespace window

// The supply box of QV4111 at the right; a member with more boxes hides it.
template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::addWindowControls(std::vector<platform::ControlTemplate>& c) {
  using platform::ControlKind;
  c.push_back({platform::IDC_STATIC, ControlKind::GroupBox, "Supply", 268, 2, 49, 72});
  c.push_back({kSupply.bar, ControlKind::VScroll, "", 287, 12, 10, 46});
  c.push_back({kSupply.text, ControlKind::Text, "0.00V", 270, 62, 45, 8, platform::kAlignCenter});
}

template <class Self, const Qv4111Layout& L>
const platform::DialogTemplate& Qv4111Model<Self, L>::WindowTemplate() {
  static const platform::DialogTemplate t = [] {
    using platform::ControlKind;
    using G = window::Groups<L>;
    std::vector<platform::ControlTemplate> c;
    simcore::AddPortBox(c, "PortA", G::kA, 4, 2);
    simcore::AddPortBox(c, "PortB", G::kB, 70, 2);
    simcore::AddPortBox(c, "PortC", G::kC, 136, 2);
    simcore::AddPortBox(c, "PortD", G::kD, 202, 2);
    c.push_back({platform::IDC_STATIC, ControlKind::GroupBox, "Buzzer", 4, 62, 62, 28});
    c.push_back({kBuzzerText, ControlKind::Text, window::kBuzzerTexts[0], 8, 74, 56, 8});
    c.push_back({platform::IDC_STATIC, ControlKind::GroupBox, "Prescaler", 4, 94, 62, 28});
    c.push_back({kPrescalerText, ControlKind::Text, window::kPrescalerTexts[0], 8, 106, 56, 8});
    c.push_back({platform::IDC_STATIC, ControlKind::GroupBox, "Timer", 70, 62, 194, 60});
    simcore::AddLed(c, kTimerEnabledLed, platform::IDC_STATIC, "Enabled", 76, 74);
    simcore::AddLed(c, kTimerIrqLed, platform::IDC_STATIC, "IRQ", 76, 86);
    simcore::AddLed(c, kTimerAutoreloadLed, platform::IDC_STATIC, "Autoreload", 76, 98);
    const struct {
      const char* label;
      int id;
      const char* text;
    } kTexts[3] = {{"Input", kTimerSourceText, window::kTimerSources[0]},
                   {"Loaded", kTimerReloadText, "00"},
                   {"Actual", kTimerActualText, "00"}};
    for (int i = 0; i < 3; ++i) {
      c.push_back(
          {platform::IDC_STATIC, ControlKind::Text, kTexts[i].label, 150, 74 + 12 * i, 34, 8});
      c.push_back({kTexts[i].id, ControlKind::Text, kTexts[i].text, 186, 74 + 12 * i, 60, 8});
    }
    Self::addWindowControls(c);
    return platform::DialogTemplate{"Curpos", L.windowWidth, 127, "Courier New", 8, std::move(c)};
  }();
  return t;
}

template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::Window_Redraw(int item, intptr_t parts) {
  using G = window::Groups<L>;
  platform::WindowHandle d = this->dialog();
  if (item == L.items.portA) {
    simcore::DrawPinGroup(d, G::kA, ports_[kA]);
  } else if (item == L.items.portB) {
    simcore::DrawPinGroup(d, G::kB, ports_[kB]);
  } else if (item == L.items.portC) {
    simcore::DrawPinGroup(d, G::kC, ports_[kC]);
  } else if (item == L.items.portD) {
    simcore::DrawPinGroup(d, G::kD, ports_[kD]);
  } else if (item == L.items.buzzer) {
    platform::SetDlgItemText(d, kBuzzerText,
                             window::kBuzzerTexts[this->latch_.value(L.buzzer.frequency)]);
  } else if (item == L.items.prescaler) {
    if (parts & prescalerItem::kText)
      platform::SetDlgItemText(d, kPrescalerText,
                               window::kPrescalerTexts[this->latch_.value(L.prescaler.tap)]);
  } else if (item == L.items.timer) {
    if (parts & timerItem::kSource)
      platform::SetDlgItemText(d, kTimerSourceText, window::kTimerSources[timerSource_ & 7]);
    if (parts & timerItem::kReload)
      platform::SetDlgItemText(d, kTimerReloadText, simcore::HexByteText(timer_.reload()));
    if (parts & timerItem::kActual)
      platform::SetDlgItemText(d, kTimerActualText, simcore::HexByteText(timer_.count()));
    if (parts & timerItem::kEnabled)
      simcore::ShowLed(d, kTimerEnabledLed, this->latch_.test(L.buzzer.timerEnable));
    if (parts & timerItem::kIrq) simcore::ShowLed(d, kTimerIrqLed, irqLed_);
    if (parts & timerItem::kAutoreload)
      simcore::ShowLed(d, kTimerAutoreloadLed, timer_.autoreload());
  }
}

template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::Window_RedrawAll() {
  using G = window::Groups<L>;
  platform::WindowHandle d = this->dialog();
  simcore::DrawPinGroup(d, G::kA, ports_[kA], true);
  simcore::DrawPinGroup(d, G::kB, ports_[kB], true);
  simcore::DrawPinGroup(d, G::kC, ports_[kC], true);
  simcore::DrawPinGroup(d, G::kD, ports_[kD], true);
  Window_Redraw(L.items.buzzer, kAllParts);
  Window_Redraw(L.items.prescaler, kAllParts);
  Window_Redraw(L.items.timer, kAllParts);
}

template <class Self, const Qv4111Layout& L>
bool Qv4111Model<Self, L>::Window_Command(int id) {
  using G = window::Groups<L>;
  return this->clickPin(G::kA, ports_[kA], id, [this] { SamplePortA(); }) ||
         this->clickPin(G::kB, ports_[kB], id, [this] { SamplePortB(); }) ||
         this->clickPin(G::kC, ports_[kC], id, [this] { SamplePortC(); }) ||
         this->clickPin(G::kD, ports_[kD], id, [this] { SamplePortD(); });
}

}  // namespace qv4111
