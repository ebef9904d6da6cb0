#pragma once
// The QV4117 family model's bodies: the registers it has beyond QV4124 or
// treats otherwise, the millisecond counter, port A without debounce, the
// supply detector's level, the third LCD bank, and its window. Included by
// model.h.
#include <platform/dialog_items.h>

namespace qv4117 {

namespace ms = periphery::millisecond;

// ---- Registers.

template <class Self, const qv4124::Qv4124Layout& L, const Options& O>
int Qv4117Model<Self, L, O>::onRead(int n) {
  if (n != kMsStatus.reg) return Model::onRead(n);
  periphery::Cells c = cells();
  const int v = c.value(n);
  c.clearBits(n, ms::kOverflow);
  ms_.clearOverflow();
  postRedraw(kItemMillisecond, millisecondPart::kCount);
  return v;
}

template <class Self, const qv4124::Qv4124Layout& L, const Options& O>
void Qv4117Model<Self, L, O>::onWrite(int n, int v, int old) {
  periphery::Cells c = cells();
  switch (n) {
    case L.lcd.bank0.reg: bankWrite(0, v); break;
    case L.lcd.bank1.reg: bankWrite(1, v); break;
    case kLcdBank2.reg: bankWrite(2, v); break;
    case L.ram2.page.reg:
      // Bank 2 holds addresses 0-7; at 8-15 register 70 keeps its value.
      Model::onWrite(n, v, old);
      if (v < kBank2Addresses) c.set(kLcdBank2.reg, bank2_.at(v));
      return;
    case L.lcd.mode.reg:
      // Both calls at every change, whatever register 113 holds.
      if (v != old) {
        const bool off = L.lcd.off.setIn(v), mux15 = L.lcd.mux15.setIn(v);
        lcd_.setMode(off ? 0 : 1, mux15 ? 15 : 7);
        this->lcdState_ = (mux15 ? 1 : 0) | (off ? 2 : 0);
      }
      break;
    case kMsControl.reg:
      ms_.writeControl(v, old);
      postRedraw(kItemMillisecond, millisecondPart::kStart | millisecondPart::kStop | millisecondPart::kEnabled);
      break;
    case kMsStatus.reg:
      postRedraw(kItemMillisecond, millisecondPart::kStart | millisecondPart::kStop | millisecondPart::kInterval);
      break;
    case kMsUnits.reg:
    case kMsUnits.reg + 1:
    case kMsUnits.reg + 2:
      ms_.setDigit(n - kMsUnits.reg, v);
      postRedraw(kItemMillisecond, millisecondPart::kDigits);
      break;
    case L.irq.unitEnables.reg:
      postRedraw(kItemMillisecond, millisecondPart::kIrq);
      Model::onWrite(n, v, old);
      return;
    case L.power.sleepWatchdog.reg:
      // Not stored; every write with bit 3 clears the watchdog.
      if (L.power.watchdogClear.setIn(v)) this->watchdog_.clear();
      break;
    case L.supply.control.reg: break;
    default: Model::onWrite(n, v, old); return;
  }
  self().refreshActivity();
}

// Banks 0 and 1 at 16 x bank + address; bank 2 only while the address is
// below 8 (else nothing is stored or sent). No general-purpose outputs.
template <class Self, const qv4124::Qv4124Layout& L, const Options& O>
void Qv4117Model<Self, L, O>::bankWrite(int bank, int nibble) {
  const int address = reg(L.ram2.page.reg);
  if (bank == 2) {
    if (address >= kBank2Addresses) return;
    cells().set(kLcdBank2.reg, nibble);
    bank2_.set(address, nibble);
    lcd_.setSegment(kBank2First + address, nibble);
    return;
  }
  const int index = this->lcdMemory_.index(bank, address);
  this->lcdMemory_.set(index, nibble);
  lcd_.setSegment(index, nibble);
}

// ---- Millisecond counter and supply detector.

template <class Self, const qv4124::Qv4124Layout& L, const Options& O>
void Qv4117Model<Self, L, O>::millisecondCounted() {
  periphery::Cells c = cells();
  const int happened = ms_.count(c);
  const bool everySecond = c.bit(kMsStatus.reg, ms::kEverySecond);
  if (((happened & ms::kTenth) && !everySecond) || ((happened & ms::kSecond) && everySecond))
    this->raise(Model::kRequestsC, kReqMillisecond);
  if (happened & ms::kTenth) postRedraw(kItemMillisecond, O.tenthParts);
  if (happened & ms::kSecond) postRedraw(kItemMillisecond, millisecondPart::kCount);
  if (!ms_.active()) self().refreshActivity();
}

// The level of register 116 against the supply, taken at the result.
template <class Self, const qv4124::Qv4124Layout& L, const Options& O>
void Qv4117Model<Self, L, O>::supplyResult() {
  periphery::Cells c = cells();
  this->detector_.finish(this->supply_);
  const bool low = kDetectorLevels[kDetectorLevel.of(c.value(kDetectorLevel.reg))] >= this->supply_;
  const int startAndLow = L.supply.start.mask | L.supply.low.mask;
  c.setMasked(L.supply.control.reg, startAndLow, low ? L.supply.low.mask : 0);
  self().refreshActivity();
}

// ---- Port A: no debounce. The edges since the last sampling, in order:
// requests, the timer's pin clocks, the millisecond counter's port control.

template <class Self, const qv4124::Qv4124Layout& L, const Options& O>
void Qv4117Model<Self, L, O>::samplePortA() {
  periphery::Cells c = cells();
  periphery::Port& a = this->ports_[0];
  const int levels = a.levels();
  const bool running = ms_.running();
  bool taken = false;
  a.takeEdges([&](periphery::PinEdge e) {
    this->takePortAEdge(e.pin, e.rising);
    if (e.pin == 3) ms_.portEdge(c.value(kMsControl.reg), c.value(kMsStatus.reg), e.rising);
    taken = true;
  });
  this->debounced_ = levels;
  c.set(L.portA.levels.reg, levels);
  for (int i = 0; i < 3; ++i) this->word(k42::kCond1 + i) = (levels >> i) & 1;
  if (ms_.running() != running) postRedraw(kItemMillisecond, millisecondPart::kEnabled);
  if (taken) this->checkResetCombination();
  self().refreshActivity();
}

// ---- Window.

template <class Self, const qv4124::Qv4124Layout& L, const Options& O>
simcore::lcd::MillisecondView Qv4117Model<Self, L, O>::millisecondView() const {
  return {{ms_.digit(0), ms_.digit(1), ms_.digit(2)}, ms_.overflow(), ms_.running(),
          (reg(L.irq.unitEnables.reg) & kReqMillisecond) != 0, reg(kMsControl.reg), reg(kMsStatus.reg)};
}

template <class Self, const qv4124::Qv4124Layout& L, const Options& O>
void Qv4117Model<Self, L, O>::Window_Init(platform::WindowHandle d) {
  this->supply_ = L.supply.maximum;
  simcore::lcd::InitSupplySlider(d, L.supply.maximum, this->supply_);
}

template <class Self, const qv4124::Qv4124Layout& L, const Options& O>
void Qv4117Model<Self, L, O>::Window_Redraw(int item, intptr_t parts) {
  switch (item) {
    case kItemMillisecond:
      if (this->dialog() != nullptr) simcore::lcd::DrawMillisecondBox(this->dialog(), parts, millisecondView());
      break;
    case qv4124::kItemGpo:
    case qv4124::kItemLcd: break;  // no general-purpose outputs
    default: Model::Window_Redraw(item, parts);
  }
}

template <class Self, const qv4124::Qv4124Layout& L, const Options& O>
void Qv4117Model<Self, L, O>::Window_RedrawAll() {
  const platform::WindowHandle d = this->dialog();
  if (d == nullptr) return;
  for (int i = 0; i < 3; ++i) simcore::DrawPinGroup(d, qv4124::windowText::kPinGroups[i], this->ports_[i], true);
  self().Window_Redraw(qv4124::kItemSerial, 0);
  self().Window_Redraw(qv4124::kItemMelody, qv4124::melodyPart::kAll);
  self().Window_Redraw(qv4124::kItemPrescaler, simcore::lcd::prescalerPart::kAll);
  self().Window_Redraw(qv4124::kItemTimer, simcore::lcd::timerPart::kAll);
  self().Window_Redraw(kItemMillisecond, millisecondPart::kAll);
  simcore::lcd::DrawSupplyText(d, this->supply_);
}

template <class Self, const qv4124::Qv4124Layout& L, const Options& O>
bool Qv4117Model<Self, L, O>::Window_Command(int id) {
  for (int port = 0; port < 3; ++port) {
    const simcore::PinGroup& g = qv4124::windowText::kPinGroups[port];
    if (g.pinOf(id) < 0) continue;
    clickPin(port, g.pinOf(id));
    return true;
  }
  return false;
}

// A pin button: an input pin toggles, its box is redrawn, and while the
// register file is known its port is sampled at once.
template <class Self, const qv4124::Qv4124Layout& L, const Options& O>
void Qv4117Model<Self, L, O>::clickPin(int port, int p) {
  const simcore::PinGroup& g = qv4124::windowText::kPinGroups[port];
  simcore::PeripheryChip<Self>::clickPin(g, this->ports_[port], g.firstButton + p, [this, port] {
    if (port == 0)
      samplePortA();
    else if (port == 1)
      this->samplePortB();
    else
      this->sampleSerial();
    self().refreshActivity();
  });
}

}  // namespace qv4117
