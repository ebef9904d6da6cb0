#pragma once
// The QV4124 family model's bodies: register handlers, samplers, time-base
// events, the LCD and RAM 2 paging, and the two kinds of reset. Included by
// model.h; a chip's module instantiates them once for its type.
#include <algorithm>

namespace qv4124 {

namespace pin = periphery::pin;

// ---- Reset.

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::reset(ResetKind kind) {
  periphery::Cells c = cells();
  if (c.valid()) {
    periphery::applyReset(L.resetTable, c, kind);
    if (cpu_ != nullptr) {
      resetCpu();
      for (int n = k42::kCond1; n <= k42::kCond3; ++n) cpu_->word[n] = 0;
    }
  }
  lcdMemory_.reset();
  for (int i = 0; i < periphery::LcdMemory<2, 16>::kSize; ++i) lcd_.setSegment(i, 0);
  timeBase_.reset();
  watchdog_.reset();
  watchdogReset_ = false;
  timer_.reset();
  timerTicks_.stop();
  melody_.reset();
  eeprom_.reset();
  detector_.reset();
  serial_.reset();
  serialRunning_ = false;
  for (periphery::Port& p : ports_) p.reset(pin::kRefresh);
  debounced_ = 0;
  std::fill(std::begin(debounce_), std::end(debounce_), 0);
  latchB_ = 0;
  pwmLevel_ = 0;
  lcdState_ = 3;
  page_ = 0;
  clockIndex_ = ClockIndex(oscillator_, reg(L.clock.select.reg));
  timeBase_.setClockIndex(clockIndex_);
  self().refreshActivity();
  postRedraw(kItemPortA, kPortAButton);
  postRedraw(kItemPortB, kPortBButton);
  for (int item = 2; item <= 5; ++item) postRedraw(item, kAllParts);
  postRedraw(kItemTimer, timerPart::kAll);
  postRedraw(8, kAllParts);
  postRedraw(9, kAllParts);
  postRedraw(kItemGpo, kAllParts);
}

// The fastest base-tick tap that has something to do now: the time base
// skips the steps and base ticks below it.
template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::refreshActivity() {
  const periphery::Cells c = cells();
  int m = L.prescaler.secondTap;
  auto use = [&m](int carries) { m = std::min(m, carries); };
  if (eeprom_.busy()) use(0);
  taps_ = Taps{};
  if (c.valid()) {
    taps_.serial = serialRunning_ ? L.serial.clockSelect.of(c.value(L.serial.clockSelect.reg)) : -1;
    const bool timerRuns = c.bit(L.timer.run.reg, L.timer.run.mask);
    taps_.timer = timerRuns ? L.timer.input.of(c.value(L.timer.input.reg)) : -1;
    taps_.melody = melody_.running() ? L.melody.clockSelect.of(c.value(L.melody.clockSelect.reg)) : -1;
    taps_.sampling = L.prescaler.sampling.of(c.value(L.prescaler.sampling.reg));
    taps_.toggles = c.value(L.portB.direction.reg) & c.value(L.portB.pulseOutputs.reg);
    taps_.fast32Hz = c.bit(L.prescaler.fast32Hz.reg, L.prescaler.fast32Hz.mask);
    if (serialRunning_) use(L.serial.taps[L.serial.clockSelect.of(c.value(L.serial.clockSelect.reg))]);
    const int toggles = c.value(L.portB.direction.reg) & c.value(L.portB.pulseOutputs.reg);
    for (int i = 0; i < 3; ++i)
      if ((toggles >> i) & 1) use(L.portB.toggleTaps[i]);
    if (std::any_of(std::begin(debounce_), std::end(debounce_), [](int n) { return n > 0; }) ||
        ports_[0].levels() != debounced_) {
      const int s = L.prescaler.sampling.of(c.value(L.prescaler.sampling.reg));
      use(s == 9 ? 2 : s == 1 ? 5 : 8);
    }
    if (detector_.pending()) use(L.supply.resultTap);
    if (c.bit(L.supply.start.reg, L.supply.start.mask)) use(L.supply.startTap);
    if (melody_.running())
      use(L.melody.taps[L.melody.clockSelect.of(c.value(L.melody.clockSelect.reg))]);
    if (c.bit(L.irq.prescalerEnable.reg, L.irq.prescalerEnable.mask))
      use(c.bit(L.prescaler.fast32Hz.reg, L.prescaler.fast32Hz.mask) ? L.prescaler.fastTap
                                                                      : L.prescaler.slowTap);
    if (c.bit(L.irq.blinkEnable.reg, L.irq.blinkEnable.mask)) use(L.prescaler.blinkTap);
  }
  // The timer on a tap is not a tap in use: the time base hands out the tick
  // of its next match. Its clocks are applied up to here whenever its tap
  // may change (register writes, resets), so a new tap counts from now.
  int timerTap = -1;
  if (c.valid() && c.bit(L.timer.run.reg, L.timer.run.mask)) {
    const int tap = L.timer.taps[L.timer.input.of(c.value(L.timer.input.reg))];
    if (tap < kNoTap) timerTap = tap;
  }
  if (timerTap != timerTicks_.carries()) {
    if (timerTap < 0)
      timerTicks_.stop();
    else
      timerTicks_.follow(timeBase_, timerTap);
  }
  timeBase_.setDue(m, timerDeadline());
}

// ---- Registers.

template <class Self, const Qv4124Layout& L>
int Qv4124Model<Self, L>::onRead(int n) {
  periphery::Cells c = cells();
  switch (n) {
    case L.portB.data.reg: return ports_[1].levels();
    case L.melody.control.reg: return (c.value(n) & 7) | (melody_.running() ? 8 : 0);
    case L.timer.low.reg: return timer_.count() & 15;
    case L.timer.middle.reg: return (timer_.count() >> 4) & 15;
    case L.timer.high.reg: return ((timer_.count() >> 8) & 3) | (c.value(n) & L.timer.width.mask);
    case L.portA.requests.reg: {
      const int v = c.readAndClear(n, 0xF);
      dropPortAEdges();
      return v;
    }
    default: return c.value(n);
  }
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::onWrite(int n, int v, int old) {
  using periphery::Route;
  using M = Qv4124Model;
  using Routes = periphery::WriteRoutes<
      Route<Block::Lcd, &M::writeLcd>, Route<Block::PortA, &M::writePortA>, Route<Block::PortB, &M::writePortB>,
      Route<Block::Serial, &M::writeSerial>, Route<Block::Melody, &M::writeMelody>,
      Route<Block::Timer, &M::writeTimer>, Route<Block::Clock, &M::writeClock>,
      Route<Block::Eeprom, &M::writeEeprom>, Route<Block::Irq, &M::writeIrq>, Route<Block::Power, &M::writePower>,
      Route<Block::Prescaler, &M::writePrescaler>, Route<Block::Ram2, &M::writeRam2>,
      Route<Block::Reset, &M::writeReset>>;
  // The family's own table: a member's lines over it name none of its blocks.
  Routes::write(*this, M::kRegisterMap, n, v, old);
  self().refreshActivity();
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::writeLcd(int n, int v, int old) {
  switch (n) {
    case L.lcd.bank0.reg: lcdWrite(0, v); break;
    case L.lcd.bank1.reg: lcdWrite(1, v); break;
    case L.lcd.control.reg:
      postRedraw(kItemGpo, kAllParts);
      // Into or out of general-purpose outputs.
      if (L.lcd.outputs.setIn(v ^ old)) postRedraw(kItemLcd, 1);
      break;
    default: lcdMode(v, old); break;
  }
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::writePortA(int n, int v, int /*old*/) {
  if (n == L.portA.conditionCopy.reg) {
    for (int i = 0; i < 3; ++i)
      if (simcore::bitAt(v, i)) word(k42::kCond1 + i) = ports_[0].level(i) ? 1 : 0;
    word(k42::kCond1) = ports_[0].level(0) ? 1 : 0;
    return;
  }
  // The enables and the edge select: pending requests and edges are dropped.
  cells().set(L.portA.requests.reg, 0);
  dropPortAEdges();
  refreshArming();
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::writePortB(int n, int v, int /*old*/) {
  if (n == L.portB.data.reg) latchB_ = v;
  if (n != L.portB.pulseOutputs.reg) refreshPortB();
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::writeSerial(int n, int v, int /*old*/) {
  if (n == L.serial.pins.reg) {
    refreshSerialPins();
  } else if (n == L.serial.mode.reg) {
    const int mode = L.serial.modeSelect.of(v);
    if (L.serial.start.setIn(v) && (mode == 1 || mode == 2) && !serialRunning_) serialStart();
    if (mode == 0 || mode == 3) serialRunning_ = false;
    refreshSerialPins();
    postRedraw(kItemSerial, kSerialButton);
  }
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::writeMelody(int n, int v, int /*old*/) {
  periphery::Cells c = cells();
  switch (n) {
    case L.melody.tone.reg: postRedraw(kItemMelody, melodyPart::kTone | melodyPart::kBuzzer); break;
    case L.melody.control.reg:
      melody_.setAutoReload(L.melody.autoReload.setIn(v));
      postRedraw(kItemMelody, melodyPart::kClock | melodyPart::kAutoReload | melodyPart::kContinuous);
      break;
    default:  // the cycles: the counter loaded
      melody_.load(v);
      if (v == 0 && c.bit(L.melody.autoReload.reg, L.melody.autoReload.mask)) {
        c.clearBits(L.melody.autoReload.reg, L.melody.autoReload.mask);
        melody_.setAutoReload(false);
      }
      postRedraw(kItemMelody, melodyPart::kCount | melodyPart::kAutoReload);
      break;
  }
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::writeTimer(int n, int v, int /*old*/) {
  switch (n) {
    case L.timer.control.reg:
      timer_.setUp(L.timer.countUp.setIn(v));
      postRedraw(kItemTimer, timerPart::kInput | timerPart::kStep);
      break;
    case L.timer.command.reg:
      if (L.timer.load.setIn(v)) timerLoad();
      postRedraw(kItemTimer, timerPart::kEnabled | timerPart::kCompareOn | timerPart::kCount);
      break;
    case L.timer.low.reg: timer_.setValueBits(0x00F, v); break;
    case L.timer.middle.reg: timer_.setValueBits(0x0F0, v << 4); break;
    default:  // the high nibble: value bits 8-9 and the width
      timer_.setValueBits(0x300, v << 8);
      timer_.setWidthCode(L.timer.width.of(v));
      postRedraw(kItemTimer, timerPart::kCompareValue | timerPart::kWidth);
      break;
  }
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::writeClock(int /*n*/, int /*v*/, int /*old*/) {
  setOscillator(oscillator_);
  drawClock();
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::writeEeprom(int /*n*/, int v, int /*old*/) {
  periphery::Cells c = cells();
  int r = v;
  const int address = L.eeprom.address.of(c.value(L.eeprom.address.reg));
  const int command = L.eeprom.command.of(v);
  const bool writeEnable = L.eeprom.writeEnable.setIn(v);
  if (command == 2) {
    const int byte = eeprom_.read(address);
    c.set(L.eeprom.low.reg, byte & 15);
    c.set(L.eeprom.high.reg, byte >> 4);
    eeprom_.startBusy(kEepromReadTicks);
    r |= 2;
  } else if (command == 3 && writeEnable) {
    eeprom_.write(address, c.value(L.eeprom.low.reg) | (c.value(L.eeprom.high.reg) << 4));
    eeprom_.startBusy(kEepromWriteTicks);
  } else if (writeEnable && command < 2) {
    r = L.eeprom.writeEnable.with(r, 0);
  }
  c.set(L.eeprom.control.reg, r);
  drawEepromList();
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::writeIrq(int n, int /*v*/, int /*old*/) {
  switch (n) {
    case L.irq.timeEnables.reg:
      postRedraw(kItemPrescaler, prescalerPart::kLeds);
      postRedraw(kItemMelody, melodyPart::kIrq);
      break;
    case L.irq.unitEnables.reg: postRedraw(kItemTimer, timerPart::kIrqEnd | timerPart::kIrqCompare); break;
    default: postRedraw(kItemTimer, timerPart::kPwm); break;  // the control
  }
}

// Only a changed value is stored and acts.
template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::writePower(int n, int v, int old) {
  if (v == old) return;
  cells().set(n, v);
  if (L.power.watchdogClear.setIn(v)) watchdog_.clear();
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::writePrescaler(int /*n*/, int v, int /*old*/) {
  if (L.prescaler.restart.setIn(v)) {
    timeBase_.clearStages(L.prescaler.restartStages);
    timerTicks_.moved(timeBase_);  // its clocks are applied: the chain moved
  }
  postRedraw(kItemPrescaler, prescalerPart::kLabel);
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::writeRam2(int /*n*/, int v, int old) {
  pageWrite(v, old);
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::writeReset(int /*n*/, int /*v*/, int /*old*/) {
  checkResetCombination();
}

// ---- Port A: debounced edges, requests, condition inputs, reset combination.

// One sampling: a pin whose level differs from its debounced level is taken
// at its second sampling.
template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::samplePortA() {
  periphery::Cells c = cells();
  const int levels = ports_[0].levels();
  bool taken = false;
  for (int i = 0; i < 4; ++i) {
    const bool changed = ((levels ^ debounced_) >> i) & 1;
    if (!changed) {
      debounce_[i] = 0;
      continue;
    }
    if (++debounce_[i] < 2) continue;
    debounce_[i] = 0;
    debounced_ ^= 1 << i;
    takePortAEdge(i, (debounced_ >> i) & 1);
    taken = true;
  }
  ports_[0].takeEdges([](periphery::PinEdge) {});
  c.set(L.portA.levels.reg, debounced_);
  for (int i = 0; i < 3; ++i) word(k42::kCond1 + i) = (debounced_ >> i) & 1;
  if (taken) checkResetCombination();
  self().refreshActivity();
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::takePortAEdge(int p, bool rising) {
  periphery::Cells c = cells();
  const bool falling = c.bit(L.portA.edges.reg, 1 << p);
  if (rising != falling) kPortARequests.raise(c, 1 << p);
  const int timerTap =
      c.bit(L.timer.run.reg, L.timer.run.mask) ? L.timer.input.of(c.value(L.timer.input.reg)) : -1;
  if ((p == 0 && timerTap == 0) || (p == 3 && timerTap == 7))
    if (rising != falling) timerClock();
}

// All four pins match: bits n of 124 and 125 both set, or 124 alone with the
// pin low, or 125 alone with the pin high. Then the RESET kind runs.
template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::checkResetCombination() {
  const periphery::Cells c = cells();
  if (!c.valid()) return;
  const int high = c.value(L.reset.high.reg), low = c.value(L.reset.low.reg);
  for (int i = 0; i < 4; ++i) {
    const int h = (high >> i) & 1, l = (low >> i) & 1, level = (debounced_ >> i) & 1;
    const bool match = (h && l) || (h && !l && !level) || (!h && l && level);
    if (!match) return;
  }
  self().reset(kResetPin);
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::dropPortAEdges() {
  debounced_ = ports_[0].levels();
  std::fill(std::begin(debounce_), std::end(debounce_), 0);
  ports_[0].takeEdges([](periphery::PinEdge) {});
}

// The arming marker of each masked pin: rising, or falling with 118's bit.
template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::refreshArming() {
  const int mask = reg(L.portA.enables.reg), select = reg(L.portA.edges.reg);
  for (int i = 0; i < 4; ++i) {
    uint32_t& w = ports_[0].word(i);
    w &= ~(pin::kMarker | pin::kMarkerKind);
    if ((mask >> i) & 1) w |= pin::kMarker | (((select >> i) & 1) ? (1u << 4) : (2u << 4));
  }
  postRedraw(kItemPortA, kPortAButton);
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::SamplePorts() {
  if (registers_ == nullptr) return;
  samplePortA();
  samplePortB();
  sampleSerial();
}

// ---- Port B.

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::refreshPortB() {
  const int outputs = reg(L.portB.direction.reg);
  const bool pwm = L.irq.pwm.setIn(reg(L.irq.pwm.reg));
  bool changed = false;
  for (int i = 0; i < 4; ++i) {
    if ((outputs >> i) & 1) {
      const bool level = (i == 3 && pwm) ? pwmLevel_ != 0 : ((latchB_ >> i) & 1) != 0;
      changed |= ports_[1].drive(i, level);
    } else {
      changed |= ports_[1].release(i);
    }
  }
  samplePortB();
  if (changed) postRedraw(kItemPortB, kPortBButton);
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::togglePortB(int p) {
  if (((reg(L.portB.direction.reg) & reg(L.portB.pulseOutputs.reg)) >> p) & 1) {
    latchB_ ^= 1 << p;
    refreshPortB();
  }
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::samplePortB() {
  periphery::Cells c = cells();
  ports_[1].takeEdges([](periphery::PinEdge) {});
  if (c.valid()) c.set(L.portB.data.reg, ports_[1].levels());
}

// ---- Serial interface.

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::refreshSerialPins() {
  periphery::Port& p = ports_[2];
  const int mode = L.serial.modeSelect.of(reg(L.serial.mode.reg));
  bool changed = false;
  if (mode == 3) {
    for (int i = 0; i < 4; ++i) changed |= p.drive(i, (reg(L.serial.pins.reg) >> i) & 1);
  } else if (mode == 0) {
    for (int i = 0; i < 4; ++i) changed |= p.release(i);
  } else {
    changed |= p.release(kPinIn);
    const bool held = serialRunning_ || L.serial.holdS.setIn(reg(L.serial.mode.reg));
    changed |= held ? p.drive(kPinS, true) : p.release(kPinS);
    changed |= p.drive(kPinOut, serial_.out() != 0);
    if (L.serial.clockSelect.setIn(reg(L.serial.control.reg)))
      changed |= p.drive(kPinClk, serial_.phase() != 0);
    else
      changed |= p.release(kPinClk);
  }
  if (changed) postRedraw(kItemSerial, kSerialButton);
}

namespace detail {
inline int Reverse8(int v) {
  int r = 0;
  for (int i = 0; i < 8; ++i) r |= ((v >> i) & 1) << (7 - i);
  return r;
}
}  // namespace detail

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::serialStart() {
  const int byte = reg(L.serial.low.reg) | (reg(L.serial.high.reg) << 4);
  const bool msbFirst = L.serial.msbFirst.setIn(reg(L.serial.control.reg));
  serial_.setBitsPerTransfer(8);
  serial_.load(msbFirst ? byte : detail::Reverse8(byte));
  serial_.start();
  serialRunning_ = true;
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::serialClock() {
  const periphery::SerialPhases phases{L.serial.phase.of(reg(L.serial.control.reg)), false};
  const periphery::SerialShifter::Clock r = serial_.clock(ports_[2].level(kPinIn), phases);
  if (r.done) {
    periphery::Cells c = cells();
    serialRunning_ = false;
    c.clearBits(L.serial.start.reg, L.serial.start.mask);
    const bool msbFirst = L.serial.msbFirst.setIn(reg(L.serial.control.reg));
    const int byte = msbFirst ? serial_.received() : detail::Reverse8(serial_.received());
    c.set(L.serial.low.reg, byte & 15);
    c.set(L.serial.high.reg, byte >> 4);
    kRequestsC.raise(c, kReqSerial);
    self().refreshActivity();
  }
  refreshSerialPins();
}

// The serial pins clicked: the external clock (Clk pin edges) clocks a
// running frame.
template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::sampleSerial() {
  const bool external = !L.serial.clockSelect.setIn(reg(L.serial.control.reg));
  int clockEdges = 0;
  ports_[2].takeEdges([&](periphery::PinEdge e) { clockEdges += e.pin == kPinClk; });
  if (external)
    for (int i = 0; i < clockEdges && serialRunning_; ++i) serialClock();
}

// ---- Timer.

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::timerLoad() {
  periphery::Cells c = cells();
  timer_.load();
  if (timer_.value() == 0) c.clearBits(L.timer.run.reg, L.timer.run.mask);
}

// The count may have reached the end or the compare value.
template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::timerMatched() {
  periphery::Cells c = cells();
  const periphery::Timer10::Match s = timer_.match();
  const bool fullCompare = c.bit(L.irq.fullCompare.reg, L.irq.fullCompare.mask);
  const bool pwm = c.bit(L.irq.pwm.reg, L.irq.pwm.mask);
  if (s.end) {
    kRequestsC.raise(c, kReqEnd);
    if (pwm) pwmLevel_ = 1;
  }
  const bool compare = fullCompare ? s.fullCompare : s.compare;
  if (c.bit(L.timer.compare.reg, L.timer.compare.mask) && compare) {
    kRequestsC.raise(c, kReqCompare);
    if (pwm) pwmLevel_ = 0;
    if (fullCompare && pwm) {
      c.clearBits(L.timer.run.reg, L.timer.run.mask);
      self().refreshActivity();
      postRedraw(kItemTimer, timerPart::kEnabled);
    }
  }
  if (pwm && (s.end || compare)) refreshPortB();
}

// ---- Melody, EEPROM, supply detector.

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::melodyClock() {
  if (melody_.clock()) {
    periphery::Cells c = cells();
    kRequestsB.raise(c, kReqMelody);
  }
  if (!melody_.running()) self().refreshActivity();
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::eepromDone() {
  periphery::Cells c = cells();
  c.clearBits(L.eeprom.busy.reg, L.eeprom.busy.mask);
  if (c.bit(L.eeprom.write.reg, L.eeprom.write.mask)) kRequestsC.raise(c, kReqEeprom);
  self().refreshActivity();
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::supplyStart() {
  detector_.start(L.supply.highLevel.setIn(reg(L.supply.highLevel.reg)) ? kLevelHigh : kLevelLow);
  self().refreshActivity();
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::supplyResult() {
  periphery::Cells c = cells();
  const bool low = detector_.finish(supply_);
  const int startAndLow = L.supply.start.mask | L.supply.low.mask;
  c.setMasked(L.supply.control.reg, startAndLow, low ? L.supply.low.mask : 0);
  // At the low level the result also sets the EEPROM's write enable (the
  // supply suffices) or clears it.
  const simcore::Field enable = L.eeprom.writeEnable;
  if (detector_.level() == kLevelLow) c.setMasked(enable.reg, enable.mask, low ? 0 : enable.mask);
  self().refreshActivity();
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::setSupply(int hundredths) { supply_ = std::clamp(hundredths, 0, L.supply.maximum); }

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::setOscillator(Oscillator osc) {
  catchUpTimer();
  oscillator_ = osc;
  clockIndex_ = ClockIndex(osc, reg(L.clock.select.reg));
  timeBase_.setClockIndex(clockIndex_);
  timerTicks_.moved(timeBase_);
  setTimerDeadline();
}

// ---- LCD and RAM 2.

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::lcdWrite(int bank, int nibble) {
  const int index = lcdMemory_.index(bank, reg(L.ram2.page.reg));
  lcdMemory_.set(index, nibble);
  const int control = reg(L.lcd.control.reg);
  if (L.lcd.outputs.setIn(control)) {
    postRedraw(kItemGpo, 1);
    return;
  }
  lcd_.setSegment(index, L.lcd.wholeNibble.setIn(control) ? ((nibble & 1) ? 15 : 0) : nibble);
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::lcdMode(int v, int old) {
  if (v == old) return;
  const bool off = L.lcd.off.setIn(v), mux15 = L.lcd.mux15.setIn(v);
  if (reg(L.lcd.control.reg) == 0) lcd_.setMode(off ? 0 : 1, mux15 ? 15 : 7);
  lcdState_ = (mux15 ? 1 : 0) | (off ? 2 : 0);
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::refreshLcd() {
  if (L.lcd.outputs.setIn(reg(L.lcd.control.reg))) {
    lcd_.setStatus(0);
    return;
  }
  for (int i = 0; i < periphery::LcdMemory<2, 16>::kSize; ++i) lcd_.setSegment(i, lcdMemory_.at(i));
  lcd_.setMux((lcdState_ & 1) ? 15 : 7);
  lcd_.setStatus((lcdState_ & 2) ? 0 : 1);
}

template <class Self, const Qv4124Layout& L>
void Qv4124Model<Self, L>::pageWrite(int page, int old) {
  periphery::Cells c = cells();
  ram2_.switchBank(c, old, page);
  page_ = page;
  c.set(L.ram2.page.reg, page);
  c.set(L.lcd.bank0.reg, lcdMemory_.at(lcdMemory_.index(0, page)));
  c.set(L.lcd.bank1.reg, lcdMemory_.at(lcdMemory_.index(1, page)));
}

template <class Self, const Qv4124Layout& L>
int Qv4124Model<Self, L>::ram2(int page, int i) const {
  if (registers_ != nullptr && page == reg(L.ram2.page.reg)) return reg(L.ram2.window.reg + i);
  return ram2_.valueAt(page, i);
}

}  // namespace qv4124
