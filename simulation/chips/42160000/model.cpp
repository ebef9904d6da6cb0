// QV4116's periphery model: register handlers, samplers, the chain's
// events, the comparator, the supply detector and the reset.
#include <algorithm>

#include "qv4116.h"

namespace qv4116 {

using periphery::Cells;
namespace pin = periphery::pin;
namespace ms = periphery::millisecond;
namespace timerPart = simcore::lcd::timerPart;
namespace millisecondPart = simcore::lcd::millisecondPart;

// ---- Reset: the only kind, of Instruction_Reset and the watchdog. The port
// B latch stays; the glass is cleared (the frame then turns the display off).

void Chip::Periphery_Reset() {
  Cells c = cells();
  if (c.valid()) periphery::applyReset(kResetTable, c, 0);
  prescaler_.restart();
  watchdog_.reset();
  watchdogReset_ = false;
  ports_[0].reset(pin::kMarker | pin::kRefresh);
  ports_[1].reset(pin::kTextShown | pin::kRefresh);
  pwmLevel_ = 0;
  timer_.reset();
  ms_.reset();
  detector_.reset();
  comparatorLow_ = false;
  indicator_ = indicator::kVdd;
  for (int i = 0; i < kSegments; ++i) {
    segments_[i] = 0;
    lcd_.setSegment(i, 0);
  }
  refreshActivity();
  postRedraw(kItemPortA, kPortAButton);
  postRedraw(kItemPortB, kPortBButton);
  for (int item = 2; item <= 5; ++item) postRedraw(item, kAllParts);
  postRedraw(kItemTimer, timerPart::kAll);
  for (int item = 7; item <= 9; ++item) postRedraw(item, kAllParts);
}

void Chip::refreshActivity() {
  const Cells c = cells();
  if (!c.valid()) return;
  timerTap_ = c.bit(L.timer.run.reg, L.timer.run.mask) ? L.timer.clock.of(c.value(L.timer.control.reg)) : -1;
  toggles_ = c.value(L.portB.direction.reg) & (c.value(L.portB.pulseOutputs.reg) >> 1);
  int due = 14;
  const auto use = [&due](int carries) { due = std::min(due, carries); };
  if (ms_.active() || simcore::bitAt(toggles_, 0)) use(0);
  constexpr int kTimerCarries[8] = {14, 0, 3, 5, 7, 11, 14, 14};
  if (timerTap_ >= 0) use(kTimerCarries[timerTap_]);
  if (simcore::bitAt(toggles_, 1) || detector_.pending() ||
      c.bit(L.comparator.inputPb0.reg, L.comparator.inputPb0.mask))
    use(3);
  if (c.bit(L.supply.measure.reg, L.supply.measure.mask)) use(4);
  if (c.bit(L.irq.prescalerEnable.reg, L.irq.prescalerEnable.mask)) use(c.bit(L.prescaler.fast32Hz.reg, L.prescaler.fast32Hz.mask) ? 9 : 11);
  if (c.bit(L.irq.blinkEnable.reg, L.irq.blinkEnable.mask)) use(12);
  prescaler_.setDueFrom(due);
}

// ---- Registers.

int Chip::onRead(int n) {
  Cells c = cells();
  switch (n) {
    case L.timer.low.reg: return timer_.count() & 15;
    case L.timer.middle.reg: return (timer_.count() >> 4) & 15;
    case L.timer.high.reg: return L.timer.valueHigh.with(c.value(n), timer_.count() >> 8);
    case L.millisecond.status.reg: {
      const int v = c.value(n);
      c.clearBits(n, ms::kOverflow);
      ms_.clearOverflow();
      postRedraw(kItemMillisecond, millisecondPart::kCount);
      return v;
    }
    case L.portA.requests.reg: {
      const int v = c.readAndClear(n, 15);
      ports_[0].takeEdges([](periphery::PinEdge) {});
      return v;
    }
    default: return c.value(n);
  }
}

// Every write reaches the block that owns the register; then the taps in use
// follow the new settings (the glass's nibbles change none of them).
void Chip::onWrite(int n, int v, int old) {
  using periphery::Route;
  using Routes = periphery::WriteRoutes<
      Route<Block::Segments, &Chip::writeSegment>, Route<Block::Lcd, &Chip::writeLcdMode>,
      Route<Block::PortA, &Chip::writePortA>, Route<Block::PortB, &Chip::writePortB>,
      Route<Block::Comparator, &Chip::writeComparator>, Route<Block::Timer, &Chip::writeTimer>,
      Route<Block::Millisecond, &Chip::writeMillisecond>, Route<Block::Irq, &Chip::writeIrq>,
      Route<Block::Watchdog, &Chip::writeWatchdog>, Route<Block::Prescaler, &Chip::writePrescaler>,
      Route<Block::Supply, &Chip::writeSupply>>;
  Routes::write(*this, kRegisterMap, n, v, old);
  if (!periphery::ownedBy(kRegisterMap, n, Block::Segments)) refreshActivity();
}

// Only a changed nibble is stored and sent.
void Chip::writeSegment(int n, int v, int old) {
  if (v == old) return;
  cells().set(n, v);
  segments_[n - L.lcd.first.reg] = static_cast<uint8_t>(v);
  lcd_.setSegment(n - L.lcd.first.reg, v);
}

void Chip::writeLcdMode(int n, int v, int old) {
  if (v == old) return;
  cells().set(n, v);
  lcd_.setMode(L.lcd.off.setIn(v) ? 0 : 1, L.lcd.mux15.setIn(v) ? 15 : 7);
}

// The enables and the edge select: pending requests and edges are dropped.
void Chip::writePortA(int /*n*/, int /*v*/, int /*old*/) {
  cells().set(L.portA.requests.reg, 0);
  ports_[0].takeEdges([](periphery::PinEdge) {});
  rearmPortA();
}

void Chip::writePortB(int n, int v, int old) {
  if (n == L.portB.direction.reg)
    writeDirection(v, old);
  else if (n == L.portB.data.reg)
    writeLatch(v);
}

void Chip::writeComparator(int /*n*/, int v, int old) {
  const int changed = v ^ old;
  if (L.comparator.inputPb0.setIn(changed)) {
    indicator_ = (indicator_ & ~(indicator::kVdd | indicator::kPb0)) |
                 (L.comparator.inputPb0.setIn(v) ? indicator::kPb0 : indicator::kVdd);
    postRedraw(kItemSupply, indicator::kVdd | indicator::kPb0);
  }
  if (L.comparator.active.setIn(changed))
    setIndicator(indicator::kPb0Active, L.comparator.active.setIn(v), indicator::kPb0Active);
}

void Chip::writeTimer(int n, int v, int old) {
  switch (n) {
    case L.timer.control.reg:
      timer_.setUp(L.timer.countUp.setIn(v));
      postTimer(timerPart::kInput | timerPart::kStep);
      break;
    case L.timer.command.reg: writeTimerCommand(v, old); break;
    case L.timer.low.reg:
      timer_.setValueBits(0x00F, v);
      postTimer(timerPart::kCompareValue);
      break;
    case L.timer.middle.reg:
      timer_.setValueBits(0x0F0, v << 4);
      postTimer(timerPart::kCompareValue);
      break;
    default:  // the high nibble: value bits 8-9 and the width
      timer_.setValueBits(0x300, L.timer.valueHigh.of(v) << 8);
      timer_.setWidthCode(L.timer.width.of(v));
      postTimer(timerPart::kCompareValue | timerPart::kWidth);
      break;
  }
}

void Chip::writeMillisecond(int n, int v, int old) {
  switch (n) {
    case L.millisecond.control.reg:
      ms_.writeControl(v, old);
      postRedraw(kItemMillisecond, millisecondPart::kStart | millisecondPart::kStop | millisecondPart::kEnabled);
      break;
    case L.millisecond.status.reg:
      postRedraw(kItemMillisecond, millisecondPart::kStart | millisecondPart::kStop | millisecondPart::kInterval);
      break;
    default:  // the digits
      ms_.setDigit(n - L.millisecond.units.reg, v);
      postRedraw(kItemMillisecond, millisecondPart::kDigits);
      break;
  }
}

void Chip::writeIrq(int n, int v, int old) {
  const int changed = v ^ old;
  switch (n) {
    case L.irq.timeEnables.reg:
      if (L.irq.comparatorEnable.setIn(changed))
        setIndicator(indicator::kComparatorMask, L.irq.comparatorEnable.setIn(v), indicator::kComparatorMask);
      if (L.irq.comparatorEnable.with(changed, 0) != 0)  // another enable changed
        postRedraw(kItemPrescaler, simcore::lcd::prescalerPart::kLeds);
      break;
    case L.irq.unitEnables.reg:
      if (L.irq.detectorEnable.setIn(changed))
        setIndicator(indicator::kDetectorMask, L.irq.detectorEnable.setIn(v), indicator::kDetectorMask);
      if (L.irq.millisecondEnable.setIn(changed)) postRedraw(kItemMillisecond, millisecondPart::kIrq);
      if (L.irq.compareEnable.setIn(changed) || L.irq.endEnable.setIn(changed))
        postTimer((L.irq.compareEnable.setIn(changed) ? timerPart::kIrqCompare : 0) |
                  (L.irq.endEnable.setIn(changed) ? timerPart::kIrqEnd : 0));
      break;
    default:  // the control
      if (L.irq.fullCompare.setIn(changed)) postTimer(timerPart::kCompareValue);
      break;
  }
}

void Chip::writeWatchdog(int /*n*/, int v, int /*old*/) {
  if (L.watchdog.clear.setIn(v)) watchdog_.clear();
}

void Chip::writePrescaler(int /*n*/, int v, int old) {
  const int changed = v ^ old;
  if (L.prescaler.restart.setIn(v)) prescaler_.restart();
  if (L.prescaler.fast32Hz.setIn(changed)) postRedraw(kItemPrescaler, simcore::lcd::prescalerPart::kLabel);
  if (L.prescaler.pwm.setIn(changed)) {
    drivePwm();
    postTimer(timerPart::kPwm);
  }
}

void Chip::writeSupply(int n, int v, int old) {
  cells().set(n, v & L.supply.stored.mask);
  if (L.supply.measure.setIn(v ^ old))
    setIndicator(indicator::kMeasuring, L.supply.measure.setIn(v), indicator::kMeasuring);
}

void Chip::setIndicator(int bits, bool on, int parts) {
  indicator_ = on ? (indicator_ | bits) : (indicator_ & ~bits);
  postRedraw(kItemSupply, parts);
}

// ---- Port A: edges, requests, condition inputs, the timer's pin clocks
// and the millisecond counter's port control.

void Chip::samplePortA() {
  Cells c = cells();
  periphery::Port& a = ports_[0];
  const int levels = a.levels();
  c.set(L.portA.levels.reg, levels);
  for (int i = 0; i < 3; ++i) word(k42::kCond1 + i) = simcore::bitAt(levels, i) ? 1 : 0;
  const int select = c.value(L.portA.edges.reg);
  const auto selected = [&](int p) { return periphery::selectedEdge(a.word(p), simcore::bitAt(select, p)); };
  if ((timerTap_ == 0 && selected(0)) || (timerTap_ == 7 && selected(3))) timerClock();
  int requests = 0;
  for (int p = 0; p < 4; ++p)
    if (selected(p)) requests |= 1 << p;
  const bool running = ms_.running();
  a.takeEdges([&](periphery::PinEdge e) {
    if (e.pin == 3) ms_.portEdge(c.value(L.millisecond.control.reg), c.value(L.millisecond.status.reg), e.rising);
  });
  kPortARequestGroup.raise(c, requests);
  if (ms_.running() != running) postRedraw(kItemMillisecond, millisecondPart::kEnabled);
  refreshActivity();
}

// The arming marker of each pin: shown always, its kind by the mask and the
// edge select (rising, or falling with 118's bit).
void Chip::rearmPortA() {
  const int mask = reg(L.portA.enables.reg), select = reg(L.portA.edges.reg);
  for (int i = 0; i < 4; ++i) {
    uint32_t& w = ports_[0].word(i);
    w = (w & ~pin::kMarkerKind) | pin::kMarker;
    if (simcore::bitAt(mask, i)) w |= simcore::bitAt(select, i) ? (1u << 4) : (2u << 4);
  }
  postRedraw(kItemPortA, kPortAButton);
}

// ---- Port B: direction, latch, toggles, PWM on PB3.

void Chip::samplePortB() {
  ports_[1].takeEdges([](periphery::PinEdge) {});
  cells().set(L.portB.data.reg, ports_[1].levels());
}

// A pin made an output takes its latch bit (PB3 the PWM level while the PWM
// output is on); a pin made an input goes low.
void Chip::writeDirection(int value, int old) {
  const bool pwm = test(L.prescaler.pwm);
  bool shown = false;
  for (int i = 0; i < 4; ++i) {
    const int bit = 1 << i;
    if (!((value ^ old) & bit)) continue;
    if (value & bit)
      shown |= ports_[1].drive(i, (i == 3 && pwm) ? pwmLevel_ != 0 : (latchB_ & bit) != 0);
    else
      shown |= ports_[1].release(i, periphery::ReleasedLevel::Low);
  }
  cells().set(L.portB.data.reg, ports_[1].levels());
  if (shown) postRedraw(kItemPortB, kPortBButton);
}

// Only a changed latch acts: every output pin not reserved by register 123
// (PB0-PB2) or by the PWM output (PB3) takes its bit.
void Chip::writeLatch(int value) {
  if (value == latchB_) return;
  latchB_ = value;
  const int reserved = bits(L.portB.reserved) | (test(L.prescaler.pwm) ? L.portB.pb3.mask : 0);
  const int outputs = reg(L.portB.direction.reg) & ~reserved;
  bool shown = false;
  for (int i = 0; i < 4; ++i)
    if (simcore::bitAt(outputs, i)) shown |= ports_[1].drive(i, simcore::bitAt(value, i));
  cells().setMasked(L.portB.data.reg, outputs, value);
  if (shown) postRedraw(kItemPortB, kPortBButton);
}

void Chip::toggle(int p) {
  ports_[1].invertDriven(p);
  registers_[L.portB.data.reg].value ^= 1 << p;
  postRedraw(kItemPortB, kPortBButton);
}

void Chip::drivePwm() {
  if (!test(L.portB.pb3Output) || !test(L.prescaler.pwm)) return;
  if (ports_[1].drive(3, pwmLevel_ != 0)) postRedraw(kItemPortB, kPortBButton);
  cells().setMasked(L.portB.pb3.reg, L.portB.pb3.mask, pwmLevel_ ? L.portB.pb3.mask : 0);
}

// ---- Timer.

// A start (bit 3 from 0 to 1) is refused while the PWM output and the
// full-count compare are on and the count stands at the start value. A load
// turns the compare off; a load of 0 stops the timer.
void Chip::writeTimerCommand(int value, int old) {
  Cells c = cells();
  int next = L.timer.load.with(value, 0);
  if (L.timer.run.setIn(value) && !L.timer.run.setIn(old) && c.bit(L.prescaler.pwm.reg, L.prescaler.pwm.mask) && c.bit(L.irq.fullCompare.reg, L.irq.fullCompare.mask) &&
      timer_.countAtValue())
    next = L.timer.run.with(next, 0);
  timer_.setCompareEnabled(L.timer.compare.setIn(value));
  if (L.timer.load.setIn(value)) {
    if (!timer_.load()) next = L.timer.run.with(next, 0);
    if (!timer_.compareEnabled()) next = L.timer.compare.with(next, 0);
  }
  c.set(L.timer.command.reg, next);
  postTimer(timerPart::kEnabled | timerPart::kCompareOn | timerPart::kCount);
}

void Chip::timerMatched() {
  Cells c = cells();
  const Timer::Match s = timer_.match();
  const bool fullCompare = c.bit(L.irq.fullCompare.reg, L.irq.fullCompare.mask);
  const bool pwm = c.bit(L.prescaler.pwm.reg, L.prescaler.pwm.mask);
  if (s.end) {
    kTimerGroup.raise(c, kReqEnd);
    if (pwm) pwmLevel_ = 1;
  }
  const bool compare = fullCompare ? s.fullCompare : s.compare;
  if (c.bit(L.timer.compare.reg, L.timer.compare.mask) && compare) {
    kTimerGroup.raise(c, kReqCompare);
    if (pwm) pwmLevel_ = 0;
    if (fullCompare && pwm) {
      c.clearBits(L.timer.run.reg, L.timer.run.mask);
      refreshActivity();
      postTimer(timerPart::kEnabled);
    }
  }
  if (pwm && (s.end || compare)) drivePwm();
}

// ---- Millisecond counter, supply detector, comparator.

void Chip::millisecondCounted() {
  Cells c = cells();
  const int happened = ms_.count(c);
  const bool everySecond = c.bit(L.millisecond.status.reg, ms::kEverySecond);
  if (((happened & ms::kTenth) && !everySecond) || ((happened & ms::kSecond) && everySecond))
    kTimerGroup.raise(c, kReqMillisecond);
  if (happened & (ms::kTenth | ms::kSecond))
    postRedraw(kItemMillisecond, millisecondPart::kDigits | millisecondPart::kCount);
  if (!ms_.active()) refreshActivity();
}

void Chip::supplyResult() {
  Cells c = cells();
  const bool low = detector_.finish(supply_);
  c.setMasked(L.supply.result.reg, L.supply.result.mask, low ? L.supply.low.mask : 0);
  indicator_ = (indicator_ & ~(indicator::kMeasuring | indicator::kLow)) | (low ? indicator::kLow : 0);
  kDetectorGroup.raise(c, kReqDetector);
  postRedraw(kItemSupply, indicator::kMeasuring | indicator::kLow);
  refreshActivity();
}

// PB0 selected: the supply against the level. A change shows, requests, and
// a falling result clears the status bits of register 83.
void Chip::compare() {
  const bool low = supply_ <= kLevel;
  if (low == comparatorLow_) return;
  comparatorLow_ = low;
  Cells c = cells();
  indicator_ = low ? (indicator_ | indicator::kComparatorResult) : (indicator_ & ~indicator::kComparatorResult);
  kComparatorGroup.raise(c, kReqComparator);
  if (!low) c.clearBits(L.comparator.status.reg, L.comparator.status.mask);
  postRedraw(kItemSupply, indicator::kComparatorResult);
}

void Chip::setSupply(int hundredths) { supply_ = std::clamp(hundredths, 0, kSupplyMax); }

}  // namespace qv4116
