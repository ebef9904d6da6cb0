// QV4124's periphery model: register handlers, samplers, time-base events,
// the LCD and RAM 2 paging, and the two kinds of reset.
#include <algorithm>

#include "qv4124.h"

namespace qv4124 {

using periphery::Cells;
namespace pin = periphery::pin;

// ---- Reset.

void Chip::reset(ResetKind kind) {
  Cells c = cells();
  if (c.valid()) {
    periphery::applyReset(kResetTable, c, kind);
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
  clockIndex_ = ClockIndex(oscillator_, reg(kClockSelect));
  timeBase_.setClockIndex(clockIndex_);
  refreshActivity();
  postRedraw(kItemPortA, kPortAButton);
  postRedraw(kItemPortB, kPortBButton);
  for (int item = 2; item <= 5; ++item) postRedraw(item, 255);
  postRedraw(kItemTimer, timerPart::kAll);
  postRedraw(8, 255);
  postRedraw(9, 255);
  postRedraw(kItemGpo, 255);
}

// The fastest base-tick tap that has something to do now: the time base
// skips the steps and base ticks below it.
void Chip::refreshActivity() {
  const Cells c = cells();
  int m = 15;
  auto use = [&m](int carries) { m = std::min(m, carries); };
  if (eeprom_.busy()) use(0);
  taps_ = Taps{};
  if (c.valid()) {
    taps_.serial = serialRunning_ ? (c.value(kSerialControl) >> 2) : -1;
    taps_.timer = c.bit(kTimerCommand, 8) ? (c.value(kTimerControl) & 7) : -1;
    taps_.melody = melody_.running() ? (c.value(kMelodyControl) & 3) : -1;
    taps_.sampling = c.value(kPrescalerControl) & 9;
    taps_.toggles = c.value(kPortBDirection) & c.value(kPulseOutputs);
    taps_.fast32Hz = c.bit(kPrescalerControl, 2);
    if (serialRunning_) {
      constexpr int kSerialCarries[4] = {15, 2, 1, 0};
      use(kSerialCarries[c.value(kSerialControl) >> 2]);
    }
    const int toggles = c.value(kPortBDirection) & c.value(kPulseOutputs);
    if (toggles & 4) use(0);
    if (toggles & 2) use(6);
    if (c.bit(kTimerCommand, 8)) {
      constexpr int kTimerCarries[8] = {15, 1, 4, 6, 8, 12, 15, 15};
      use(kTimerCarries[c.value(kTimerControl) & 7]);
    }
    if (std::any_of(std::begin(debounce_), std::end(debounce_), [](int n) { return n > 0; }) ||
        ports_[0].levels() != debounced_) {
      const int s = c.value(kPrescalerControl) & 9;
      use(s == 9 ? 2 : s == 1 ? 5 : 8);
    }
    if (detector_.pending()) use(6);
    if (c.bit(kSupply, 4)) use(7);
    if (melody_.running()) {
      constexpr int kMelodyCarries[4] = {13, 11, 9, 15};
      use(kMelodyCarries[c.value(kMelodyControl) & 3]);
    }
    if (c.bit(kMask102, 4)) use(c.bit(kPrescalerControl, 2) ? 10 : 12);
    if (c.bit(kMask102, 2)) use(13);
  }
  timeBase_.setFastestTap(m);
}

// ---- Registers.

int Chip::onRead(int n) {
  Cells c = cells();
  switch (n) {
    case kPortBData: return ports_[1].levels();
    case kMelodyControl: return (c.value(n) & 7) | (melody_.running() ? 8 : 0);
    case kTimerLow: return timer_.count() & 15;
    case kTimerMiddle: return (timer_.count() >> 4) & 15;
    case kTimerHigh: return ((timer_.count() >> 8) & 3) | (c.value(n) & 0xC);
    case kRequestsA: {
      const int v = c.readAndClear(n, 0xF);
      dropPortAEdges();
      return v;
    }
    default: return c.value(n);
  }
}

void Chip::onWrite(int n, int v, int old) {
  Cells c = cells();
  switch (n) {
    case kLcdBank0: lcdWrite(0, v); break;
    case kLcdBank1: lcdWrite(1, v); break;
    case kPortBDirection: refreshPortB(); break;
    case kPortBData:
      latchB_ = v;
      refreshPortB();
      break;
    case kSerialControl: break;
    case kSerialMode: {
      const int mode = v & 3;
      if ((v & 8) && (mode == 1 || mode == 2) && !serialRunning_) serialStart();
      if (mode == 0 || mode == 3) serialRunning_ = false;
      refreshSerialPins();
      postRedraw(kItemSerial, kSerialButton);
      break;
    }
    case kSerialPins: refreshSerialPins(); break;
    case kMelodyTone: postRedraw(kItemMelody, melodyPart::kTone | melodyPart::kBuzzer); break;
    case kMelodyControl:
      melody_.setAutoReload((v & 4) != 0);
      postRedraw(kItemMelody, melodyPart::kClock | melodyPart::kAutoReload | melodyPart::kContinuous);
      break;
    case kMelodyCycles:
      melody_.load(v);
      if (v == 0 && c.bit(kMelodyControl, 4)) {
        c.clearBits(kMelodyControl, 4);
        melody_.setAutoReload(false);
      }
      postRedraw(kItemMelody, melodyPart::kCount | melodyPart::kAutoReload);
      break;
    case kTimerControl:
      timer_.setUp((v & 8) != 0);
      postRedraw(kItemTimer, timerPart::kInput | timerPart::kStep);
      break;
    case kTimerCommand:
      if (v & 1) timerLoad();
      postRedraw(kItemTimer, timerPart::kEnabled | timerPart::kCompareOn | timerPart::kCount);
      break;
    case kTimerLow: timer_.setValueBits(0x00F, v); break;
    case kTimerMiddle: timer_.setValueBits(0x0F0, v << 4); break;
    case kTimerHigh:
      timer_.setValueBits(0x300, v << 8);
      timer_.setWidthCode(v >> 2);
      postRedraw(kItemTimer, timerPart::kCompareValue | timerPart::kWidth);
      break;
    case kClockSelect:
      setOscillator(oscillator_);
      drawClock();
      break;
    case kEepromControl: {
      int r = v;
      if ((v & 3) == 2) {
        const int byte = eeprom_.read(c.value(kEepromAddress) & 7);
        c.set(kEepromLow, byte & 15);
        c.set(kEepromHigh, byte >> 4);
        eeprom_.startBusy(kEepromReadTicks);
        r |= 2;
      } else if ((v & 3) == 3 && (v & 4)) {
        eeprom_.write(c.value(kEepromAddress) & 7, c.value(kEepromLow) | (c.value(kEepromHigh) << 4));
        eeprom_.startBusy(kEepromWriteTicks);
      } else if ((v & 4) && (v & 3) < 2) {
        r &= ~4;
      }
      c.set(kEepromControl, r);
      drawEepromList();
      break;
    }
    case kPortAMask:
    case kEdgeSelect:
      c.set(kRequestsA, 0);
      dropPortAEdges();
      refreshArming();
      break;
    case kMask102:
      postRedraw(kItemPrescaler, prescalerPart::kLeds);
      postRedraw(kItemMelody, melodyPart::kIrq);
      break;
    case kMask103: postRedraw(kItemTimer, timerPart::kIrqEnd | timerPart::kIrqCompare); break;
    case kInterruptControl: postRedraw(kItemTimer, timerPart::kPwm); break;
    case kSleepWatchdog:
      if (v != old) {
        c.set(n, v);
        if (v & 8) watchdog_.clear();
      }
      break;
    case kPrescalerControl:
      if (v & 4) timeBase_.clearStages(kRestartStages);
      postRedraw(kItemPrescaler, prescalerPart::kLabel);
      break;
    case kPage: pageWrite(v, old); break;
    case kLcdControl:
      postRedraw(kItemGpo, 255);
      if ((v ^ old) & 1) postRedraw(kItemLcd, 1);  // into or out of general-purpose outputs
      break;
    case kLcdMode: lcdMode(v, old); break;
    case kConditionCopy:
      for (int i = 0; i < 3; ++i)
        if ((v >> i) & 1) word(k42::kCond1 + i) = ports_[0].level(i) ? 1 : 0;
      word(k42::kCond1) = ports_[0].level(0) ? 1 : 0;
      break;
    case kResetHigh:
    case kResetLow: checkResetCombination(); break;
    default: break;
  }
  refreshActivity();
}

// ---- Port A: debounced edges, requests, condition inputs, reset combination.

// One sampling: a pin whose level differs from its debounced level is taken
// at its second sampling.
void Chip::samplePortA() {
  Cells c = cells();
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
  c.set(kPortA, debounced_);
  for (int i = 0; i < 3; ++i) word(k42::kCond1 + i) = (debounced_ >> i) & 1;
  if (taken) checkResetCombination();
  refreshActivity();
}

void Chip::takePortAEdge(int p, bool rising) {
  Cells c = cells();
  const bool falling = c.bit(kEdgeSelect, 1 << p);
  if (rising != falling) kPortARequests.raise(c, 1 << p);
  const int timerTap = c.bit(kTimerCommand, 8) ? (c.value(kTimerControl) & 7) : -1;
  if ((p == 0 && timerTap == 0) || (p == 3 && timerTap == 7))
    if (rising != falling) timerClock();
}

// All four pins match: bits n of 124 and 125 both set, or 124 alone with the
// pin low, or 125 alone with the pin high. Then the RESET kind runs.
void Chip::checkResetCombination() {
  const Cells c = cells();
  if (!c.valid()) return;
  const int high = c.value(kResetHigh), low = c.value(kResetLow);
  for (int i = 0; i < 4; ++i) {
    const int h = (high >> i) & 1, l = (low >> i) & 1, level = (debounced_ >> i) & 1;
    const bool match = (h && l) || (h && !l && !level) || (!h && l && level);
    if (!match) return;
  }
  reset(kResetPin);
}

void Chip::dropPortAEdges() {
  debounced_ = ports_[0].levels();
  std::fill(std::begin(debounce_), std::end(debounce_), 0);
  ports_[0].takeEdges([](periphery::PinEdge) {});
}

// The arming marker of each masked pin: rising, or falling with 118's bit.
void Chip::refreshArming() {
  const int mask = reg(kPortAMask), select = reg(kEdgeSelect);
  for (int i = 0; i < 4; ++i) {
    uint32_t& w = ports_[0].word(i);
    w &= ~(pin::kMarker | pin::kMarkerKind);
    if ((mask >> i) & 1) w |= pin::kMarker | (((select >> i) & 1) ? (1u << 4) : (2u << 4));
  }
  postRedraw(kItemPortA, kPortAButton);
}

void Chip::SamplePorts() {
  if (registers_ == nullptr) return;
  samplePortA();
  samplePortB();
  sampleSerial();
}

// ---- Port B.

void Chip::refreshPortB() {
  const int outputs = reg(kPortBDirection);
  const bool pwm = reg(kInterruptControl) & 1;
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

void Chip::togglePortB(int p) {
  if (((reg(kPortBDirection) & reg(kPulseOutputs)) >> p) & 1) {
    latchB_ ^= 1 << p;
    refreshPortB();
  }
}

void Chip::samplePortB() {
  Cells c = cells();
  ports_[1].takeEdges([](periphery::PinEdge) {});
  if (c.valid()) c.set(kPortBData, ports_[1].levels());
}

// ---- Serial interface.

void Chip::refreshSerialPins() {
  periphery::Port& p = ports_[2];
  const int mode = reg(kSerialMode) & 3;
  bool changed = false;
  if (mode == 3) {
    for (int i = 0; i < 4; ++i) changed |= p.drive(i, (reg(kSerialPins) >> i) & 1);
  } else if (mode == 0) {
    for (int i = 0; i < 4; ++i) changed |= p.release(i);
  } else {
    changed |= p.release(kPinIn);
    const bool held = serialRunning_ || (reg(kSerialMode) & 4);
    changed |= held ? p.drive(kPinS, true) : p.release(kPinS);
    changed |= p.drive(kPinOut, serial_.out() != 0);
    if ((reg(kSerialControl) >> 2) != 0)
      changed |= p.drive(kPinClk, serial_.phase() != 0);
    else
      changed |= p.release(kPinClk);
  }
  if (changed) postRedraw(kItemSerial, kSerialButton);
}

namespace {
int Reverse8(int v) {
  int r = 0;
  for (int i = 0; i < 8; ++i) r |= ((v >> i) & 1) << (7 - i);
  return r;
}
}  // namespace

void Chip::serialStart() {
  const int byte = reg(kSerialLow) | (reg(kSerialHigh) << 4);
  const bool msbFirst = reg(kSerialControl) & 1;
  serial_.setBitsPerTransfer(8);
  serial_.load(msbFirst ? byte : Reverse8(byte));
  serial_.start();
  serialRunning_ = true;
}

void Chip::serialClock() {
  const periphery::SerialPhases phases{(reg(kSerialControl) >> 1) & 1, false};
  const periphery::SerialShifter::Clock r = serial_.clock(ports_[2].level(kPinIn), phases);
  if (r.done) {
    Cells c = cells();
    serialRunning_ = false;
    c.clearBits(kSerialMode, 8);
    const int byte = (reg(kSerialControl) & 1) ? serial_.received() : Reverse8(serial_.received());
    c.set(kSerialLow, byte & 15);
    c.set(kSerialHigh, byte >> 4);
    kRequestsC.raise(c, kReqSerial);
    refreshActivity();
  }
  refreshSerialPins();
}

// The serial pins clicked: the external clock (Clk pin edges) clocks a
// running frame.
void Chip::sampleSerial() {
  const bool external = (reg(kSerialControl) >> 2) == 0;
  int clockEdges = 0;
  ports_[2].takeEdges([&](periphery::PinEdge e) { clockEdges += e.pin == kPinClk; });
  if (external)
    for (int i = 0; i < clockEdges && serialRunning_; ++i) serialClock();
}

// ---- Timer.

void Chip::timerLoad() {
  Cells c = cells();
  timer_.load();
  if (timer_.value() == 0) c.clearBits(kTimerCommand, 8);
}

// The count may have reached the end or the compare value.
void Chip::timerMatched() {
  Cells c = cells();
  const periphery::Timer10::Match s = timer_.match();
  const bool fullCompare = c.bit(kInterruptControl, 2);
  const bool pwm = c.bit(kInterruptControl, 1);
  if (s.end) {
    kRequestsC.raise(c, kReqEnd);
    if (pwm) pwmLevel_ = 1;
  }
  const bool compare = fullCompare ? s.fullCompare : s.compare;
  if (c.bit(kTimerCommand, 2) && compare) {
    kRequestsC.raise(c, kReqCompare);
    if (pwm) pwmLevel_ = 0;
    if (fullCompare && pwm) {
      c.clearBits(kTimerCommand, 8);
      refreshActivity();
      postRedraw(kItemTimer, timerPart::kEnabled);
    }
  }
  if (pwm && (s.end || compare)) refreshPortB();
}

// ---- Melody, EEPROM, supply detector.

void Chip::melodyClock() {
  if (melody_.clock()) {
    Cells c = cells();
    kRequestsB.raise(c, kReqMelody);
  }
  if (!melody_.running()) refreshActivity();
}

void Chip::eepromDone() {
  Cells c = cells();
  c.clearBits(kEepromControl, 2);
  if (c.bit(kEepromControl, 1)) kRequestsC.raise(c, kReqEeprom);
  refreshActivity();
}

void Chip::supplyStart() {
  detector_.start(reg(kSupply) & 2 ? kLevelHigh : kLevelLow);
  refreshActivity();
}

void Chip::supplyResult() {
  Cells c = cells();
  const bool low = detector_.finish(supply_);
  c.setMasked(kSupply, 0xC, low ? 8 : 0);
  if (detector_.level() == kLevelLow) c.setMasked(kEepromControl, 4, low ? 0 : 4);
  refreshActivity();
}

void Chip::setSupply(int hundredths) { supply_ = std::clamp(hundredths, 0, kSupplyMax); }

void Chip::setOscillator(Oscillator osc) {
  oscillator_ = osc;
  clockIndex_ = ClockIndex(osc, reg(kClockSelect));
  timeBase_.setClockIndex(clockIndex_);
}

// ---- LCD and RAM 2.

void Chip::lcdWrite(int bank, int nibble) {
  const int index = lcdMemory_.index(bank, reg(kPage));
  lcdMemory_.set(index, nibble);
  const int control = reg(kLcdControl);
  if (control & 1) {
    postRedraw(kItemGpo, 1);
    return;
  }
  lcd_.setSegment(index, (control & 2) ? ((nibble & 1) ? 15 : 0) : nibble);
}

void Chip::lcdMode(int v, int old) {
  if (v == old) return;
  const bool off = (v & 0xC) != 0, mux15 = (v & 2) != 0;
  if (reg(kLcdControl) == 0) lcd_.setMode(off ? 0 : 1, mux15 ? 15 : 7);
  lcdState_ = (mux15 ? 1 : 0) | (off ? 2 : 0);
}

void Chip::refreshLcd() {
  if (reg(kLcdControl) & 1) {
    lcd_.setStatus(0);
    return;
  }
  for (int i = 0; i < periphery::LcdMemory<2, 16>::kSize; ++i) lcd_.setSegment(i, lcdMemory_.at(i));
  lcd_.setMux((lcdState_ & 1) ? 15 : 7);
  lcd_.setStatus((lcdState_ & 2) ? 0 : 1);
}

void Chip::pageWrite(int page, int old) {
  Cells c = cells();
  ram2_.switchBank(c, old, page);
  page_ = page;
  c.set(kPage, page);
  c.set(kLcdBank0, lcdMemory_.at(lcdMemory_.index(0, page)));
  c.set(kLcdBank1, lcdMemory_.at(lcdMemory_.index(1, page)));
}

int Chip::ram2(int page, int i) const {
  if (registers_ != nullptr && page == reg(kPage)) return reg(kRam2First + i);
  return ram2_.valueAt(page, i);
}

}  // namespace qv4124
