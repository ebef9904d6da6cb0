#pragma once
// The QV4111 family model: register handlers, ports, timer, detector,
// watchdog, serial output and the reset. Included by the module of each
// chip of the family.
#include "model.h"

namespace qv4111 {

namespace pin = periphery::pin;
using periphery::Cells;

// ---- Reset.

template <class Self, const Layout& L>
int32_t Model<Self, L>::Instruction_Reset(CpuState* cpu, ProgramCell* program, RegisterCell* registers,
                                          TraceEntry* trace) {
  timer_.setReload(0);
  timer_.setCount(0);
  return simcore::PeripheryChip<Self>::Instruction_Reset(cpu, program, registers, trace);
}

// Value nibbles of 0-126 cleared (105 becomes 15; compare values and flags
// stay), the CPU restarted, the chain but its first /2, the watchdog, the
// pins, latches and window state cleared; the timer stops.
template <class Self, const Layout& L>
void Model<Self, L>::Periphery_Reset() {
  Cells c = cells();
  if (c.valid()) {
    for (int n = 0; n <= 126; ++n) c.set(n, 0);
    c.set(kSerialData, 15);
  }
  if (this->cpu_ != nullptr) this->resetCpu();
  prescaler_.restart();
  watchdog_.reset();
  resetRequest_ = false;
  ports_[kA].reset(pin::kMarker | pin::kRefresh);
  for (int p = kB; p <= kD; ++p) ports_[p].reset(pin::kRefresh);
  latchB_ = latchC_ = latchD_ = 0;
  timer_.setRunning(false);
  timer_.setAutoreload(false);
  timerSource_ = 0;
  timerEnabled_ = irqLed_ = false;
  tap_ = 0;
  detector_.reset();
  serial_.reset();
  serialMode_ = false;
  buzzerOn_ = false;
  buzzerText_ = prescalerText_ = 0;
  self().resetExtras();
  updateSerialSelection();
  for (int item = 0; item < L.items.count; ++item) post(item, kAllParts);
}

// ---- Registers.

template <class Self, const Layout& L>
int Model<Self, L>::onRead(int n) {
  Cells c = cells();
  switch (n) {
    case kTimerLow: return timer_.readLow();
    case kTimerHigh: return timer_.latchedHigh();
    case kRequests: {
      const int v = c.value(kRequests);
      c.clearBits(kRequests, kReqTimer | kReqPrescaler);
      return v;
    }
    case kPortARequests: {
      const int v = c.readAndClear(kPortARequests, 15);
      c.clearBits(kRequests, kReqPortA);
      ports_[kA].takeEdges([](periphery::PinEdge) {});
      return v;
    }
    case kPortCRequests: {
      const int v = c.readAndClear(kPortCRequests, 15);
      c.clearBits(kRequests, kReqPortC);
      ports_[kC].takeEdges([](periphery::PinEdge) {});
      return v;
    }
    default: return c.value(n);
  }
}

template <class Self, const Layout& L>
void Model<Self, L>::onWrite(int n, int v, int old) {
  Cells c = cells();
  switch (n) {
    case kTimerLow: writeTimerLow(v); break;
    case kTimerHigh:
      timer_.setReloadHigh(v);
      post(L.items.timer, timerItem::kReload);
      break;
    case kTimerControl:
      timerSource_ = v & 7;
      timer_.setAutoreload((v & 8) != 0);
      updateDue();
      post(L.items.timer, timerItem::kSource | timerItem::kAutoreload);
      break;
    case kSerialClock: writeSerialMode(v, old); break;
    case kSerialData: serial_.dataWritten(); break;
    case kSerialSizeLow: serial_.setSizeLow(v); break;
    case kSerialControl:
      serial_.setSizeHigh(v & 3);
      serial_.control((v & 4) != 0, (v & 8) != 0, c.value(kSerialData));
      updateSerialSelection();
      break;
    case kLevelDetector: {
      const int level = v & 3;
      if (level == 0) {
        c.setMasked(kLevelDetector, 3, 0);
      } else {
        c.set(kLevelDetector, level + 4);
        threshold_ = L.detectorLevels[level];
      }
      break;
    }
    case kRequests:
      irqLed_ = (v & 1) != 0;
      post(L.items.timer, timerItem::kIrq);
      break;
    case kWatchdogClear:
      if (v & 8) watchdog_.clear();
      break;
    case kPortAEnables: refreshMarkers(kA, v); break;
    case kPortB: writePortB(v); break;
    case kPortBDirection: writePortBDirection(v); break;
    case kPortC: writeWholePortLatch(kC, kPortC, latchC_, c.bit(kPortControl, 2), v, 0); break;
    case kPortCEnables: refreshMarkers(kC, v); break;
    case kPortD: writeWholePortLatch(kD, kPortD, latchD_, c.bit(kPortControl, 4), v, serialMode_ ? 2 : 0); break;
    case kPortControl:
      writeWholePortDirection(kC, (v & 2) != 0, latchC_);
      writeWholePortDirection(kD, (v & 4) != 0, portDLevels());
      updateSerialSelection();
      break;
    case kPrescaler:
      tap_ = v & 3;
      prescalerText_ = v & 3;
      if ((v ^ old) & 8) {
        irqLed_ = (v & 8) != 0;
        post(L.items.timer, timerItem::kIrq);
      }
      if (v & 4) prescaler_.restart();
      updateDue();
      post(L.items.prescaler, prescalerItem::kText);
      break;
    case kBuzzerTimer: writeBuzzerTimer(v, old); break;
    default: break;
  }
}

// ---- Timer.

// A start needs the timer enabled (126 bit 3) and a reload that is not 0;
// otherwise the write stops the timer and clears its autoreload.
template <class Self, const Layout& L>
void Model<Self, L>::writeTimerLow(int value) {
  Cells c = cells();
  timer_.setReloadLow(value);
  if (timer_.reload() != 0 && timerEnabled_) {
    timer_.start();
    c.set(kTimerLow, timer_.reload() & 15);
    c.set(kTimerHigh, timer_.reload() >> 4);
  } else {
    timer_.setRunning(false);
    timer_.setAutoreload(false);
    c.clearBits(kTimerControl, 8);
  }
  updateDue();
  post(L.items.timer, timerItem::kReload | timerItem::kActual | timerItem::kEnabled | timerItem::kAutoreload);
}

// The count's nibbles go to 96 and 97; the actual text is redrawn for the
// 2048 Hz source only at counts ending in 0, for 512 Hz at multiples of 4.
template <class Self, const Layout& L>
void Model<Self, L>::timerCounted(bool terminal) {
  Cells c = cells();
  if (terminal) {
    if (c.bit(kPrescaler, 8)) c.setBits(kRequests, kReqTimer);
    if (!timer_.running()) updateDue();
  }
  const int count = timer_.count();
  c.set(kTimerLow, count & 15);
  c.set(kTimerHigh, count >> 4);
  const int throttle = timerSource_ == 1 ? 15 : timerSource_ == 2 ? 3 : 0;
  if ((count & throttle) == 0) post(L.items.timer, timerItem::kActual);
}

template <class Self, const Layout& L>
void Model<Self, L>::writeBuzzerTimer(int v, int old) {
  if ((v ^ old) & 3) {
    buzzerText_ = v & 3;
    post(L.items.buzzer, kAllParts);
  }
  if ((v ^ old) & 4) {
    if (v & 4) {
      buzzerOn_ = true;
      buzzer_ = self().buzzerPin();
      periphery::Port& port = *buzzer_.port;
      port.drive(0, port.level(0));  // no toggling is modelled: the pin keeps its level
      port.setFunction(0, true);
      post(buzzer_.item, kAllParts);
    } else {
      buzzerOn_ = false;
      buzzer_.port->setFunction(0, false);
      self().buzzerReleased(buzzer_);
      post(buzzer_.item, kAllParts);
    }
  }
  timerEnabled_ = (v & 8) != 0;
  if (!timerEnabled_ && timer_.running()) {
    timer_.setRunning(false);
    updateDue();
  }
  post(L.items.timer, timerItem::kEnabled);
}

// The end of the buzzer gives PB0 back to register 118.
template <class Self, const Layout& L>
void Model<Self, L>::buzzerReleased(BuzzerPin) {
  drivePin(ports_[kB], 0, cells().bit(kPortBDirection, 1), latchB_ & 1);
}

// ---- Watchdog and detector.

template <class Self, const Layout& L>
void Model<Self, L>::watchdogStep() {
  if (cells().bit(kWatchdogEdge, 1))
    watchdog_.clear();
  else if (watchdog_.step())
    resetRequest_ = true;
}

// While 108 bit 2 is set: the first 128 Hz step marks the measurement
// pending, the next compares (a supply above the level clears bit 3, else
// sets it) and ends it.
template <class Self, const Layout& L>
void Model<Self, L>::detectorEvaluate() {
  Cells c = cells();
  if (!c.bit(kLevelDetector, 4)) return;
  if (!detector_.pending()) {
    detector_.start(threshold_);
    return;
  }
  const bool low = detector_.finish(supply_);
  c.setMasked(kLevelDetector, 0xC, low ? 8 : 0);
}

template <class Self, const Layout& L>
void Model<Self, L>::updateDue() {
  const auto inUse = [this](Event e) {
    switch (e) {
      case Event::Serial3: return serialSelection_ == 3;
      case Event::Serial2: return serialSelection_ == 2;
      case Event::Serial1: return serialSelection_ == 1;
      case Event::Serial0: return serialSelection_ == 0;
      case Event::Fast: return Self::kHasFastStep;
      case Event::Timer1: return timer_.running() && timerSource_ == 1;
      case Event::Timer2: return timer_.running() && timerSource_ == 2;
      case Event::Timer3: return timer_.running() && timerSource_ == 3;
      case Event::Timer4: return timer_.running() && timerSource_ == 4;
      case Event::Timer5: return timer_.running() && timerSource_ == 5;
      case Event::Timer6: return timer_.running() && timerSource_ == 6;
      case Event::Tap3: return tap_ == 3;
      case Event::Tap2: return tap_ == 2;
      case Event::Tap1: return tap_ == 1;
      case Event::Detector:
      case Event::Watchdog: return true;
    }
    return true;
  };
  prescaler_.setDueFrom(periphery::firstTapInUse(kTicks, inUse, kChainStages));
}

// ---- Serial output.

template <class Self, const Layout& L>
void Model<Self, L>::updateSerialSelection() {
  Cells c = cells();
  const bool on = c.valid() && c.bit(kSerialControl, 4) && c.bit(kPortControl, 4) && serialMode_;
  serialSelection_ = on ? (c.value(kSerialClock) & 3) : -1;
  updateDue();
}

template <class Self, const Layout& L>
bool Model<Self, L>::automaticRunning() const {
  const Cells c = cells();
  return c.bit(kSerialControl, 8) && c.bit(kSerialClock, 8) && c.bit(kPortControl, 4);
}

// One half period while halted; the falling half after the last nibble ends
// the automatic mode and enters the interrupt directly (false: the stack was
// full, the run ends with -1).
template <class Self, const Layout& L>
bool Model<Self, L>::automaticStep(int32_t& pc) {
  Cells c = cells();
  const bool finished = serial_.automaticHalfStep(c);
  followSerialPins();
  if (!finished) return true;
  c.clearBits(kSerialControl, 8);
  return this->enterInterruptDirect(pc);
}

// In serial mode PD0 and PD1 show the clock and data lines.
template <class Self, const Layout& L>
void Model<Self, L>::followSerialPins() {
  if (!serialMode_) return;
  periphery::Port& d = ports_[kD];
  if (d.driven(0)) d.setLevel(0, serial_.clock());
  if (d.driven(1)) d.setLevel(1, serial_.data());
  post(L.items.portD, kPortDButton);
}

// Serial mode on: PD0 and PD1 belong to the serial output ("SCK", "SD").
// Off: they are port D's again, with its direction and latch.
template <class Self, const Layout& L>
void Model<Self, L>::writeSerialMode(int v, int old) {
  if ((v ^ old) & 8) {
    serialMode_ = (v & 8) != 0;
    periphery::Port& d = ports_[kD];
    d.setFunction(0, serialMode_);
    d.setFunction(1, serialMode_);
    if (!serialMode_) {
      const bool output = cells().bit(kPortControl, 4);
      for (int p = 0; p < 2; ++p) drivePin(d, p, output, (latchD_ >> p) & 1);
    }
    post(L.items.portD, kPortDButton);
  }
  updateSerialSelection();
}

// ---- Ports.

template <class Self, const Layout& L>
void Model<Self, L>::drivePin(periphery::Port& port, int p, bool output, bool level) {
  if (output) {
    port.drive(p, level);
  } else if (port.release(p)) {
    port.setLevel(p, false);
  }
}

template <class Self, const Layout& L>
int Model<Self, L>::portItem(int port) const {
  constexpr int kItems[4] = {L.items.portA, L.items.portB, L.items.portC, L.items.portD};
  return kItems[port];
}

template <class Self, const Layout& L>
int Model<Self, L>::firstButton(int port) const {
  constexpr int kButtons[4] = {kPortAButton, kPortBButton, kPortCButton, kPortDButton};
  return kButtons[port];
}

// 118: output pins are driven at their latch bit, driven input pins released
// at level 0; PB0 stays with the buzzer while it is on.
template <class Self, const Layout& L>
void Model<Self, L>::writePortBDirection(int value) {
  for (int p = buzzerOn_ ? 1 : 0; p < 4; ++p) drivePin(ports_[kB], p, (value >> p) & 1, (latchB_ >> p) & 1);
  postPort(L.items.portB, kPortBButton);
}

// 117: the latch; each output pin (not PB0 while the buzzer is on) and its
// bit of 117 take the written bit.
template <class Self, const Layout& L>
void Model<Self, L>::writePortB(int value) {
  Cells c = cells();
  latchB_ = value;
  const int direction = c.value(kPortBDirection);
  for (int p = buzzerOn_ ? 1 : 0; p < 4; ++p) {
    if (!((direction >> p) & 1)) continue;
    ports_[kB].setLevel(p, (value >> p) & 1);
    c.setMasked(kPortB, 1 << p, value);
  }
  postPort(L.items.portB, kPortBButton);
}

template <class Self, const Layout& L>
void Model<Self, L>::writeWholePortDirection(int port, bool output, int levels) {
  for (int p = 0; p < 4; ++p) drivePin(ports_[port], p, output, (levels >> p) & 1);
  postPort(portItem(port), firstButton(port));
}

template <class Self, const Layout& L>
void Model<Self, L>::writeWholePortLatch(int port, int reg, int& latch, bool output, int value, int first) {
  if (value == latch) return;
  latch = value;
  if (!output) return;
  Cells c = cells();
  for (int p = first; p < 4; ++p) {
    ports_[port].setLevel(p, (value >> p) & 1);
    c.setMasked(reg, 1 << p, value);
  }
  postPort(portItem(port), firstButton(port));
}

// Markers: no interrupt, or the edge that 99 bit 3 selects (1 rising).
template <class Self, const Layout& L>
void Model<Self, L>::refreshMarkers(int port, int enables) {
  const bool rising = cells().bit(kWatchdogEdge, 8);
  for (int p = 0; p < 4; ++p) {
    const uint32_t kind = !((enables >> p) & 1) ? 0u : rising ? 2u : 1u;
    uint32_t& w = ports_[port].word(p);
    w = (w & ~pin::kMarkerKind) | pin::kMarker | (kind << 4);
  }
  postPort(portItem(port), firstButton(port));
}

template <class Self, const Layout& L>
void Model<Self, L>::SamplePorts() {
  Cells c = cells();
  if (c.valid()) timer_.setCount(16 * c.value(kTimerHigh) + c.value(kTimerLow));  // the monitor may have edited them
  SamplePortA();
  SamplePortB();
  SamplePortC();
  SamplePortD();
  self().sampleExtraPorts();
}

// PA levels to 114 and the jump conditions; enabled pins with the edge of
// 99 bit 3 request; PA3 clocks the timer (source 7) on a rising edge, or,
// with 101 bit 0 set, on the edge of 99 bit 3.
template <class Self, const Layout& L>
void Model<Self, L>::SamplePortA() {
  Cells c = cells();
  if (!c.valid()) return;
  periphery::Port& a = ports_[kA];
  c.set(kPortA, a.levels());
  this->word(k42::kCond1) = a.level(0);
  this->word(k42::kCond2) = a.level(1);
  this->word(k42::kCond3) = a.level(2);
  const bool falling = !c.bit(kWatchdogEdge, 8);
  const bool pa3Falling = c.bit(kPa3Clock, 1) && falling;
  if (periphery::selectedEdge(a.word(3), pa3Falling)) timerStep(7);
  c.setBits(kPortARequests, periphery::edgeRequests(a, c.value(kPortAEnables), falling ? 15 : 0));
  if (c.value(kPortARequests) != 0) c.setBits(kRequests, kReqPortA);
  a.takeEdges([](periphery::PinEdge) {});
}

template <class Self, const Layout& L>
void Model<Self, L>::SamplePortB() {
  Cells c = cells();
  if (!c.valid()) return;
  c.set(kPortB, ports_[kB].levels());
  ports_[kB].takeEdges([](periphery::PinEdge) {});
}

template <class Self, const Layout& L>
void Model<Self, L>::SamplePortC() {
  Cells c = cells();
  if (!c.valid()) return;
  periphery::Port& pc = ports_[kC];
  c.set(kPortC, pc.levels());
  const int fallingMask = c.bit(kWatchdogEdge, 8) ? 0 : 15;
  c.setBits(kPortCRequests, periphery::edgeRequests(pc, c.value(kPortCEnables), fallingMask));
  if (c.value(kPortCRequests) != 0) c.setBits(kRequests, kReqPortC);
  pc.takeEdges([](periphery::PinEdge) {});
}

template <class Self, const Layout& L>
void Model<Self, L>::SamplePortD() {
  Cells c = cells();
  if (!c.valid()) return;
  c.set(kPortD, ports_[kD].levels());
  ports_[kD].takeEdges([](periphery::PinEdge) {});
}

// Not in an interrupt (tested before); 109 bit 0; the timer or prescaler
// request, a member's own, or the ports by the rule of 124 bit 0: either
// port's requests, or with the bit set only both together.
template <class Self, const Layout& L>
bool Model<Self, L>::InterruptRequested() const {
  const Cells c = cells();
  if (!c.bit(kInterruptControl, 1)) [[likely]]
    return false;
  if (c.value(kRequests) & (kReqTimer | kReqPrescaler)) return true;
  if (self().extraInterrupt(c)) return true;
  const bool a = c.value(kPortARequests) != 0, pc = c.value(kPortCRequests) != 0;
  return c.bit(kPortControl, 1) ? (a && pc) : (a || pc);
}

}  // namespace qv4111
