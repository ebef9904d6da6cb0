// QV4115's periphery model: register handlers, ports, timer, converter,
// detector, EEPROM, SWB, RAM banks and the reset.
#include <platform/messages.h>

#include "qv4115.h"

namespace qv4115 {

using periphery::Cells;
namespace pin = periphery::pin;

namespace {
void setLevel(periphery::Port& port, int p, bool high) {
  uint32_t& w = port.word(p);
  w = (w & ~pin::kLevel) | (high ? pin::kLevel : 0u);
}
}  // namespace

// ---- Reset.

void Chip::Periphery_Reset() {
  Cells c = cells();
  if (c.valid()) {
    // Value nibbles of 0-126 cleared, except: 86, 95, 96 become 15; 97 gets
    // bits 0-1 set and keeps bits 2-3; 108 keeps only bit 2.
    const int timerHigh = c.value(kTimerHigh), watchdogClear = c.value(kWatchdogClear);
    for (int n = 0; n <= 126; ++n) c.set(n, 0);
    c.set(kSwbData, 15);
    c.set(kTimerLow, 15);
    c.set(kTimerMiddle, 15);
    c.set(kTimerHigh, (timerHigh & 0xC) | 3);
    c.set(kWatchdogClear, watchdogClear & 4);
  }
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
  shadow_ = Shadow{};
  post(kItemPortA, kFirstPinButton[0]);
  post(kItemPortB, kFirstPinButton[1]);
  post(kItemPortC, kFirstPinButton[2]);
  post(kItemSwb, 0xFFFF);
  post(kItemSupply, 255);
  post(kItemPrescaler, 255);
  post(kItemTimer, 4095);
  post(kItemAdc, 255);
  post(kItemEepromBox, 255);
}

// ---- Registers.

int Chip::onRead(int n) {
  Cells c = cells();
  if (n == kPortARequests) {
    const int v = c.readAndClear(kPortARequests, 15);
    ports_[0].takeEdges([](periphery::PinEdge) {});
    return v;
  }
  return c.value(n);
}

void Chip::onWrite(int n, int v, int old) {
  Cells c = cells();
  switch (n) {
    case kPortBDirection:
      shadow_.directionB = v;
      writePortBDirection(v);
      break;
    case kPortB:
      writePortB(v);
      break;
    case kPortCDirection:
      shadow_.directionC = v;
      writePortCDirection(v);
      break;
    case kPortC:
      writePortC(v);
      break;
    case kSwbClock:
      c.set(kSwbClock, v & 3);
      swbClockCopy_ = v & 3;
      updateSwbRunning(c);
      post(kItemSwb, swbItem::kClockText);
      break;
    case kSwbData:
      swb_.dataWritten();
      if (cpu_ != nullptr) word(k42::kCond3) = 0;
      break;
    case kSwbSizeLow:
      swb_.setSizeLow(v);
      break;
    case kSwbControl:
      if ((v ^ old) & 8) {
        swbAutomatic_ = (v & 8) != 0;
        post(kItemSwb, swbItem::kMode);
      }
      swb_.setSizeHigh(v & 3);
      swb_.control((v & 4) != 0, (v & 8) != 0, c.value(kSwbData));
      if (v & 4) post(kItemSwb, swbItem::kText);
      updateSwbRunning(c);
      break;
    case kEepromControl: {
      c.set(kEepromControl, v | 4);
      const int address = 16 * (v & 1) + c.value(kEepromAddress);
      if (v & 2) {
        eeprom_.write(address, 16 * c.value(kEepromDataHigh) + c.value(kEepromDataLow));
        eeprom_.startBusy(kEepromWriteTicks);
        post(kItemEepromList, 1);
      } else {
        const int byte = eeprom_.read(address);
        eeprom_.startBusy(kEepromReadTicks);
        c.set(kEepromDataLow, byte & 15);
        c.set(kEepromDataHigh, byte >> 4);
      }
      break;
    }
    case kTimerControl:
      timerSource_ = v & 7;
      timer_.setUp((v & 8) != 0);
      post(kItemTimer, timerItem::kSource | timerItem::kStep);
      break;
    case kTimerRun:
      writeTimerRun(v);
      break;
    case kTimerLow:
      timer_.setValue((timer_.value() & ~0x00F) | v);
      post(kItemTimer, timerItem::kCompareValue);
      break;
    case kTimerMiddle:
      timer_.setValue((timer_.value() & ~0x0F0) | (v << 4));
      post(kItemTimer, timerItem::kCompareValue);
      break;
    case kTimerHigh:
      timer_.setValue((timer_.value() & 0x0FF) | ((v & 3) << 8));
      timer_.setWidthCode(v >> 2);
      post(kItemTimer, timerItem::kCompareValue | timerItem::kWidth | timerItem::kCounter);
      break;
    case kAdcControl:
      if (v & 8) adc_.start();
      break;
    case kPortAEnables:
    case kPortAEdges:
      if (n == kPortAEnables)
        shadow_.enablesA = v;
      else
        shadow_.edgesA = v;
      c.set(kPortARequests, 0);
      ports_[0].takeEdges([](periphery::PinEdge) {});
      refreshMarkers();
      break;
    case kMasks105:
      shadow_.masks105 = v;
      post(kItemPrescaler, prescalerItem::kLeds);
      break;
    case kMasks106:
      shadow_.masks106 = v;
      post(kItemTimer, timerItem::kEndIrq | timerItem::kCompareIrq);
      break;
    case kInterruptControl:
      shadow_.interruptControl = v;
      post(kItemTimer, timerItem::kCompareValue);
      break;
    case kWatchdogClear:
      watchdog_.clear();
      break;
    case kRamBank:
      banks_.switchBank(c, old, v);
      c.set(kRamBank, v);
      break;
    case kPrescalerPwm:
      c.set(kPrescalerPwm, v & 0xA);
      shadow_.prescalerPwm = v & 0xA;
      post(kItemPrescaler, prescalerItem::kRateText);
      post(kItemTimer, timerItem::kPwm);
      break;
    case kLevelDetector:
      c.set(kLevelDetector, v & 7);
      detectorLevel_ = kDetectorLevels[v & 3];
      break;
    case kClockOutputs:
      shadow_.clockOutputs = v;
      break;
    default:
      break;
  }
}

// ---- Ports.

void Chip::writePortBDirection(int value) {
  periphery::Port& b = ports_[1];
  for (int p = 0; p < 4; ++p) {
    const bool output = (value >> p) & 1;
    if (output && !b.driven(p)) {
      b.drive(p, (latchB_ >> p) & 1);
    } else if (!output && b.driven(p)) {
      b.release(p);
      setLevel(b, p, false);
    }
  }
  post(kItemPortB, kFirstPinButton[1]);
}

// Only a new latch value reaches the pins: each output pin that carries no
// clock output and no PWM takes its bit, and so does register 82.
void Chip::writePortB(int value) {
  if (value == latchB_) return;
  latchB_ = value;
  Cells c = cells();
  for (int p = 0; p < 4; ++p) {
    if (!((shadow_.directionB >> p) & 1)) continue;
    const bool taken = p < 3 ? ((shadow_.clockOutputs >> (p + 1)) & 1) != 0 : pwmEnabled();
    if (taken) continue;
    const bool bit = (value >> p) & 1;
    setLevel(ports_[1], p, bit);
    if (c.valid()) c.setMasked(kPortB, 1 << p, bit ? 15 : 0);
  }
  post(kItemPortB, kFirstPinButton[1]);
}

void Chip::writePortCDirection(int value) {
  periphery::Port& pc = ports_[2];
  for (int p = 0; p < 4; ++p) {
    if ((value & 1) && !pc.driven(p)) {
      pc.drive(p, (latchC_ >> p) & 1);
    } else if (!(value & 1) && pc.driven(p)) {
      pc.release(p);
      setLevel(pc, p, false);
    }
  }
  post(kItemPortC, kFirstPinButton[2]);
}

void Chip::writePortC(int value) {
  if (value == latchC_) return;
  latchC_ = value;
  if (!(shadow_.directionC & 1)) return;
  for (int p = 0; p < 4; ++p) setLevel(ports_[2], p, (value >> p) & 1);
  Cells c = cells();
  if (c.valid()) c.set(kPortC, value);
  post(kItemPortC, kFirstPinButton[2]);
}

void Chip::toggleClockPin(int p) {
  ports_[1].word(p) ^= pin::kLevel;
  post(kItemPortB, kFirstPinButton[1]);
}

// Port A markers: no interrupt, or the edge that register 118 selects.
void Chip::refreshMarkers() {
  for (int p = 0; p < 4; ++p) {
    const uint32_t kind = !((shadow_.enablesA >> p) & 1) ? 0u : ((shadow_.edgesA >> p) & 1) ? 1u : 2u;
    uint32_t& w = ports_[0].word(p);
    w = (w & ~pin::kMarkerKind) | pin::kMarker | (kind << 4);
  }
  post(kItemPortA, kFirstPinButton[0]);
}

void Chip::SamplePortA() {
  Cells c = cells();
  if (!c.valid()) return;
  shownCounter_ = -1;  // the monitor may have written the timer cells since
  periphery::Port& a = ports_[0];
  c.set(kPortA, a.levels());
  if (periphery::combinationResets(a.levels(), c.value(kResetSelect), c.value(kResetPolarity),
                                   periphery::CombinationRule::AllPins))
    Periphery_Reset();
  word(k42::kCond1) = a.level(0);
  word(k42::kCond2) = a.level(1);
  word(k42::kCond3) = swb_.ready() ? 1 : a.level(2);
  const int edges = c.value(kPortAEdges);
  if (periphery::selectedEdge(a.word(0), edges & 1)) Timer_Step(0);
  if (periphery::selectedEdge(a.word(3), edges & 8)) Timer_Step(7);
  const int enables = c.value(kPortAEnables);
  int requests = 0;
  for (int p = 0; p < 4; ++p)
    if (((enables >> p) & 1) && periphery::selectedEdge(a.word(p), (edges >> p) & 1)) requests |= 1 << p;
  c.setBits(kPortARequests, requests);
  a.takeEdges([](periphery::PinEdge) {});
}

void Chip::SamplePortB() {
  Cells c = cells();
  if (!c.valid()) return;
  c.set(kPortB, ports_[1].levels());
  ports_[1].takeEdges([](periphery::PinEdge) {});
}

void Chip::SamplePortC() {
  Cells c = cells();
  if (!c.valid()) return;
  c.set(kPortC, ports_[2].levels());
  ports_[2].takeEdges([](periphery::PinEdge) {});
}

// ---- Timer.

// Register 94: the run bit changes unless it is set while PWM and the full
// compare are on and the counter already equals the latch; a load copies the
// latch into the counter (a latch of 0 stops the timer); bit 1 is the compare
// enable; bit 0 is never kept.
void Chip::writeTimerRun(int value) {
  Cells c = cells();
  int run = c.value(kTimerRun) & 8;
  if ((value & 8) != run) {
    const bool refused = (value & 8) && pwmEnabled() && fullCompare() && timer_.countAtValue();
    if (!refused) run = value & 8;
  }
  if (value & 1) {
    if (!timer_.load()) run = 0;
    shownCounter_ = -1;  // all three cells, whatever they show now
    showCounter(c, timer_.count());
  }
  timer_.setCompareEnabled((value & 2) != 0);
  timer_.setRunning(run != 0);
  c.set(kTimerRun, (value & 6) | run);
  post(kItemTimer, timerItem::kEnabled | timerItem::kCompareEnable | timerItem::kCounter);
}

// After a match: requests, the PWM level and the full-compare stop.
void Chip::timerMatched(periphery::Timer10::Match s) {
  Cells c = cells();
  const bool full = fullCompare(), pwm = pwmEnabled(), enabled = timer_.compareEnabled();
  const bool down = !timer_.up();
  bool level = pwmLevel_;
  if (full) {
    if (timer_.countAtValue()) {
      if (enabled) c.setMasked(kRequests106, kReqCompare, c.value(kMasks106));
      if (enabled && pwm) {
        writeTimerRun(c.value(kTimerRun) & ~8);
        level = down;
      }
    } else if (s.compare && enabled && pwm) {
      level = down;
    }
  } else if (s.compare && enabled) {
    c.setMasked(kRequests106, kReqCompare, c.value(kMasks106));
    if (pwm) level = down;
  }
  if (s.end) {
    c.setMasked(kRequests106, kReqEnd, c.value(kMasks106));
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
void Chip::pwmChanged() {
  if (!((shadow_.directionB >> 3) & 1)) return;
  setLevel(ports_[1], 3, pwmLevel_);
  post(kItemPortB, kFirstPinButton[1]);
}

// ---- Converter, detector, EEPROM.

void Chip::adcDone() {
  Cells c = cells();
  const int control = c.value(kAdcControl);
  const int result = adc_.input(control & 3);
  c.set(kAdcLow, result & 15);
  c.set(kAdcHigh, result >> 4);
  if (control & 4) {
    c.set(kAdcControl, 3);
    adc_.stop();
  } else if (!(control & 8)) {
    adc_.stop();
  } else {
    adc_.start();
  }
  kRequestsA.raise(c, kReqAdc);
}

void Chip::detectorDone() {
  Cells c = cells();
  const bool low = detector_.finish(supply_);
  c.setMasked(kLevelDetector, 0xC, low ? 8 : 0);
  kRequestsB.raise(c, kReqDetector);
}

void Chip::eepromDone() {
  Cells c = cells();
  if (c.bit(kEepromControl, 2)) c.setMasked(kRequests105, kReqEeprom, c.value(kMasks105));
  c.clearBits(kEepromControl, 4);
}

// ---- SWB.

void Chip::swbHalfDone(const periphery::SerialWriteBuffer::Half& h) {
  if (h.stop) {
    periphery::Cells c = cells();
    c.clearBits(kSwbControl, 4);
    swb_.stopped();
    updateSwbRunning(c);
  }
  if (h.ready) word(k42::kCond3) = 1;
  post(kItemSwb, swbItem::kClock | swbItem::kData | (h.appended ? swbItem::kText : 0));
}

// While halted in automatic mode: one half period; at the end of the
// transfer the halt ends and the buffer is ready.
void Chip::automaticSwbStep() {
  Cells c = cells();
  const bool finished = swb_.automaticHalfStep(c);
  post(kItemSwb, swbItem::kClock | swbItem::kData);
  if (!finished) return;
  c.clearBits(kSwbControl, 8);
  word(k42::kHalted) = 0;
  word(k42::kCond3) = 1;
}

}  // namespace qv4115
