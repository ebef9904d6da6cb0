#pragma once
// The QV4115 family model's bodies: register handlers, ports, timer,
// converter, detector, EEPROM, SWB, RAM banks and the reset. Included by
// model.h; a chip's module instantiates them once for its type.
#include <platform/messages.h>

#include "periphery/reset_table.h"

namespace qv4115 {

namespace pin = periphery::pin;

// ---- Reset.

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::Periphery_Reset() {
  catchUp();
  countdown_.dueNext();
  periphery::Cells c = cells();
  if (c.valid()) periphery::applyReset(Self::kResetTable, c, 0);
  latch_.clear();
  shownCounter_ = -1;
  if (cpu_ != nullptr) resetCpu();
  prescaler_.restart();
  watchdog_.reset();
  watchdogRequest_ = false;
  ports_[0].reset(pin::kMarker | pin::kRefresh);
  ports_[1].reset(pin::kRefresh);
  ports_[2].reset(pin::kRefresh);
  detector_.reset();
  swb_.reset();
  swbRunning_ = -1;
  if (cpu_ != nullptr) cpu_->word[k42::kCond3] = 0;
  timer_.reset();
  timerSource_ = 0;
  adc_.reset();
  self().updateDue();
  post(kItemPortA, kFirstPinButton[0]);
  post(kItemPortB, kFirstPinButton[1]);
  post(kItemPortC, kFirstPinButton[2]);
  post(kItemSwb, swbItem::kAll);
  post(kItemSupply, kAllParts);
  post(kItemPrescaler, prescalerItem::kAll);
  post(kItemTimer, timerItem::kAll);
  post(kItemAdc, kAllParts);
  post(kItemEepromBox, kAllParts);
}

// ---- Registers.

template <class Self, const Qv4115Layout& L>
int Qv4115Model<Self, L>::onRead(int n) {
  periphery::Cells c = cells();
  if (n == L.portA.requests.reg) {
    const int v = c.readAndClear(L.portA.requests.reg, 15);
    ports_[0].takeEdges([](periphery::PinEdge) {});
    return v;
  }
  return c.value(n);
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::onWrite(int n, int v, int old) {
  using periphery::Route;
  using M = Qv4115Model;
  using Routes = periphery::WriteRoutes<
      Route<Block::Ports, &M::writePorts>, Route<Block::Swb, &M::writeSwb>,
      Route<Block::Eeprom, &M::writeEeprom>, Route<Block::Timer, &M::writeTimer>,
      Route<Block::Adc, &M::writeAdc>, Route<Block::Irq, &M::writeIrq>,
      Route<Block::Watchdog, &M::writeWatchdog>, Route<Block::Ram, &M::writeRam>,
      Route<Block::Prescaler, &M::writePrescalerControl>, Route<Block::Detector, &M::writeDetector>>;
  // The family's own table: a variant's lines over it name none of its
  // blocks, and a unit that is not present has no line that names it.
  Routes::write(*this, M::kRegisterMap, n, v, old);
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::writePorts(int n, int v, int /*old*/) {
  switch (n) {
    case L.portB.direction.reg: self().writePortBDirection(v); break;
    case L.portB.data.reg: self().writePortB(v); break;
    case L.portC.direction.reg: self().writePortCDirection(v); break;
    case L.portC.data.reg: self().writePortC(v); break;
    default:  // port A's enables and edges: pending requests and edges are dropped
      cells().set(L.portA.requests.reg, 0);
      ports_[0].takeEdges([](periphery::PinEdge) {});
      refreshMarkers();
      break;
  }
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::writeSwb(int n, int v, int old) {
  switch (n) {
    case L.swb.clock.reg: self().writeSwbClock(v, old); break;
    case L.swb.data.reg: self().writeSwbData(); break;
    case L.swb.sizeLow.reg: swb_.setSizeLow(v); break;
    default: self().writeSwbControl(v, old); break;
  }
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::writeEeprom(int /*n*/, int v, int /*old*/) {
  self().writeEepromControl(v);
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::writeTimer(int n, int v, int /*old*/) {
  switch (n) {
    case L.timer.control.reg:
      timerSource_ = L.timer.source.of(v);
      timer_.setUp(L.timer.countUp.setIn(v));
      post(kItemTimer, timerItem::kSource | timerItem::kStep);
      break;
    case L.timer.run.reg: self().writeTimerRun(v); break;
    case L.timer.low.reg:
      timer_.setValue((timer_.value() & ~0x00F) | v);
      post(kItemTimer, timerItem::kCompareValue);
      break;
    case L.timer.middle.reg:
      timer_.setValue((timer_.value() & ~0x0F0) | (v << 4));
      post(kItemTimer, timerItem::kCompareValue);
      break;
    default:  // the high nibble: value bits 8-9 and the compare width
      timer_.setValue((timer_.value() & 0x0FF) | (L.timer.highBits.of(v) << 8));
      timer_.setWidthCode(L.timer.width.of(v));
      post(kItemTimer, timerItem::kCompareValue | timerItem::kWidth | timerItem::kCounter);
      break;
  }
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::writeAdc(int /*n*/, int v, int /*old*/) {
  if (L.adc.start.setIn(v)) adc_.start();
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::writeIrq(int n, int /*v*/, int /*old*/) {
  switch (n) {
    case L.irq.systemEnables.reg: post(kItemPrescaler, prescalerItem::kLeds); break;
    case L.irq.timerEnables.reg: post(kItemTimer, timerItem::kEndIrq | timerItem::kCompareIrq); break;
    default: post(kItemTimer, timerItem::kCompareValue); break;  // the control: full compare shown
  }
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::writeWatchdog(int /*n*/, int /*v*/, int /*old*/) {
  watchdog_.clear();
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::writeRam(int /*n*/, int v, int old) {
  periphery::Cells c = cells();
  banks_.switchBank(c, old, v);
  c.set(L.ram.bank.reg, v);
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::writePrescalerControl(int /*n*/, int v, int old) {
  self().writePrescaler(v, old);
}

// The level and the start are kept.
template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::writeDetector(int /*n*/, int v, int /*old*/) {
  cells().set(L.detector.control.reg, v & L.detector.stored.mask);
  detectorLevel_ = kDetectorLevels[L.detector.level.of(v)];
}

// The SWB clock: bits 0-1 kept, the others dropped.
template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::writeSwbClock(int value, int) {
  periphery::Cells c = cells();
  c.set(L.swb.clock.reg, L.swb.clockSelect.of(value));
  swbClockCopy_ = L.swb.clockSelect.of(value);
  updateSwbRunning(c);
  post(kItemSwb, swbItem::kClockText);
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::writeSwbData() {
  swb_.dataWritten();
  if (cpu_ != nullptr) word(k42::kCond3) = 0;
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::writeSwbControl(int value, int old) {
  periphery::Cells c = cells();
  if (L.swb.automatic.setIn(value ^ old)) {
    swbAutomatic_ = L.swb.automatic.setIn(value);
    post(kItemSwb, swbItem::kMode);
  }
  swb_.setSizeHigh(L.swb.sizeHigh.of(value));
  swb_.control(L.swb.start.setIn(value), L.swb.automatic.setIn(value), c.value(L.swb.data.reg));
  if (L.swb.start.setIn(value)) post(kItemSwb, swbItem::kText);
  updateSwbRunning(c);
}

// A read or a write of the byte the address names; busy meanwhile.
template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::writeEepromControl(int value) {
  periphery::Cells c = cells();
  c.set(L.eeprom.control.reg, value | L.eeprom.busy.mask);
  const int address = 16 * L.eeprom.addressHigh.of(value) + c.value(L.eeprom.address.reg);
  if (L.eeprom.write.setIn(value)) {
    eeprom_.write(address, 16 * c.value(L.eeprom.dataHigh.reg) + c.value(L.eeprom.dataLow.reg));
    eeprom_.startBusy(kEepromWriteTicks);
    post(kItemEepromList, 1);
  } else {
    const int byte = eeprom_.read(address);
    eeprom_.startBusy(kEepromReadTicks);
    c.set(L.eeprom.dataLow.reg, byte & 15);
    c.set(L.eeprom.dataHigh.reg, byte >> 4);
  }
}

// Bits 0 and 2 are not kept.
template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::writePrescaler(int value, int) {
  cells().set(L.prescaler.control.reg, value & L.prescaler.control.mask);
  post(kItemPrescaler, prescalerItem::kRateText);
  post(kItemTimer, timerItem::kPwm);
}

// ---- Ports.

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::writePortBDirection(int value) {
  periphery::Port& b = ports_[1];
  for (int p = 0; p < 4; ++p) {
    const bool output = (value >> p) & 1;
    if (output && !b.driven(p)) {
      b.drive(p, (latchB_ >> p) & 1);
    } else if (!output && b.driven(p)) {
      b.release(p, periphery::ReleasedLevel::Low);
    }
  }
  post(kItemPortB, kFirstPinButton[1]);
}

// Only a new latch value reaches the pins: each output pin that carries no
// clock output and no PWM takes its bit, and so does register 82.
template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::writePortB(int value) {
  if (value == latchB_) return;
  latchB_ = value;
  periphery::Cells c = cells();
  for (int p = 0; p < 4; ++p) {
    if (!((latch_.at(L.portB.direction.reg) >> p) & 1)) continue;
    const bool taken = p < 3 ? clockOutputSet(p) : pwmEnabled();
    if (taken) continue;
    const bool bit = (value >> p) & 1;
    ports_[1].setLevel(p, bit);
    if (c.valid()) c.setMasked(L.portB.data.reg, 1 << p, bit ? 15 : 0);
  }
  post(kItemPortB, kFirstPinButton[1]);
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::writePortCDirection(int value) {
  periphery::WholePortRule::setDirection(ports_[2], L.portC.output.setIn(value), latchC_);
  post(kItemPortC, kFirstPinButton[2]);
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::writePortC(int value) {
  if (!periphery::WholePortRule::writeLatch(ports_[2], latchC_, latch_.test(L.portC.output), value)) return;
  periphery::Cells c = cells();
  if (c.valid()) c.set(L.portC.data.reg, value);
  post(kItemPortC, kFirstPinButton[2]);
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::toggleClockPin(int p) {
  ports_[1].word(p) ^= pin::kLevel;
  post(kItemPortB, kFirstPinButton[1]);
}

// Port A markers: no interrupt, or the edge that register 118 selects.
template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::refreshMarkers() {
  for (int p = 0; p < 4; ++p) {
    const uint32_t kind = !((latch_.at(L.portA.enables.reg) >> p) & 1)  ? 0u
                          : ((latch_.at(L.portA.edges.reg) >> p) & 1) ? 1u
                                                                      : 2u;
    uint32_t& w = ports_[0].word(p);
    w = (w & ~pin::kMarkerKind) | pin::kMarker | (kind << 4);
  }
  post(kItemPortA, kFirstPinButton[0]);
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::SamplePortA() {
  periphery::Cells c = cells();
  if (!c.valid()) return;
  shownCounter_ = -1;  // the monitor may have written the timer cells since
  periphery::Port& a = ports_[0];
  c.set(L.portA.levels.reg, a.levels());
  if (self().resetByCombination(c, a.levels())) self().Periphery_Reset();
  word(k42::kCond1) = a.level(0);
  word(k42::kCond2) = a.level(1);
  word(k42::kCond3) = swb_.ready() ? 1 : a.level(2);
  const int edges = c.value(L.portA.edges.reg);
  if (periphery::selectedEdge(a.word(0), edges & 1)) self().clockPinEdge(0);
  if (periphery::selectedEdge(a.word(3), edges & 8)) self().clockPinEdge(7);
  const int enables = c.value(L.portA.enables.reg);
  int requests = 0;
  for (int p = 0; p < 4; ++p)
    if (((enables >> p) & 1) && periphery::selectedEdge(a.word(p), (edges >> p) & 1)) requests |= 1 << p;
  c.setBits(L.portA.requests.reg, requests);
  a.takeEdges([](periphery::PinEdge) {});
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::SamplePortB() {
  periphery::Cells c = cells();
  if (!c.valid()) return;
  c.set(L.portB.data.reg, ports_[1].levels());
  ports_[1].takeEdges([](periphery::PinEdge) {});
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::SamplePortC() {
  periphery::Cells c = cells();
  if (!c.valid()) return;
  c.set(L.portC.data.reg, ports_[2].levels());
  ports_[2].takeEdges([](periphery::PinEdge) {});
}

// ---- Timer.

// Register 94: the run bit changes unless it is set while PWM and the full
// compare are on and the counter already equals the latch; a load copies the
// latch into the counter (a latch of 0 stops the timer); bit 1 is the compare
// enable; bit 0 is never kept.
template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::writeTimerRun(int value) {
  periphery::Cells c = cells();
  bool run = L.timer.running.setIn(c.value(L.timer.run.reg));
  if (L.timer.running.setIn(value) != run) {
    const bool refused = !run && pwmEnabled() && fullCompare() && timer_.countAtValue();
    if (!refused) run = !run;
  }
  if (L.timer.load.setIn(value)) {
    if (!timer_.load()) run = 0;
    shownCounter_ = -1;  // all three cells, whatever they show now
    showCounter(c, timer_.count());
  }
  timer_.setCompareEnabled(L.timer.compareEnable.setIn(value));
  timer_.setRunning(run);
  c.set(L.timer.run.reg, L.timer.running.with(L.timer.load.with(value, 0), run ? 1 : 0));
  post(kItemTimer, timerItem::kEnabled | timerItem::kCompareEnable | timerItem::kCounter);
}

// After a match: requests, the PWM level and the full-compare stop.
template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::timerMatched(periphery::Timer10::Match s) {
  periphery::Cells c = cells();
  const bool full = fullCompare(), pwm = pwmEnabled(), enabled = timer_.compareEnabled();
  const bool down = !timer_.up();
  bool level = pwmLevel_;
  if (full) {
    if (timer_.countAtValue()) {
      if (enabled) c.setMasked(L.irq.timerRequests.reg, kReqCompare, c.value(L.irq.timerEnables.reg));
      if (enabled && pwm) {
        writeTimerRun(c.value(L.timer.run.reg) & ~8);
        level = down;
      }
    } else if (s.compare && enabled && pwm) {
      level = down;
    }
  } else if (s.compare && enabled) {
    c.setMasked(L.irq.timerRequests.reg, kReqCompare, c.value(L.irq.timerEnables.reg));
    if (pwm) level = down;
  }
  if (s.end) {
    c.setMasked(L.irq.timerRequests.reg, kReqEnd, c.value(L.irq.timerEnables.reg));
    if (pwm) level = !down;
  }
  showCounter(c, timer_.count());
  post(kItemTimer, timerItem::kCounter);
  if (level != pwmLevel_) {
    pwmLevel_ = level;
    pwmChanged();
  }
}

// The PWM level reaches PB3 while PB3 is an output.
template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::pwmChanged() {
  if (!((latch_.at(L.portB.direction.reg) >> 3) & 1)) return;
  ports_[1].setLevel(3, pwmLevel_);
  post(kItemPortB, kFirstPinButton[1]);
}

// ---- Converter, detector, EEPROM.

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::adcDone() {
  periphery::Cells c = cells();
  const int control = c.value(L.adc.control.reg);
  const int result = adc_.input(L.adc.channel.of(control));
  c.set(L.adc.low.reg, result & 15);
  c.set(L.adc.high.reg, result >> 4);
  if (L.adc.single.setIn(control)) {
    c.set(L.adc.control.reg, 3);
    adc_.stop();
  } else if (!L.adc.start.setIn(control)) {
    adc_.stop();
  } else {
    adc_.start();
  }
  kRequestsA.raise(c, kReqAdc);
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::detectorDone() {
  periphery::Cells c = cells();
  const bool low = detector_.finish(supply_);
  c.setMasked(L.detector.result.reg, L.detector.result.mask, low ? L.detector.low.mask : 0);
  kRequestsB.raise(c, kReqDetector);
}

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::eepromDone() {
  periphery::Cells c = cells();
  if (c.bit(L.eeprom.write.reg, L.eeprom.write.mask)) c.setMasked(L.irq.systemRequests.reg, kReqEeprom, c.value(L.irq.systemEnables.reg));
  c.clearBits(L.eeprom.busy.reg, L.eeprom.busy.mask);
}

// ---- SWB.

template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::swbHalfDone(const periphery::SerialWriteBuffer::Half& h) {
  if (h.stop) {
    periphery::Cells c = cells();
    c.clearBits(L.swb.start.reg, L.swb.start.mask);
    swb_.stopped();
    updateSwbRunning(c);
  }
  if (h.ready) word(k42::kCond3) = 1;
  post(kItemSwb, swbItem::kClock | swbItem::kData | (h.appended ? swbItem::kText : 0));
}

// While halted in automatic mode: one half period; at the end of the
// transfer the halt ends and the buffer is ready.
template <class Self, const Qv4115Layout& L>
void Qv4115Model<Self, L>::automaticSwbStep() {
  periphery::Cells c = cells();
  const bool finished = swb_.automaticHalfStep(c, self().swbLastNibbleBits());
  post(kItemSwb, swbItem::kClock | swbItem::kData);
  if (!finished) return;
  c.clearBits(L.swb.automatic.reg, L.swb.automatic.mask);
  word(k42::kHalted) = 0;
  word(k42::kCond3) = 1;
}

}  // namespace qv4115
