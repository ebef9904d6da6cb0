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
// 98 = 3 and 106 = 8; 116 = the threshold index of field 34 or 35; the index
// register and the power-on comparison cleared.
void Chip::powerOnReset(bool post) {
  ShowDeferredState();
  Cells c = cells();
  periphery::applyReset(kPowerOnReset, latch_, 0);
  if (c.valid()) periphery::applyReset(kPowerOnReset, c, 0);
  if (cpu_ != nullptr) resetCpu();
  clearPeriphery();
  setReg(kPinFunctions2, 3);
  setReg(kWatchdog, 8);
  const int index = params_[kFieldPowerOnIndex + ((options_.word[3] & kOptPowerOnIndex) ? 1 : 0)];
  setReg(kThresholdIndex, index);
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
  setTickDivider(latch_.at(kTickDivider));
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
  int n = latch_.at(kTickDivider) & 7;
  params_[kFieldTickExponent] = n > 4 ? 0 : n;
  params_[kFieldTickBit3] = (latch_.at(kTickDivider) >> 3) & 1;
  params_[kFieldRcMode] = latch_.value(L.control.rcClock);
  params_[kFieldAdcIndex] = latch_.at(kThresholdIndex);
  params_[kFieldSupplyIndex] = latch_.at(kThresholdIndex);
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

void Chip::onWrite(int n, int v, int old) {
  Cells c = cells();
  latch_.store(n, c.value(n));
  switch (n) {
    case kPortA:
      latch_.store(n, v);
      outputLatch_ = (outputLatch_ & ~0xF) | v;
      refreshPins();
      break;
    case kDirections:
    case kPinFunctions:
    case kPinFunctions2:
      refreshPins();
      postRedraw(kItemTimer, timerItem::kPwm);
      break;
    case kEdges:
      c.setMasked(kRequests1, 0xF, 0);
      refreshMarkers();
      break;
    case kPinSelect:
      refreshMarkers();
      break;
    case kOutputControl:
      freqTap_ = L.output.frequencyTap.of(v);
      break;
    case kSerialMode:
      updateSerialTap();
      break;
    case kSerialControl:
      if (L.serial.start.setIn(v) && !serial_.running()) startTransfer();
      if (!L.serial.start.setIn(v) && serial_.running()) {  // the program stops a transfer
        serial_.stop();
        sLine_ = L.serial.keepHigh.setIn(v);
        updateSerialTap();
      }
      refreshPins();
      break;
    case kTimerMode: {
      const bool wasUp = timer_.up();
      timerInput_ = L.timer.input.of(v);
      timer_.setUp(L.timer.up.setIn(v));
      if (wasUp != timer_.up()) {
        // The direction changed: counter and value are mirrored, and so
        // are the registers that show them.
        timer_.mirror();
        c.set(kTimerValue0, ~c.value(kTimerValue0));
        c.set(kTimerValue1, ~c.value(kTimerValue1));
        c.setMasked(kTimerValue2, 0x3, ~c.value(kTimerValue2));
        for (int r = kTimerValue0; r <= kTimerValue2; ++r) latch_.store(r, c.value(r));
      }
      updateRc();
      postRedraw(kItemTimer, timerItem::kInput | timerItem::kDirection | timerItem::kCompare |
                                 timerItem::kCounter);
      break;
    }
    case kTimerControl: {
      bool run = L.timer.run.setIn(v);
      timer_.setCompareEnabled(L.timer.compareEnable.setIn(v));
      if (L.timer.load.setIn(v)) {
        if (!timer_.load()) run = false;  // a start value of 0 stops the timer
        c.clearBits(kTimerControl, L.timer.load.mask | L.timer.compareEnable.mask);
      }
      // Not started on a full compare already matched, with 108 bit 3.
      if (run && !timer_.running() && latch_.test(L.control.startRefusal) && latch_.test(L.control.fullCompare) &&
          timer_.countAtValue())
        run = false;
      timer_.setRunning(run);
      if (!run) c.clearBits(kTimerControl, L.timer.run.mask);
      latch_.store(n, c.value(n));
      updateRc();
      postRedraw(kItemTimer, timerItem::kRun | timerItem::kCompareOn | timerItem::kCounter);
      break;
    }
    case kTimerValue0:
    case kTimerValue1:
    case kTimerValue2:
      timer_.setValue(c.value(kTimerValue0) | c.value(kTimerValue1) << 4 | (c.value(kTimerValue2) & 3) << 8);
      timer_.setWidthCode(c.value(kTimerValue2) >> 2);
      postRedraw(kItemTimer, timerItem::kCompare | timerItem::kWidth | timerItem::kCounter);
      break;
    case kPortA45:
      outputLatch_ = (outputLatch_ & ~0x20) | (L.ports.pa5Latch.of(v) << 5);
      refreshPins();
      break;
    case kEnables1:
      postRedraw(kItemTimer, timerItem::kEndEnable | timerItem::kCompareEnable);
      break;
    case kEnables2:
      postRedraw(kItemPrescaler, prescalerItem::kEnables);
      break;
    case kSystem:
      timer_.setFullCompare(L.control.fullCompare.setIn(v));
      updateSleep();
      postRedraw(kItemTimer, timerItem::kCompare);
      break;
    case kWatchdog:
      if (L.control.clearWatchdog.setIn(v)) {
        watchdog_.clear();
        c.setMasked(kWatchdog, 0x3, 0);
        latch_.store(n, c.value(n));
      }
      updateSleep();
      break;
    case kPrescaler:
      if (L.control.restart.setIn(v)) prescaler_.reset();
      postRedraw(kItemPrescaler, prescalerItem::kLabel);
      break;
    case kComparator: {
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
    case kThresholdIndex:
      applyRegisterFields();
      break;
    case kClockOptions:
      serialOnInstructionClock_ = L.control.serialTap12OnClock.setIn(v);
      refreshRare();
      applyRegisterFields();
      updateRc();
      break;
    case kTickDivider:
      setTickDivider(v);
      if (tickCount_ >= tickPeriod_) tickCount_ = 0;
      applyRegisterFields();
      break;
    case kTopThreshold:
      params_[kFieldAdcThreshold + 15] = params_[kFieldAdcTopPair + L.comparator.topOfPair.of(v)];
      params_[kFieldSupplyThreshold + 15] = params_[kFieldSupplyTopPair + L.comparator.topOfPair.of(v)];
      break;
    default:
      break;
  }
  updateDue();
  (void)old;
}

// ---- Timer.

// An end or compare match (the whole count with the full compare on); the
// timer is stepped only while it runs, so a stopped timer is the full
// compare's stop.
void Chip::timerMatch(const Timer::Match& m) {
  if (m.compare && timer_.compareEnabled()) raise(kPinTimerRequests, kReqCompare);
  if (m.end) raise(kPinTimerRequests, kReqEnd);
  if (!timer_.running()) {
    setReg(kTimerControl, latch_.at(kTimerControl) & ~8);
    updateRc();
    postRedraw(kItemTimer, timerItem::kRun);
  }
  if (latch_.at(kPinFunctions) & 3) {
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
  const int index = latch_.at(kThresholdIndex) & 15;
  const int voltage = channelAdc_ ? params_[kFieldAdcVoltage] : params_[kFieldSupplyVoltage];
  const int threshold = params_[(channelAdc_ ? kFieldAdcThreshold : kFieldSupplyThreshold) + index];
  const periphery::LevelComparator::Result r = comparator_.step(voltage, threshold);
  Cells c = cells();
  if (!c.valid()) return;
  if (r.atOrAbove) {
    c.setBits(kComparator, 8);
    c.clearBits(kComparator, 4);
  } else {
    c.clearBits(kComparator, 0xC);
    raise(kSystemRequests, kReqComparator);
  }
  latch_.store(kComparator, c.value(kComparator));
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

// ---- Frequency outputs: PA2 with "Freq" as an output, PA5 with 96 bit 2
// and 98 bit 2. Only the slowest tap is drawn at every toggle; faster ones
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
  const int data = (c.valid() ? c.value(kSerialLow) | c.value(kSerialHigh) << 4 : 0);
  serial_.start(data, latch_.test(L.serial.msbFirst) ? periphery::BitOrder::MsbFirst : periphery::BitOrder::LsbFirst,
                (latch_.at(kSerialMode) & 2) ? periphery::OutputPhase::Rising : periphery::OutputPhase::Falling);
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
  setReg(kSerialControl, latch_.at(kSerialControl) & ~8);
  raise(kSystemRequests, kReqSerial);
  if (c.valid()) {
    c.set(kSerialLow, serial_.received() & 15);
    c.set(kSerialHigh, serial_.received() >> 4);
  }
  sLine_ = (latch_.at(kSerialControl) & 4) != 0;
  updateSerialTap();
}

// ---- Port A.

// Pins driven by the chip and their functions, from 81 (directions), 96
// (PA5), 97, 98 and the comparator channel; outputs without a function
// show the latch.
void Chip::refreshPins() {
  const int dir = latch_.at(kDirections);
  const int f1 = latch_.at(kPinFunctions), f2 = latch_.at(kPinFunctions2);
  PinFunction f[kPins] = {};
  bool level[kPins] = {};
  bool driven[kPins] = {};
  for (int p = 0; p < 4; ++p) {
    driven[p] = (dir >> p) & 1;
    level[p] = (outputLatch_ >> p) & 1;
  }
  if (f1 & 1) f[0] = PinFunction::Pwm, level[0] = pwm_;
  if (f1 & 4) f[1] = PinFunction::Clk, level[1] = serial_.clockLevel();
  else if (f1 & 2) f[1] = PinFunction::Pwm, level[1] = pwm_;
  switch (f2 & 3) {
    case 3: f[2] = PinFunction::Por, level[2] = supply_.up(); break;
    case 2: f[2] = PinFunction::Out, level[2] = serial_.running() ? serial_.out() : ((outputLatch_ >> 2) & 1); break;
    case 1: f[2] = PinFunction::Freq, level[2] = freqPa2_; break;
    default: break;
  }
  if (f1 & 8) f[3] = PinFunction::S, level[3] = sLine_;
  driven[5] = (latch_.at(kPortA45) & 4) != 0;
  level[5] = (outputLatch_ >> 5) & 1;
  if (f2 & 4) f[5] = PinFunction::Freq, level[5] = freqPa5_;
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
    c.set(kPortA, port_.levels() & 15);
    c.setMasked(kPortA45, 0x3, port_.levels() >> 4);
  }
  if (changed) postRedraw(kItemPortA, kFirstPinButton);
}

// Interrupt markers: pin interrupt 0 on PA0 or PA5, pin interrupt 1 on PA3 or
// PA4, kind 1 for a falling and 2 for a rising edge.
void Chip::refreshMarkers() {
  const int src0 = (latch_.at(kPinSelect) & 1) ? 5 : 0;
  const int src1 = (latch_.at(kPinSelect) & 2) ? 4 : 3;
  for (int p = 0; p < kPins; ++p) port_.word(p) &= ~pin::kMarkerKind;
  port_.word(src0) |= (latch_.at(kEdges) & 1) ? (1u << 4) : (2u << 4);
  port_.word(src1) |= (latch_.at(kEdges) & 2) ? (1u << 4) : (2u << 4);
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
  c.set(kPortA, port_.levels() & 15);
  c.setMasked(kPortA45, 0x3, port_.levels() >> 4);
  const int src0 = (latch_.at(kPinSelect) & 1) ? 5 : 0;
  const int src1 = (latch_.at(kPinSelect) & 2) ? 4 : 3;
  if (cpu_ != nullptr) {
    cpu_->word[k42::kCond1] = port_.level(src0) ? 1 : 0;
    cpu_->word[k42::kCond2] = port_.level(src1) ? 1 : 0;
  }
  const bool falling0 = latch_.at(kEdges) & 1, falling1 = latch_.at(kEdges) & 2;
  const bool rcMode = latch_.at(kClockOptions) & 2;
  port_.takeEdges([&](PinEdge e) {
    if (e.pin == src0 && e.rising != falling0) raise(kPinTimerRequests, kReqPin0);
    if (e.pin == src1 && e.rising != falling1) raise(kPinTimerRequests, kReqPin1);
    const bool timerEdge = e.rising != falling1;
    if (timerEdge && ((timerInput_ == 0 && e.pin == 0) || (timerInput_ == 7 && !rcMode && e.pin == src1))) {
      timerStep();
      ShowDeferredState();  // a click between runs shows the count at once
    }
    if (e.pin == 1 && serial_.running() && (latch_.at(kSerialMode) & 0xC) == 0) serialClock();
  });
  resetByPin();
}

void Chip::resetByPin() {
  const int src0 = (latch_.at(kPinSelect) & 1) ? 5 : 0;
  const int src1 = (latch_.at(kPinSelect) & 2) ? 4 : 3;
  bool reset = false;
  if (latch_.at(kOutputControl) & 4) reset = port_.level(src1) && (sleeping_ || (latch_.at(kOutputControl) & 8));
  if (sleeping_) {
    if ((latch_.at(kPinSelect) & 4) && port_.level(src0)) reset = true;
    if ((latch_.at(kPinSelect) & 8) && port_.level(src1)) reset = true;
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
    if (!(latch_.at(kSleepOptions) & 4) && --sleepCountdown_ <= 0) peripheryReset();
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
