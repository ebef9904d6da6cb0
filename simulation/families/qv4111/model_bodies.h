#pragma once
// The QV4111 family model's bodies: register handlers, ports, timer,
// detector, watchdog, serial output and the reset. Included by
// model.h; a chip's module instantiates them for its type.
#include "periphery/reset_table.h"

namespace qv4111 {

namespace pin = periphery::pin;
using periphery::Cells;

// ---- Reset.

template <class Self, const Qv4111Layout& L>
int32_t Qv4111Model<Self, L>::Instruction_Reset(CpuState* cpu, ProgramCell* program,
                                                RegisterCell* registers, TraceEntry* trace) {
  timer_.setReload(0);
  timer_.setCount(0);
  return simcore::PeripheryChip<Self>::Instruction_Reset(cpu, program, registers, trace);
}

// Value nibbles of 0-126 cleared (105 becomes 15; compare values and flags
// stay), the CPU restarted, the chain but its first /2, the watchdog, the
// pins, latches and window state cleared; the timer stops.
template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::Periphery_Reset() {
  showState();
  Cells c = cells();
  if (c.valid()) periphery::applyReset(kResetTable, c, 0);
  this->latch_.clear();
  if (this->cpu_ != nullptr) this->resetCpu();
  this->restartTimeBase();
  ports_[kA].reset(pin::kMarker | pin::kRefresh);
  for (int p = kB; p <= kD; ++p) ports_[p].reset(pin::kRefresh);
  latchB_ = latchC_ = latchD_ = 0;
  timer_.setRunning(false);
  timer_.setAutoreload(false);
  timerSource_ = 0;
  irqLed_ = false;
  tap_ = 0;
  serial_.reset();
  serialMode_ = false;
  buzzerOn_ = false;
  self().resetExtras();
  updateSerialSelection();
  for (int item = 0; item < L.items.count; ++item) post(item, kAllParts);
}

// ---- Registers.

template <class Self, const Qv4111Layout& L>
int Qv4111Model<Self, L>::onRead(int n) {
  Cells c = cells();
  switch (n) {
    case L.timer.low.reg:
      return timer_.readLow();
    case L.timer.high.reg:
      return timer_.latchedHigh();
    case L.irq.requests.reg: {
      const int v = c.value(L.irq.requests.reg);
      c.clearBits(L.irq.requests.reg, kReqTimer | kReqPrescaler);
      return v;
    }
    case L.portA.requests.reg: {
      const int v = c.readAndClear(L.portA.requests.reg, 15);
      c.clearBits(L.irq.requests.reg, kReqPortA);
      ports_[kA].takeEdges([](periphery::PinEdge) {});
      return v;
    }
    case L.portC.requests.reg: {
      const int v = c.readAndClear(L.portC.requests.reg, 15);
      c.clearBits(L.irq.requests.reg, kReqPortC);
      ports_[kC].takeEdges([](periphery::PinEdge) {});
      return v;
    }
    default:
      return c.value(n);
  }
}

template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::onWrite(int n, int v, int old) {
  using periphery::Route;
  using M = Qv4111Model;
  using Routes = periphery::WriteRoutes<
      Route<Block::Timer, &M::writeTimer>, Route<Block::Serial, &M::writeSerial>,
      Route<Block::Detector, &M::writeDetector>, Route<Block::Irq, &M::writeIrq>,
      Route<Block::Watchdog, &M::writeWatchdog>, Route<Block::Ports, &M::writePorts>,
      Route<Block::Prescaler, &M::writePrescaler>, Route<Block::Buzzer, &M::writeBuzzer>>;
  // The family's own table: a member's lines over it name none of its blocks.
  Routes::write(*this, M::kRegisterMap, n, v, old);
}

template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::writeTimer(int n, int v, int /*old*/) {
  switch (n) {
    case L.timer.low.reg: writeTimerLow(v); break;
    case L.timer.high.reg:
      timer_.setReloadHigh(v);
      post(L.items.timer, timerItem::kReload);
      break;
    default:  // the control: source and autoreload
      timerSource_ = L.timer.source.of(v);
      timer_.setAutoreload(L.timer.autoreload.setIn(v));
      updateDue();
      post(L.items.timer, timerItem::kSource | timerItem::kAutoreload);
      break;
  }
}

template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::writeSerial(int n, int v, int old) {
  switch (n) {
    case L.serial.clock.reg: writeSerialMode(v, old); break;
    case L.serial.data.reg: serial_.dataWritten(); break;
    case L.serial.sizeLow.reg: serial_.setSizeLow(v); break;
    default:  // the control: size bits 4-5, start, automatic
      serial_.setSizeHigh(L.serial.sizeHigh.of(v));
      serial_.control(L.serial.start.setIn(v), L.serial.automatic.setIn(v), cells().value(L.serial.data.reg));
      updateSerialSelection();
      break;
  }
}

// A level of 0 clears the level bits; another starts a measurement at it.
template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::writeDetector(int /*n*/, int v, int /*old*/) {
  Cells c = cells();
  const int level = L.detector.level.of(v);
  if (level == 0) {
    c.setMasked(L.detector.level.reg, L.detector.level.mask, 0);
  } else {
    c.set(L.detector.control.reg, L.detector.measuring.with(level, 1));
    threshold_ = L.detectorLevels[level];
  }
}

template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::writeIrq(int /*n*/, int v, int /*old*/) {
  irqLed_ = L.irq.led.setIn(v);
  post(L.items.timer, timerItem::kIrq);
}

template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::writeWatchdog(int /*n*/, int v, int /*old*/) {
  if (L.edgeWatchdog.clear.setIn(v)) watchdog_.clear();
}

template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::writePorts(int n, int v, int /*old*/) {
  Cells c = cells();
  switch (n) {
    case L.portA.enables.reg: refreshMarkers(kA, v); break;
    case L.portB.data.reg: writePortB(v); break;
    case L.portB.direction.reg: writePortBDirection(v); break;
    case L.portC.data.reg:
      writeWholePortLatch(kC, L.portC.data.reg, latchC_, test(c, L.ports.outputC), v, 0);
      break;
    case L.portC.enables.reg: refreshMarkers(kC, v); break;
    case L.portD.data.reg:
      writeWholePortLatch(kD, L.portD.data.reg, latchD_, test(c, L.ports.outputD), v, serialMode_ ? 2 : 0);
      break;
    default:  // the directions of C and D
      writeWholePortDirection(kC, L.ports.outputC.setIn(v), latchC_);
      writeWholePortDirection(kD, L.ports.outputD.setIn(v), portDLevels());
      updateSerialSelection();
      break;
  }
}

template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::writePrescaler(int /*n*/, int v, int old) {
  tap_ = L.prescaler.tap.of(v);
  if (L.prescaler.timerIrq.setIn(v ^ old)) {
    irqLed_ = L.prescaler.timerIrq.setIn(v);
    post(L.items.timer, timerItem::kIrq);
  }
  if (L.prescaler.restart.setIn(v)) prescaler_.restart();
  updateDue();
  post(L.items.prescaler, prescalerItem::kText);
}

template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::writeBuzzer(int /*n*/, int v, int old) {
  writeBuzzerTimer(v, old);
}

// ---- Timer.

// A start needs the timer enabled (126 bit 3) and a reload that is not 0;
// otherwise the write stops the timer and clears its autoreload.
template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::writeTimerLow(int value) {
  Cells c = cells();
  timer_.setReloadLow(value);
  if (timer_.reload() != 0 && this->latch_.test(L.buzzer.timerEnable)) {
    timer_.start();
    c.set(L.timer.low.reg, timer_.reload() & 15);
    c.set(L.timer.high.reg, timer_.reload() >> 4);
  } else {
    timer_.setRunning(false);
    timer_.setAutoreload(false);
    c.clearBits(L.timer.autoreload.reg, L.timer.autoreload.mask);
  }
  updateDue();
  post(L.items.timer,
       timerItem::kReload | timerItem::kActual | timerItem::kEnabled | timerItem::kAutoreload);
}

// The count's nibbles go to 96 and 97; the actual text is redrawn for the
// 2048 Hz source only at counts ending in 0, for 512 Hz at multiples of 4.
template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::timerCounted(bool terminal) {
  Cells c = cells();
  if (terminal) {
    if (test(c, L.prescaler.timerIrq)) c.setBits(L.irq.requests.reg, kReqTimer);
    if (!timer_.running()) updateDue();
  }
  showTimerCount(c);
  const int count = timer_.count();
  const int throttle = timerSource_ == 1 ? 15 : timerSource_ == 2 ? 3 : 0;
  if ((count & throttle) == 0) post(L.items.timer, timerItem::kActual);
}

template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::writeBuzzerTimer(int v, int old) {
  if (L.buzzer.frequency.setIn(v ^ old)) post(L.items.buzzer, kAllParts);
  if (L.buzzer.on.setIn(v ^ old)) {
    if (L.buzzer.on.setIn(v)) {
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
  if (!L.buzzer.timerEnable.setIn(v) && timer_.running()) {
    timer_.setRunning(false);
    updateDue();
  }
  post(L.items.timer, timerItem::kEnabled);
}

// The end of the buzzer gives PB0 back to register 118.
template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::buzzerReleased(BuzzerPin) {
  drivePin(ports_[kB], 0, test(cells(), L.portB.direction.bits(1)), latchB_ & 1);
}

// ---- Watchdog and detector.

template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::watchdogStep() {
  if (test(cells(), L.edgeWatchdog.hold))
    watchdog_.clear();
  else if (watchdog_.step())
    resetRequest_ = true;
}

// While 108 bit 2 is set: the first 128 Hz step marks the measurement
// pending, the next compares (a supply above the level clears bit 3, else
// sets it) and ends it.
template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::detectorEvaluate() {
  Cells c = cells();
  if (!test(c, L.detector.measuring)) return;
  if (!detector_.pending()) {
    detector_.start(threshold_);
    return;
  }
  const bool low = detector_.finish(supply_);
  c.setMasked(L.detector.control.reg, L.detector.measuring.mask | L.detector.result.mask,
              low ? L.detector.result.mask : 0);
}

// ---- Serial output.

template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::updateSerialSelection() {
  Cells c = cells();
  const bool on = c.valid() && test(c, L.serial.start) && test(c, L.ports.outputD) && serialMode_;
  serialSelection_ = on ? L.serial.selection.of(c.value(L.serial.clock.reg)) : -1;
  updateDue();
}

template <class Self, const Qv4111Layout& L>
bool Qv4111Model<Self, L>::automaticRunning() const {
  const Cells c = cells();
  return test(c, L.serial.automatic) && test(c, L.serial.mode) && test(c, L.ports.outputD);
}

// One half period while halted; the falling half after the last nibble ends
// the automatic mode and enters the interrupt directly (false: the stack was
// full, the run ends with -1).
template <class Self, const Qv4111Layout& L>
bool Qv4111Model<Self, L>::automaticStep(int32_t& pc) {
  Cells c = cells();
  const bool finished = serial_.automaticHalfStep(c);
  followSerialPins();
  if (!finished) return true;
  c.clearBits(L.serial.automatic.reg, L.serial.automatic.mask);
  return this->enterInterruptDirect(pc);
}

// In serial mode PD0 and PD1 show the clock and data lines.
template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::followSerialPins() {
  if (!serialMode_) return;
  periphery::Port& d = ports_[kD];
  if (d.driven(0)) d.setLevel(0, serial_.clock());
  if (d.driven(1)) d.setLevel(1, serial_.data());
  post(L.items.portD, kPortDButton);
}

// Serial mode on: PD0 and PD1 belong to the serial output ("SCK", "SD").
// Off: they are port D's again, with its direction and latch.
template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::writeSerialMode(int v, int old) {
  if (L.serial.mode.setIn(v ^ old)) {
    serialMode_ = L.serial.mode.setIn(v);
    periphery::Port& d = ports_[kD];
    d.setFunction(0, serialMode_);
    d.setFunction(1, serialMode_);
    if (!serialMode_) {
      const bool output = test(cells(), L.ports.outputD);
      for (int p = 0; p < 2; ++p) drivePin(d, p, output, (latchD_ >> p) & 1);
    }
    post(L.items.portD, kPortDButton);
  }
  updateSerialSelection();
}

// ---- Ports.

template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::drivePin(periphery::Port& port, int p, bool output, bool level) {
  if (output) {
    port.drive(p, level);
  } else {
    port.release(p, periphery::ReleasedLevel::Low);
  }
}

template <class Self, const Qv4111Layout& L>
int Qv4111Model<Self, L>::portItem(int port) const {
  constexpr int kItems[4] = {L.items.portA, L.items.portB, L.items.portC, L.items.portD};
  return kItems[port];
}

template <class Self, const Qv4111Layout& L>
int Qv4111Model<Self, L>::firstButton(int port) const {
  constexpr int kButtons[4] = {kPortAButton, kPortBButton, kPortCButton, kPortDButton};
  return kButtons[port];
}

// 118: output pins are driven at their latch bit, driven input pins released
// at level 0; PB0 stays with the buzzer while it is on.
template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::writePortBDirection(int value) {
  for (int p = buzzerOn_ ? 1 : 0; p < 4; ++p)
    drivePin(ports_[kB], p, (value >> p) & 1, (latchB_ >> p) & 1);
  postPort(L.items.portB, kPortBButton);
}

// 117: the latch; each output pin (not PB0 while the buzzer is on) and its
// bit of 117 take the written bit.
template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::writePortB(int value) {
  Cells c = cells();
  latchB_ = value;
  const int direction = c.value(L.portB.direction.reg);
  for (int p = buzzerOn_ ? 1 : 0; p < 4; ++p) {
    if (!((direction >> p) & 1)) continue;
    ports_[kB].setLevel(p, (value >> p) & 1);
    c.setMasked(L.portB.data.reg, 1 << p, value);
  }
  postPort(L.items.portB, kPortBButton);
}

template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::writeWholePortDirection(int port, bool output, int levels) {
  periphery::WholePortRule::setDirection(ports_[port], output, levels);
  postPort(portItem(port), firstButton(port));
}

template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::writeWholePortLatch(int port, int reg, int& latch, bool output,
                                               int value, int first) {
  const int pins = 15 & ~((1 << first) - 1);
  if (!periphery::WholePortRule::writeLatch(ports_[port], latch, output, value, pins)) return;
  cells().setMasked(reg, pins, value);
  postPort(portItem(port), firstButton(port));
}

// Markers: no interrupt, or the edge that 99 bit 3 selects (1 rising).
template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::refreshMarkers(int port, int enables) {
  const bool rising = test(cells(), L.edgeWatchdog.rising);
  for (int p = 0; p < 4; ++p) {
    const uint32_t kind = !((enables >> p) & 1) ? 0u : rising ? 2u : 1u;
    uint32_t& w = ports_[port].word(p);
    w = (w & ~pin::kMarkerKind) | pin::kMarker | (kind << 4);
  }
  postPort(portItem(port), firstButton(port));
}

template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::SamplePorts() {
  this->takeTimerCount(cells());
  SamplePortA();
  SamplePortB();
  SamplePortC();
  SamplePortD();
  self().sampleExtraPorts();
}

// PA levels to 114 and the jump conditions; enabled pins with the edge of
// 99 bit 3 request; PA3 clocks the timer (source 7) on a rising edge, or,
// with 101 bit 0 set, on the edge of 99 bit 3.
template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::SamplePortA() {
  Cells c = cells();
  if (!c.valid()) return;
  periphery::Port& a = ports_[kA];
  c.set(L.portA.levels.reg, a.levels());
  this->word(k42::kCond1) = a.level(0);
  this->word(k42::kCond2) = a.level(1);
  this->word(k42::kCond3) = a.level(2);
  const bool falling = !test(c, L.edgeWatchdog.rising);
  const bool pa3Falling = test(c, L.portA.pa3Edge) && falling;
  if (periphery::selectedEdge(a.word(3), pa3Falling)) timerStep(7);
  c.setBits(L.portA.requests.reg,
            periphery::edgeRequests(a, c.value(L.portA.enables.reg), falling ? 15 : 0));
  if (c.value(L.portA.requests.reg) != 0) c.setBits(L.irq.requests.reg, kReqPortA);
  a.takeEdges([](periphery::PinEdge) {});
}

template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::SamplePortB() {
  Cells c = cells();
  if (!c.valid()) return;
  c.set(L.portB.data.reg, ports_[kB].levels());
  ports_[kB].takeEdges([](periphery::PinEdge) {});
}

template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::SamplePortC() {
  Cells c = cells();
  if (!c.valid()) return;
  periphery::Port& pc = ports_[kC];
  c.set(L.portC.data.reg, pc.levels());
  const int fallingMask = test(c, L.edgeWatchdog.rising) ? 0 : 15;
  c.setBits(L.portC.requests.reg,
            periphery::edgeRequests(pc, c.value(L.portC.enables.reg), fallingMask));
  if (c.value(L.portC.requests.reg) != 0) c.setBits(L.irq.requests.reg, kReqPortC);
  pc.takeEdges([](periphery::PinEdge) {});
}

template <class Self, const Qv4111Layout& L>
void Qv4111Model<Self, L>::SamplePortD() {
  Cells c = cells();
  if (!c.valid()) return;
  c.set(L.portD.data.reg, ports_[kD].levels());
  ports_[kD].takeEdges([](periphery::PinEdge) {});
}

// Not in an interrupt (tested before); 109 bit 0; the timer or prescaler
// request, a member's own, or the ports by the rule of 124 bit 0: either
// port's requests, or with the bit set only both together.
template <class Self, const Qv4111Layout& L>
bool Qv4111Model<Self, L>::InterruptRequested() const {
  const Cells c = cells();
  if (!test(c, L.irq.interruptEnable)) [[likely]]
    return false;
  if (c.value(L.irq.requests.reg) & (kReqTimer | kReqPrescaler)) return true;
  if (self().extraInterrupt(c)) return true;
  const bool a = c.value(L.portA.requests.reg) != 0, pc = c.value(L.portC.requests.reg) != 0;
  return test(c, L.ports.bothPorts) ? (a && pc) : (a || pc);
}

}  // namespace qv4111
