// QV4234's periphery model: register handlers, port A, timer, serial,
// comparator, resets and the controller options.
#include <algorithm>

#include "qv4234.h"

namespace qv4234 {

using periphery::Cells;
using periphery::PinEdge;
namespace pin = periphery::pin;

const char* FunctionText(PinFunction f) {
  switch (f) {
    case PinFunction::Pwm: return "PWM";
    case PinFunction::Clk: return "Clk";
    case PinFunction::Por: return "POR";
    case PinFunction::Out: return "Out";
    case PinFunction::Freq: return "Freq";
    case PinFunction::S: return "S";
    case PinFunction::Adc: return "ADC";
    case PinFunction::None: break;
  }
  return "NC";
}

void Chip::setReg(int n, int v) {
  latch_.store(n, v & 15);
  Cells c = cells();
  if (c.valid()) c.set(n, v);
}

void Chip::raise(const periphery::RequestGroup& g, int mask) {
  Cells c = cells();
  if (c.valid()) g.raise(c, mask);
}

void Chip::postAll() {
  postRedraw(kItemPortA, kFirstPinButton);
  postRedraw(kItemComparator, comparatorItem::kAll);
  postRedraw(kItemPrescaler, prescalerItem::kAll);
  postRedraw(kItemTimer, timerItem::kAll);
}

// ---- Resets.

// Watchdog, sleep time-out and pin level: the periphery reset table.
void Chip::peripheryReset() {
  ShowDeferredState();  // the reset keeps what the registers show
  Cells c = cells();
  periphery::applyReset(kPeripheryReset, latch_, 0);
  if (c.valid()) periphery::applyReset(kPeripheryReset, c, 0);
  if (cpu_ != nullptr) resetCpu(1u << k42::kIndex);  // the index register word stays
  clearPeriphery();
  if (params_[kFieldRestartPowerOn] != 0) {
    supply_.reset();
    params_[kFieldComparatorUp] = 0;
  }
  deriveState();
  postAll();
}

void Chip::clearPeriphery() {
  prescaler_.reset();
  watchdog_.reset();
  timer_.reset();
  serial_.reset();
  comparator_.reset();
  channelAdc_ = false;
  resetRequest_ = false;
  tickCount_ = 0;
  rcCount_ = 0;
  sleepCountdown_ = kSleepRounds;
  outputLatch_ = 0;
  pwm_ = freqPa2_ = freqPa5_ = sLine_ = false;
  // Pins as at power-on: "L" on every button, markers, PA4 without text.
  port_.reset(pin::kMarker | pin::kTextShown | pin::kRefresh);
  port_.word(4) = pin::kMarker;
  refreshRare();
}

// Power-on: the periphery reset, then every register 0-125 cleared except
// the second function register (ports.functions2) = 3 and the watchdog
// register (control.watchdog) = 8; the comparator's threshold index = the
// parameter field kFieldPowerOnIndex, or the one after it with the option
// kOptPowerOnIndex; the index register and the power-on comparison cleared.
void Chip::powerOnReset(bool post) {
  ShowDeferredState();
  Cells c = cells();
  periphery::applyReset(kPowerOnReset, latch_, 0);
  if (c.valid()) periphery::applyReset(kPowerOnReset, c, 0);
  if (cpu_ != nullptr) resetCpu();
  clearPeriphery();
  setReg(L.ports.functions2.reg, 3);
  setReg(L.control.watchdog.reg, 8);
  const int index = params_[kFieldPowerOnIndex + ((options_.word[3] & kOptPowerOnIndex) ? 1 : 0)];
  setReg(L.comparator.thresholdIndex.reg, index);
  supply_.reset();
  params_[kFieldComparatorUp] = 0;
  deriveState();
  if (post) postAll();
}

// Every state that follows the control registers, after a reset.
void Chip::deriveState() {
  timerInput_ = latch_.value(L.timer.input);
  timer_.setUp(latch_.test(L.timer.up));
  timer_.setFullCompare(latch_.test(L.control.fullCompare));
  timer_.setDoubleStep(params_[kFieldDoubleStep] != 0);
  freqTap_ = latch_.value(L.output.frequencyTap);
  serialOnInstructionClock_ = latch_.test(L.control.serialTap12OnClock);
  setTickDivider(latch_.at(L.control.tickDivider.reg));
  applyRegisterFields();
  updateSerialTap();
  updateRc();
  updateSleep();
  refreshPins();
  refreshMarkers();
  updateDue();
  refreshRare();
}

// The fields of the active set that registers write.
void Chip::applyRegisterFields() {
  const int n = latch_.value(L.control.tickExponent);
  params_[kFieldTickExponent] = n > 4 ? 0 : n;
  params_[kFieldTickBit3] = latch_.value(L.control.tickBit3);
  params_[kFieldRcMode] = latch_.value(L.control.rcClock);
  params_[kFieldAdcIndex] = latch_.at(L.comparator.thresholdIndex.reg);
  params_[kFieldSupplyIndex] = latch_.at(L.comparator.thresholdIndex.reg);
}

void Chip::updateRc() {
  rcActive_ = latch_.test(L.control.rcClock) && timerInput_ == 7 && timer_.running();
  refreshRare();
}

bool Chip::tapInUse(Event e) const {
  const bool freqOut = function_[2] == PinFunction::Freq || function_[5] == PinFunction::Freq;
  switch (e) {
    case Event::FreqTap3: return freqOut && freqTap_ == 3;
    case Event::FreqTap2: return freqOut && freqTap_ == 2;
    case Event::FreqTap1: return freqOut && freqTap_ == 1;
    case Event::FreqTap0: return freqOut && freqTap_ == 0;
    case Event::TimerInput1: return false;
    case Event::TimerInput2: return timerInput_ == 2;
    case Event::TimerInput3: return timerInput_ == 3;
    case Event::TimerInput4: return timerInput_ == 4;
    case Event::TimerInput5: return timerInput_ == 5;
    case Event::TimerInput6: return timerInput_ == 6;
    case Event::SerialTap4: return serialTap_ == 4;
    case Event::SerialTap8: return serialTap_ == 8;
    case Event::SerialTap12: return serialTap_ == 12;
    case Event::ComparatorStep: return comparator_.active();
    case Event::Prescaler64Hz: return latch_.test(L.control.fast64Hz);
    case Event::Prescaler8Hz: return !latch_.test(L.control.fast64Hz);
    case Event::OneHzInterrupt:
    case Event::WatchdogStep: return true;
  }
  return true;
}

void Chip::updateDue() {
  prescaler_.setDueFrom(periphery::firstTapInUse(
      kTicks, [this](Event e) { return tapInUse(e); }, kPrescalerChain.stages));
  arm();
}

void Chip::arm() {
  catchUp();
  rearm();
}

[[gnu::always_inline]] inline void Chip::rearm() {
  if (rare_ != 0) {
    countdown_.dueNext();
    return;
  }
  uint32_t ticks = prescaler_.ticksToDue();
  if (timerInput_ == 1 && timer_.running())
    ticks = std::min(ticks, static_cast<uint32_t>(timer_.stepsToMatch()));
  // The next tick is tickPeriod_ - tickCount_ rounds away, the ones after
  // it a period apart.
  countdown_.arm(static_cast<uint32_t>(tickPeriod_ - tickCount_) + ((ticks - 1) << tickShift_));
}

// Common rounds whose ticks are none of them due: the chain and the 16 kHz
// timer step at once.
[[gnu::always_inline]] inline void Chip::applyRounds(uint32_t rounds) {
  const uint32_t counted = static_cast<uint32_t>(tickCount_) + rounds;
  const uint32_t ticks = counted >> tickShift_;
  tickCount_ = static_cast<int>(counted & static_cast<uint32_t>(tickPeriod_ - 1));
  if (ticks == 0) return;
  prescaler_.advance(ticks);
  if (timerInput_ == 1 && timer_.running()) {
    timer_.advance(static_cast<int>(ticks));
    counterBehind_ = true;
  }
}

void Chip::skipRounds() {
  applyRounds(countdown_.takeCounted());
}

void Chip::dueRound() {
  applyRounds(countdown_.takeBeforeDue());  // the current round is not one of them
  if (++tickCount_ >= tickPeriod_) {
    tickCount_ = 0;
    Periphery_Tick();
    if (rare_ != 0) afterTick();
  }
  rearm();
}

void Chip::updateSleep() {
  sleeping_ = latch_.test(L.control.sleepRequest) && latch_.test(L.control.sleepEnable);
  refreshRare();
}

void Chip::updateSerialTap() {
  const int clock = latch_.bits(L.serial.clock);  // in place: the tap 4, 8 or 12
  serialTap_ = (serial_.running() && clock != 0) ? clock : -1;
  refreshRare();
}

// ---- Registers.

int Chip::onRead(int n) {
  Cells c = cells();
  // Request register 103: read and cleared; the pin edge bits go too.
  for (int p = 0; p < kPins; ++p) port_.word(p) &= ~pin::kEdges;
  return c.readAndClear(n, 0xF);
}

// Every write: the latch takes what the register now holds, the block that
// owns the register acts, and what is due follows the new settings.
void Chip::onWrite(int n, int v, int old) {
  using Routes = periphery::WriteRoutes<
      periphery::Route<Block::Ports, &Chip::writePorts>, periphery::Route<Block::Output, &Chip::writeOutput>,
      periphery::Route<Block::Serial, &Chip::writeSerial>, periphery::Route<Block::Timer, &Chip::writeTimer>,
      periphery::Route<Block::Irq, &Chip::writeIrq>, periphery::Route<Block::Control, &Chip::writeControl>,
      periphery::Route<Block::Comparator, &Chip::writeComparator>>;
  latch_.store(n, cells().value(n));
  Routes::write(*this, kRegisterMap, n, v, old);
  updateDue();
}

void Chip::writePorts(int n, int v, int /*old*/) {
  Cells c = cells();
  switch (n) {
    case L.ports.portA.reg:
      latch_.store(n, v);
      outputLatch_ = (outputLatch_ & ~0xF) | v;
      refreshPins();
      break;
    case L.ports.directions.reg:
    case L.ports.functions.reg:
    case L.ports.functions2.reg:
      refreshPins();
      postRedraw(kItemTimer, timerItem::kPwm);
      break;
    case L.ports.edges.reg:
      c.setMasked(L.irq.requests1.reg, L.irq.requests1.mask, 0);
      refreshMarkers();
      break;
    case L.ports.pinSelect.reg:
      refreshMarkers();
      break;
    case L.ports.portA45.reg:
      outputLatch_ = (outputLatch_ & ~0x20) | (L.ports.pa5Latch.of(v) << 5);
      refreshPins();
      break;
    default:
      break;
  }
}

void Chip::writeOutput(int /*n*/, int v, int /*old*/) { freqTap_ = L.output.frequencyTap.of(v); }

void Chip::writeSerial(int n, int v, int /*old*/) {
  if (n == L.serial.mode.reg) {
    updateSerialTap();
    return;
  }
  if (L.serial.start.setIn(v) && !serial_.running()) startTransfer();
  if (!L.serial.start.setIn(v) && serial_.running()) {  // the program stops a transfer
    serial_.stop();
    sLine_ = L.serial.keepHigh.setIn(v);
    updateSerialTap();
  }
  refreshPins();
}

void Chip::writeTimer(int n, int v, int /*old*/) {
  Cells c = cells();
  switch (n) {
    case L.timer.mode.reg: {
      const bool wasUp = timer_.up();
      timerInput_ = L.timer.input.of(v);
      timer_.setUp(L.timer.up.setIn(v));
      if (wasUp != timer_.up()) {
        // The direction changed: counter and value are mirrored, and so
        // are the registers that show them.
        timer_.mirror();
        c.set(L.timer.value0.reg, ~c.value(L.timer.value0.reg));
        c.set(L.timer.value1.reg, ~c.value(L.timer.value1.reg));
        c.setMasked(L.timer.valueHigh.reg, L.timer.valueHigh.mask, ~c.value(L.timer.valueHigh.reg));
        for (int r = L.timer.value0.reg; r <= L.timer.value2.reg; ++r) latch_.store(r, c.value(r));
      }
      updateRc();
      postRedraw(kItemTimer, timerItem::kInput | timerItem::kDirection | timerItem::kCompare |
                                 timerItem::kCounter);
      break;
    }
    case L.timer.control.reg: {
      bool run = L.timer.run.setIn(v);
      timer_.setCompareEnabled(L.timer.compareEnable.setIn(v));
      if (L.timer.load.setIn(v)) {
        if (!timer_.load()) run = false;  // a start value of 0 stops the timer
        c.clearBits(L.timer.control.reg, L.timer.load.mask | L.timer.compareEnable.mask);
      }
      // Not started on a full compare already matched, with 108 bit 3.
      if (run && !timer_.running() && latch_.test(L.control.startRefusal) && latch_.test(L.control.fullCompare) &&
          timer_.countAtValue())
        run = false;
      timer_.setRunning(run);
      if (!run) c.clearBits(L.timer.control.reg, L.timer.run.mask);
      latch_.store(n, c.value(n));
      updateRc();
      postRedraw(kItemTimer, timerItem::kRun | timerItem::kCompareOn | timerItem::kCounter);
      break;
    }
    default: {  // the value registers
      const int high = c.value(L.timer.value2.reg);
      timer_.setValue(c.value(L.timer.value0.reg) | c.value(L.timer.value1.reg) << 4 |
                      L.timer.valueHigh.of(high) << 8);
      timer_.setWidthCode(L.timer.width.of(high));
      postRedraw(kItemTimer, timerItem::kCompare | timerItem::kWidth | timerItem::kCounter);
      break;
    }
  }
}

void Chip::writeIrq(int n, int /*v*/, int /*old*/) {
  if (n == L.irq.enables1.reg)
    postRedraw(kItemTimer, timerItem::kEndEnable | timerItem::kCompareEnable);
  else
    postRedraw(kItemPrescaler, prescalerItem::kEnables);
}

void Chip::writeControl(int n, int v, int /*old*/) {
  Cells c = cells();
  switch (n) {
    case L.control.system.reg:
      timer_.setFullCompare(L.control.fullCompare.setIn(v));
      updateSleep();
      postRedraw(kItemTimer, timerItem::kCompare);
      break;
    case L.control.watchdog.reg:
      if (L.control.clearWatchdog.setIn(v)) {
        watchdog_.clear();
        c.setMasked(L.control.watchdog.reg, L.control.watchdogCount.mask, 0);
        latch_.store(n, c.value(n));
      }
      updateSleep();
      break;
    case L.control.prescaler.reg:
      if (L.control.restart.setIn(v)) prescaler_.reset();
      postRedraw(kItemPrescaler, prescalerItem::kLabel);
      break;
    case L.control.clockOptions.reg:
      serialOnInstructionClock_ = L.control.serialTap12OnClock.setIn(v);
      refreshRare();
      applyRegisterFields();
      updateRc();
      break;
    case L.control.tickDivider.reg:
      setTickDivider(v);
      if (tickCount_ >= tickPeriod_) tickCount_ = 0;
      applyRegisterFields();
      break;
    default:  // the sleep options: read where they act
      break;
  }
}

void Chip::writeComparator(int n, int v, int /*old*/) {
  switch (n) {
    case L.comparator.control.reg: {
      const bool adc = L.comparator.adcChannel.setIn(v);
      comparator_.setContinuous(L.comparator.continuous.setIn(v));
      if (L.comparator.start.setIn(v)) comparator_.start();
      if (adc != channelAdc_) {
        channelAdc_ = adc;
        refreshPins();
      }
      postRedraw(kItemComparator, comparatorItem::kAll);
      break;
    }
    case L.comparator.thresholdIndex.reg:
      applyRegisterFields();
      break;
    default:  // the top threshold
      params_[kFieldAdcThreshold + 15] = params_[kFieldAdcTopPair + L.comparator.topOfPair.of(v)];
      params_[kFieldSupplyThreshold + 15] = params_[kFieldSupplyTopPair + L.comparator.topOfPair.of(v)];
      break;
  }
}

// ---- Timer.

// An end or compare match (the whole count with the full compare on); the
// timer is stepped only while it runs, so a stopped timer is the full
// compare's stop.
void Chip::timerMatch(const Timer::Match& m) {
  if (m.compare && timer_.compareEnabled()) raise(kPinTimerRequests, kReqCompare);
  if (m.end) raise(kPinTimerRequests, kReqEnd);
  if (!timer_.running()) {
    setReg(L.timer.control.reg, L.timer.run.with(latch_.at(L.timer.control.reg), 0));
    updateRc();
    postRedraw(kItemTimer, timerItem::kRun);
  }
  if (latch_.test(L.ports.pwm)) {
    // PWM: high at the end value, low at the compare match counting up;
    // the reverse counting down.
    const bool level = m.end ? timer_.up() : !timer_.up();
    if (level != pwm_) {
      pwm_ = level;
      refreshPins();
    }
  }
}

// ---- Comparator.

void Chip::measure() {
  const int index = latch_.at(L.comparator.thresholdIndex.reg);
  const int voltage = channelAdc_ ? params_[kFieldAdcVoltage] : params_[kFieldSupplyVoltage];
  const int threshold = params_[(channelAdc_ ? kFieldAdcThreshold : kFieldSupplyThreshold) + index];
  const periphery::LevelComparator::Result r = comparator_.step(voltage, threshold);
  Cells c = cells();
  if (!c.valid()) return;
  if (r.atOrAbove) {
    c.setBits(L.comparator.result.reg, L.comparator.result.mask);
    c.clearBits(L.comparator.start.reg, L.comparator.start.mask);
  } else {
    c.clearBits(L.comparator.control.reg, L.comparator.result.mask | L.comparator.start.mask);
    raise(kSystemRequests, kReqComparator);
  }
  latch_.store(L.comparator.control.reg, c.value(L.comparator.control.reg));
  postRedraw(kItemComparator, comparatorItem::kMode);
}

void Chip::checkSupply() {
  supply_.check(params_[kFieldSupplyVoltage], params_[kFieldSupplyFall], params_[kFieldSupplyRise]);
  params_[kFieldComparatorUp] = supply_.up() ? 1 : 0;
  refreshRare();
}

void Chip::setAdcVoltage(int v) {
  params_[kFieldAdcVoltage] = v < 0 ? 0 : v > params_[kFieldSliderTop] ? params_[kFieldSliderTop] : v;
}

// The supply slider: a running chip whose supply falls below the fall level
// is held in power-on reset from the next round on.
void Chip::setSupplyVoltage(int v) {
  params_[kFieldSupplyVoltage] = v < 0 ? 0 : v > params_[kFieldSliderTop] ? params_[kFieldSliderTop] : v;
  checkSupply();
}

// ---- Frequency outputs: PA2 with "Freq" as an output, PA5 with
// ports.pa5Output and ports.pa5Frequency. Only the slowest tap is drawn at every toggle; faster ones
// show as the pin's function.
void Chip::toggleFrequency() {
  bool changed = false;
  if (function_[2] == PinFunction::Freq) {
    freqPa2_ = !freqPa2_;
    changed = true;
  }
  if (function_[5] == PinFunction::Freq) {
    freqPa5_ = !freqPa5_;
    changed = true;
  }
  if (!changed) return;
  refreshPins();
}

// ---- Serial interface: clock PA1, data out PA2, "S" line PA3; the input
// bit is the level of PA2 (the data line: the user's level when PA2 is an
// input, the bit sent when the chip drives it).
void Chip::startTransfer() {
  Cells c = cells();
  const int data = (c.valid() ? c.value(L.serial.low.reg) | c.value(L.serial.high.reg) << 4 : 0);
  serial_.start(data, latch_.test(L.serial.msbFirst) ? periphery::BitOrder::MsbFirst : periphery::BitOrder::LsbFirst,
                latch_.test(L.serial.risingPhase) ? periphery::OutputPhase::Rising : periphery::OutputPhase::Falling);
  sLine_ = true;
  updateSerialTap();
}

void Chip::serialClock() {
  const periphery::ByteShifter::Clock r = serial_.clock(port_.level(2));
  if (r.done) serialDone();
  if (r.changed) refreshPins();
}

void Chip::serialDone() {
  Cells c = cells();
  setReg(L.serial.control.reg, L.serial.start.with(latch_.at(L.serial.control.reg), 0));
  raise(kSystemRequests, kReqSerial);
  if (c.valid()) {
    c.set(L.serial.low.reg, serial_.received() & 15);
    c.set(L.serial.high.reg, serial_.received() >> 4);
  }
  sLine_ = latch_.test(L.serial.keepHigh);
  updateSerialTap();
}

// ---- Port A.

// Pins driven by the chip and their functions, from ports.directions,
// ports.pa5Output, the function registers (ports.functions, ports.functions2)
// and the comparator channel; outputs without a function show the latch.
void Chip::refreshPins() {
  const int dir = latch_.at(L.ports.directions.reg);
  PinFunction f[kPins] = {};
  bool level[kPins] = {};
  bool driven[kPins] = {};
  for (int p = 0; p < 4; ++p) {
    driven[p] = simcore::bitAt(dir, p);
    level[p] = simcore::bitAt(outputLatch_, p);
  }
  if (latch_.test(L.ports.pa0Pwm)) f[0] = PinFunction::Pwm, level[0] = pwm_;
  if (latch_.test(L.ports.pa1Clock)) f[1] = PinFunction::Clk, level[1] = serial_.clockLevel();
  else if (latch_.test(L.ports.pa1Pwm)) f[1] = PinFunction::Pwm, level[1] = pwm_;
  switch (latch_.value(L.ports.pa2Function)) {
    case 3: f[2] = PinFunction::Por, level[2] = supply_.up(); break;
    case 2:
      f[2] = PinFunction::Out, level[2] = serial_.running() ? serial_.out() : simcore::bitAt(outputLatch_, 2);
      break;
    case 1: f[2] = PinFunction::Freq, level[2] = freqPa2_; break;
    default: break;
  }
  if (latch_.test(L.ports.pa3Serial)) f[3] = PinFunction::S, level[3] = sLine_;
  driven[5] = latch_.test(L.ports.pa5Output);
  level[5] = simcore::bitAt(outputLatch_, 5);
  if (latch_.test(L.ports.pa5Frequency)) f[5] = PinFunction::Freq, level[5] = freqPa5_;
  bool changed = false;
  for (int p = 0; p < kPins; ++p) {
    if (p == 4) continue;
    const PinFunction fn = driven[p] ? f[p] : PinFunction::None;
    if (fn != function_[p]) {
      function_[p] = fn;
      port_.word(p) |= pin::kRefresh;
      changed = true;
    }
    changed |= driven[p] ? port_.drive(p, level[p]) : port_.release(p);
  }
  // PA4 is the ADC input while the comparator measures that channel.
  uint32_t& w4 = port_.word(4);
  const bool adc = channelAdc_;
  if (adc != (function_[4] == PinFunction::Adc)) {
    function_[4] = adc ? PinFunction::Adc : PinFunction::None;
    w4 = (w4 & ~pin::kDriven) | (adc ? pin::kDriven : 0u) | pin::kRefresh;
    changed = true;
  }
  Cells c = cells();
  if (c.valid()) {
    c.set(L.ports.portA.reg, port_.levels() & 15);
    c.setMasked(L.ports.levels45.reg, L.ports.levels45.mask, port_.levels() >> 4);
  }
  if (changed) postRedraw(kItemPortA, kFirstPinButton);
}

// Interrupt markers: pin interrupt 0 on PA0 or PA5, pin interrupt 1 on PA3 or
// PA4, kind 1 for a falling and 2 for a rising edge.
void Chip::refreshMarkers() {
  for (int p = 0; p < kPins; ++p) port_.word(p) &= ~pin::kMarkerKind;
  port_.word(int0Pin()) |= latch_.test(L.ports.int0Falling) ? (1u << 4) : (2u << 4);
  port_.word(int1Pin()) |= latch_.test(L.ports.int1Falling) ? (1u << 4) : (2u << 4);
  postRedraw(kItemPortA, kFirstPinButton);
}

bool Chip::clickPinA(int p) {
  if (p < 0 || p >= kPins || !port_.toggle(p)) return false;
  postRedraw(kItemPortA, kFirstPinButton);
  if (registers_ != nullptr) {
    window_.busy = 1;
    samplePortA();
    window_.busy = 0;
  }
  return true;
}

// Port A sampling: levels into 80 and 96, the jump conditions, the pin
// interrupts and the timer's pin inputs on their edges, then the pin-level
// reset and the wake-up pins.
void Chip::samplePortA() {
  Cells c = cells();
  if (!c.valid()) return;
  c.set(L.ports.portA.reg, port_.levels() & 15);
  c.setMasked(L.ports.levels45.reg, L.ports.levels45.mask, port_.levels() >> 4);
  const int src0 = int0Pin(), src1 = int1Pin();
  if (cpu_ != nullptr) {
    cpu_->word[k42::kCond1] = port_.level(src0) ? 1 : 0;
    cpu_->word[k42::kCond2] = port_.level(src1) ? 1 : 0;
  }
  const bool falling0 = latch_.test(L.ports.int0Falling), falling1 = latch_.test(L.ports.int1Falling);
  const bool rcMode = latch_.test(L.control.rcClock);
  port_.takeEdges([&](PinEdge e) {
    if (e.pin == src0 && e.rising != falling0) raise(kPinTimerRequests, kReqPin0);
    if (e.pin == src1 && e.rising != falling1) raise(kPinTimerRequests, kReqPin1);
    const bool timerEdge = e.rising != falling1;
    if (timerEdge && ((timerInput_ == 0 && e.pin == 0) || (timerInput_ == 7 && !rcMode && e.pin == src1))) {
      timerStep();
      ShowDeferredState();  // a click between runs shows the count at once
    }
    if (e.pin == 1 && serial_.running() && !latch_.test(L.serial.clock)) serialClock();
  });
  resetByPin();
}

void Chip::resetByPin() {
  const int src0 = int0Pin(), src1 = int1Pin();
  bool reset = false;
  if (latch_.test(L.output.pinReset))
    reset = port_.level(src1) && (sleeping_ || latch_.test(L.output.pinResetAwake));
  if (sleeping_) {
    if (latch_.test(L.ports.wakeByInt0Pin) && port_.level(src0)) reset = true;
    if (latch_.test(L.ports.wakeByInt1Pin) && port_.level(src1)) reset = true;
  }
  if (reset) peripheryReset();
}

// ---- The run loop's rare work.

// The round while any rare work is flagged, in its order: the supply and
// sleep end the round early, the RC clock steps the timer before the tick,
// the serial clock and a reset request follow it. Returns the counter, or
// its complement when the run ends.
int32_t Chip::rareRound(int32_t mode, int32_t pc) {
  countdown_.dueNext();  // this round is its own; so is the next one
  if (!supply_.up()) {
    // Power-on hold: the reset repeats while the supply is below the level
    // needed; the window is told once, when the hold begins.
    checkSupply();
    if (!supply_.up()) {
      powerOnReset(!holding_);
      holding_ = true;
      reloadPcAfterReset(pc);
      return pc;
    }
    holding_ = false;
  }
  if (sleeping_) {
    if (!latch_.test(L.control.noSleepTimeout) && --sleepCountdown_ <= 0) peripheryReset();
    reloadPcAfterReset(pc);
    return pc;
  }
  if (rcActive_ && ++rcCount_ >= rcPeriod()) {
    rcCount_ = 0;
    timerStep();
  }
  if (++tickCount_ >= tickPeriod_) {
    tickCount_ = 0;
    Periphery_Tick();
  }
  afterTick();
  if (rare_ == 0) arm();  // back to the common round
  reloadPcAfterReset(pc);
  return stepRound(mode, pc) ? pc : ~pc;
}

// After the tick: the serial clock on the instruction clock, then a reset
// the watchdog requested.
void Chip::afterTick() {
  if (serialOnInstructionClock_ && serialTap_ == 12) {
    serialClock();
    serialClock();
  }
  if (resetRequest_) peripheryReset();
}

// ---- Controller options.

int32_t Chip::SetControllerOptions(const char* text) {
  options_.set(text);
  params_ = BuildActiveSet(options_.word[3]);
  applyRegisterFields();
  params_[kFieldComparatorUp] = supply_.up() ? 1 : 0;
  timer_.setDoubleStep(params_[kFieldDoubleStep] != 0);
  checkSupply();
  if (dialog() != nullptr) Window_Init(dialog());
  postRedraw(kItemOptions, 0);
  return 0;
}

}  // namespace qv4234
