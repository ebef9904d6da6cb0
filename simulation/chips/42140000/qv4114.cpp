// QV4114's own part: port E, the buzzer pin, the comparator on PE1, the
// comparator request in 109 and the software reset.
#include "qv4114.h"

#include <platform/messagebox.h>

namespace qv4114 {

using periphery::Cells;
constexpr int kInterruptControl = kQv4114.irq.control.reg;
constexpr simcore::Field kRequest = kExtras.comparatorRequest, kOutput = kExtras.comparatorOutput;

int Qv4114::onRead(int n) {
  if (n != kInterruptControl) return Base::onRead(n);
  Cells c = cells();
  const int v = c.value(kInterruptControl);
  c.clearBits(kRequest.reg, kRequest.mask);
  return v;
}

void Qv4114::onWrite(int n, int v, int old) {
  Cells c = cells();
  switch (n) {
    case kExtras.portE.reg:
      writePortE(v);
      break;
    case kExtras.portEDirection.reg:
      writePortEDirection(v);
      break;
    case kInterruptControl:
      // Bits 0, 1 and 3 are stored; the request (bit 2) is cleared by a 1.
      c.setMasked(kInterruptControl, 15 & ~kRequest.mask, v);
      c.clearBits(kRequest.reg, v & kRequest.mask);
      if ((v ^ old) & kExtras.comparatorIrq.mask) {
        comparator_.interruptEnable = (v & kExtras.comparatorIrq.mask) != 0;
        post(kQv4114.items.comparator, comparatorItem::kInterruptEnable);
      }
      break;
    case kExtras.comparator.reg:
      writeComparator(v, old);
      break;
    default:
      Base::onWrite(n, v, old);
      break;
  }
}

// Bits 0-1 are stored; bit 3 asks for a reset after the next tick. While PE1
// is an input, switching bit 0 on makes it the comparator's input ("COMP",
// level 0) and switching it off releases it ("L", level 0). Switching the
// comparator off keeps its output and validity.
void Qv4114::writeComparator(int v, int old) {
  Cells c = cells();
  const Field settings = kExtras.comparatorSettings;
  c.setMasked(settings.reg, settings.mask, v);
  if (kExtras.softwareReset.setIn(v)) resetRequest_ = true;
  comparator_.active = kExtras.comparatorOnPe1.setIn(v) && kExtras.comparatorRun.setIn(v);
  if (kExtras.comparatorOnPe1.setIn(v ^ old) && !test(c, kExtras.portEDirection.bits(2))) {
    portE_.setFunction(1, kExtras.comparatorOnPe1.setIn(v));
    portE_.setLevel(1, false);
    post(kQv4114.items.portE, kPortEButton);
  }
  post(kQv4114.items.comparator, comparatorItem::kActive);
}

// The first evaluation, at a 128 Hz step after the comparator was switched
// on: no request.
void Qv4114::detectorStep() {
  if (!comparator_.active || comparator_.valid) return;
  comparator_.output = supply_ < threshold_;
  comparator_.valid = true;
  cells().setMasked(kOutput.reg, kOutput.mask, comparator_.output ? 15 : 0);
}

// A change of the output is a request.
void Qv4114::evaluateComparator() {
  if (!comparator_.active || !comparator_.valid) return;
  const bool output = supply_ < threshold_;
  if (output == comparator_.output) return;
  comparator_.output = output;
  Cells c = cells();
  c.setMasked(kOutput.reg, kOutput.mask, output ? 15 : 0);
  if (comparator_.interruptEnable) c.setBits(kRequest.reg, kRequest.mask);
}

void Qv4114::resetExtras() {
  portE_.reset(periphery::pin::kRefresh);
  latchE_ = 0;
  comparator_ = Comparator{};
  evaluationCountdown_ = (prescaler_.count() & 1) != 0 ? kEvaluationTicks - 1 : kEvaluationTicks;
}

// ---- Buzzer.

Qv4114::BuzzerPin Qv4114::buzzerPin() {
  if (test(cells(), kExtras.buzzerPin)) return {&portE_, kQv4114.items.portE};
  return Base::buzzerPin();
}

void Qv4114::buzzerReleased(BuzzerPin pin) {
  platform::BeepTone(kBeepFrequency, kBeepMs);
  if (pin.port != &portE_) return Base::buzzerReleased(pin);
  drivePin(portE_, 0, test(cells(), kExtras.portEDirection.bits(1)), latchE_ & 1);
}

// ---- Port E: per-pin direction as port B; pin 0 stays with the buzzer
// while it is on.

void Qv4114::writePortEDirection(int value) {
  for (int p = buzzerOn_ ? 1 : 0; p < 4; ++p)
    drivePin(portE_, p, (value >> p) & 1, (latchE_ >> p) & 1);
  post(kQv4114.items.portE, kPortEButton);
}

void Qv4114::writePortE(int value) {
  Cells c = cells();
  latchE_ = value;
  const int direction = c.value(kExtras.portEDirection.reg);
  for (int p = buzzerOn_ ? 1 : 0; p < 4; ++p) {
    if (!((direction >> p) & 1)) continue;
    portE_.setLevel(p, (value >> p) & 1);
    c.setMasked(kExtras.portE.reg, 1 << p, value);
  }
  post(kQv4114.items.portE, kPortEButton);
}

void Qv4114::SamplePortE() {
  Cells c = cells();
  if (!c.valid()) return;
  c.set(kExtras.portE.reg, portE_.levels());
  portE_.takeEdges([](periphery::PinEdge) {});
}

// ---- Window: port E and the supply with the comparator at the right.

void Qv4114::addWindowControls(std::vector<platform::ControlTemplate>& c) {
  using platform::ControlKind;
  simcore::AddPortBox(c, "PortE", kPinsE, 268, 2);
  c.push_back({platform::IDC_STATIC, ControlKind::GroupBox, "Supply/PE1Comp", 334, 2, 87, 72});
  c.push_back({qv4111::kSupply.bar, ControlKind::VScroll, "", 340, 12, 10, 46});
  c.push_back(
      {qv4111::kSupply.text, ControlKind::Text, "0.00V", 336, 62, 30, 8, platform::kAlignCenter});
  simcore::AddLed(c, kComparatorLed, platform::IDC_STATIC, "COMP", 356, 20, 40);
  simcore::AddLed(c, kComparatorIrqLed, platform::IDC_STATIC, "IRQ COMP", 356, 34, 40);
}

void Qv4114::Window_Redraw(int item, intptr_t parts) {
  platform::WindowHandle d = dialog();
  if (item == kQv4114.items.portE) {
    simcore::DrawPinGroup(d, kPinsE, portE_);
  } else if (item == kQv4114.items.comparator) {
    if (parts & comparatorItem::kActive) simcore::ShowLed(d, kComparatorLed, comparator_.active);
    if (parts & comparatorItem::kInterruptEnable)
      simcore::ShowLed(d, kComparatorIrqLed, comparator_.interruptEnable);
  } else {
    Base::Window_Redraw(item, parts);
  }
}

void Qv4114::Window_RedrawAll() {
  Base::Window_RedrawAll();
  simcore::DrawPinGroup(dialog(), kPinsE, portE_, true);
  Window_Redraw(kQv4114.items.comparator, qv4111::kAllParts);
}

bool Qv4114::Window_Command(int id) {
  return Base::Window_Command(id) || clickPin(kPinsE, portE_, id, [this] { SamplePortE(); });
}

}  // namespace qv4114
