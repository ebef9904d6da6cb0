// QV4128's periphery model: register handlers, port samplers, reset.
#include "qv4128.h"

namespace qv4128 {

using periphery::Cells;
using periphery::PinEdge;
namespace pin = periphery::pin;

void Chip::postAll() {
  for (int p = 0; p < 5; ++p) postRedraw(kItemPort1 + p, kFirstPinButton[p]);
  postRedraw(kItemPrescaler, prescalerItem::kAll);
  postRedraw(kItemWatchdog, 1);
  postRedraw(kItemTimer1, timer1::kAll);
  postRedraw(kItemTimer2, timer2::kAll);
  postRedraw(kItemMelody, melodyItem::kAll);
  postRedraw(kItemSound, 1);
}

// ---- Reset.

void Chip::Periphery_Reset() {
  showState();
  Cells c = cells();
  if (c.valid()) periphery::applyReset(kResetTable, c, 0);
  prescaler_.reset();
  watchdog_.reset();
  timer1_.reset();
  timer2_.reset();
  timer1Sync_ = false;
  for (int p = 0; p < 5; ++p) ports_[p].reset(p < 2 ? pin::kMarker : pin::kTextShown);
  for (int& l : outputLatches_) l = 0;
  direction_ = 0;
  serial_.reset();
  melody_.reset();
  bank_.reset();
  signalLevel_ = 0;
  periphery::applyReset(kResetTable, latch_, 0);
  serialControl_ = 0;
  updateTaps();
  for (periphery::Port& p : ports_)
    for (int i = 0; i < periphery::Port::kPins; ++i) p.word(i) |= pin::kRefresh;
  postAll();
}

// Watchdog and pin-combination reset: the CPU restarts at address 0 too.
void Chip::chipReset() {
  if (cpu_ != nullptr) resetCpu();
  Periphery_Reset();
}

// ---- Registers.

int Chip::onRead(int n) { return cells().value(n); }

void Chip::onWrite(int n, int v, int old) {
  using Routes = periphery::WriteRoutes<
      periphery::Route<Block::System, &Chip::writeSystem>, periphery::Route<Block::Prescaler, &Chip::writePrescaler>,
      periphery::Route<Block::Ports, &Chip::writePorts>, periphery::Route<Block::Timer1, &Chip::writeTimer1>,
      periphery::Route<Block::Timer2, &Chip::writeTimer2>, periphery::Route<Block::Pulse, &Chip::writePulse>,
      periphery::Route<Block::Melody, &Chip::writeMelody>, periphery::Route<Block::Irq, &Chip::writeIrq>,
      periphery::Route<Block::Serial, &Chip::writeSerial>, periphery::Route<Block::Ram, &Chip::writeRam>>;
  Routes::write(*this, kRegisterMap, n, v, old);
}

// The interrupt mask is in both registers; 65 is bit set/clear, its bit 0
// clears the watchdog and is not kept.
void Chip::writeSystem(int n, int v, int old) {
  Cells c = cells();
  switch (n) {
    case L.system.mask.reg:
      c.setMasked(L.system.controlMasked.reg, L.system.controlMasked.mask, v);
      break;
    case L.system.control.reg: {
      const int r = periphery::bitSetClear(old, v);
      c.setMasked(L.system.masked.reg, L.system.masked.mask, r);
      if (L.system.clearWatchdog.setIn(r)) watchdog_.clear();
      c.set(L.system.control.reg, r & L.system.controlMasked.mask);
      break;
    }
    default:  // the options
      watchdog_.setOff(L.system.watchdogOff.setIn(v));
      if (L.system.watchdogOff.setIn(v)) watchdog_.clear();
      updateTaps();
      refreshOutputs();
      postRedraw(kItemPort3, kFirstPinButton[2]);
      postRedraw(kItemWatchdog, 1);
      postRedraw(kItemPrescaler, 0);  // the IRQ label follows bit 0
      break;
  }
}

// The readout's stages are in both registers; 67 is bit set/clear, its bit
// 0 restarts the chain and is not kept.
void Chip::writePrescaler(int n, int v, int old) {
  Cells c = cells();
  if (n == L.prescaler.select.reg) {
    c.setMasked(L.prescaler.controlStages.reg, L.prescaler.controlStages.mask, v);
  } else {
    const int r = periphery::bitSetClear(old, v);
    c.setMasked(L.prescaler.selectStages.reg, L.prescaler.selectStages.mask, r);
    if (L.prescaler.restart.setIn(r)) prescaler_.restart();
    c.set(L.prescaler.control.reg, L.prescaler.restart.with(r, 0));
  }
  refreshReadout();
}

void Chip::writePorts(int n, int v, int /*old*/) {
  switch (n) {
    case L.ports.port3.reg:
    case L.ports.port4.reg: {
      const int p = n == L.ports.port3.reg ? 2 : 3;
      const int writable = outputsOf(p);
      int& latch = outputLatches_[p];
      latch = (latch & ~writable) | (v & writable);
      refreshOutputs();
      break;
    }
    case L.ports.directions.reg:
      refreshOutputs();
      break;
    case L.ports.port5.reg: {
      const int outputs = latch_.at(L.ports.port5Directions.reg);
      outputLatches_[4] = (outputLatches_[4] & ~outputs) | (v & outputs);
      refreshPort5();
      break;
    }
    default:  // the port 5 directions
      refreshPort5();
      break;
  }
}

void Chip::writeTimer1(int n, int v, int /*old*/) {
  if (n == L.timer1.control.reg) {
    timer1_.setInput(L.timer1.input.of(v));
    timer1_.setAutoReload(L.timer1.autoReload.setIn(v));
    timer1Sync_ = L.timer1.synchronous.setIn(v);
    updateTaps();
    refreshOutputs();
    postRedraw(kItemTimer1, timer1::kZeroStop | timer1::kSync | timer1::kAutoReload | timer1::kInput);
    return;
  }
  timer1_.setStart(v);
  if (timer1Sync_)
    timer1_.requestLoad();
  else
    timer1_.load();
  updateTaps();
  refreshOutputs();
  postRedraw(kItemTimer1, timer1::kRunning | timer1::kStart);
}

void Chip::writeTimer2(int n, int v, int /*old*/) {
  if (n == L.timer2.control.reg) {
    timer2_.setInput(L.timer2.input.of(v));
    timer2_.setAutoReload(L.timer2.autoReload.setIn(v));
    updateTaps();
    postRedraw(kItemTimer2, timer2::kZeroStop | timer2::kAutoReload | timer2::kInput);
    return;
  }
  timer2_.setStart(v);
  timer2_.load();
  updateTaps();
  postRedraw(kItemTimer2, timer2::kRunning | timer2::kStart);
}

void Chip::writePulse(int n, int /*v*/, int /*old*/) { cells().set(n, 0); }

void Chip::writeMelody(int n, int v, int /*old*/) {
  if (n == L.melody.high.reg) {
    melody_.setDivider(cells().value(L.melody.low.reg) | (v << 4));
    postRedraw(kItemMelody, melodyItem::kFrequency);
  } else {
    postRedraw(kItemMelody, melodyItem::kEnabled | melodyItem::kEnvelope | melodyItem::kImage);
  }
}

void Chip::writeIrq(int n, int /*v*/, int /*old*/) {
  if (n != L.irq.enables1.reg) {
    refreshMarkers();
    return;
  }
  postRedraw(kItemPrescaler, prescalerItem::kAll);
  postRedraw(kItemTimer1, timer1::kEnable);
  postRedraw(kItemTimer2, timer2::kEnable);
}

void Chip::writeSerial(int n, int v, int /*old*/) {
  switch (n) {
    case L.serial.low.reg:
      serial_.load(v);
      break;
    case L.serial.high.reg:
      serial_.load(serial_.shiftRegister() + 16 * v);
      break;
    case L.serial.mode.reg:
      serial_.setBitsPerTransfer(8 - L.serial.bitsShort.of(v));
      updateTaps();
      refreshPort5();
      break;
    default: {  // the control
      const int before = serialControl_;
      serialControl_ = v;
      if (L.serial.start.setIn(v) && !L.serial.start.setIn(before)) serial_.start();
      updateTaps();
      refreshPort5();
      if (L.serial.function.setIn(v ^ before)) postRedraw(kItemPort5, kFirstPinButton[4]);
      break;
    }
  }
}

void Chip::writeRam(int n, int v, int /*old*/) {
  Cells c = cells();
  c.set(n, L.ram.select.of(v));
  bank_.select(c, L.ram.select.of(v));
}

// ---- Prescaler, timers, outputs.

void Chip::tickEvents(int carried) {
  periphery::fireTaps<kTicks>(carried, [this](auto e) { return onEvent(e()); });
  // Stages 7 and up changed: the readout (85) may have changed.
  if (carried >= kReadoutCarries) refreshReadout();
}

bool Chip::tapInUse(Event e) const {
  switch (e) {
    case Event::SerialTap4: return serialTap_ == 4;
    case Event::SerialTap8: return serialTap_ == 8;
    case Event::SerialTap12: return serialTap_ == 12;
    case Event::SignalTap0: return signalTap_ == 0;
    case Event::SignalTap4: return signalTap_ == 4;
    case Event::SignalTap8: return signalTap_ == 8;
    case Event::SignalTap12: return signalTap_ == 12;
    case Event::Timer1Input0: return timer1_.running() && timer1_.input() == 0;
    case Event::Timer1Input1: return timer1_.running() && timer1_.input() == 1;
    case Event::Timer1Input2: return timer1_.running() && timer1_.input() == 2;
    case Event::Timer1Input3: return timer1_.running() && timer1_.input() == 3;
    case Event::Timer2Input0: return timer2_.running() && timer2_.input() == 0;
    case Event::Timer2Input1: return timer2_.running() && timer2_.input() == 1;
    case Event::Timer2Input2: return timer2_.running() && timer2_.input() == 2;
    case Event::Timer2Input3: return timer2_.running() && timer2_.input() == 3;
    default: return true;
  }
}

void Chip::refreshReadout() {
  Cells c = cells();
  if (!c.valid()) return;
  const bool low = c.bit(L.prescaler.lowStages.reg, L.prescaler.lowStages.mask);
  c.set(L.prescaler.readout.reg, prescaler_.stageBits(low ? 7 : 11, 4));
}

void Chip::timerStep(periphery::DownTimer4& timer, int input, int request, int item) {
  if (!timer.step(input)) return;
  Cells c = cells();
  kTimerRequests.raise(c, request);
  if (!timer.running()) {  // stopped: the running LED goes out, its tap is idle
    postRedraw(item, 1);
    updateTaps();
  }
  if (&timer == &timer1_) refreshOutputs();
}

// The serial clock and the P3.3 signal use the tick tap that register 114
// bits 2-3 name; the serial clock only while a transfer runs on the internal
// clock, the signal only while register 68 bit 1 is set. The prescaler
// skips the ticks below the fastest tap in use (the selected inputs of the
// running timers included).
void Chip::updateTaps() {
  const int tap = latch_.bits(L.serial.clockTap);
  const bool transfer = latch_.test(L.serial.function) && latch_.test(L.serial.start);
  serialTap_ = (transfer && tap != 0) ? tap : -1;
  signalTap_ = latch_.test(L.system.signal) ? tap : -1;
  prescaler_.setDueFrom(periphery::firstTapInUse(
      kTicks, [this](Event e) { return tapInUse(e); }, kReadoutCarries));
}

void Chip::toggleSignal() {
  signalLevel_ ^= 1;
  if (ports_[2].drive(3, signalLevel_ != 0)) postRedraw(kItemPort3, kFirstPinButton[2]);
}

// Ports 3 and 4: output pins show their latch bit, or are driven high while
// Timer1 is synchronous and at 0 (port 4 only unless register 68 bit 3);
// P3.3 carries the prescaler signal while register 68 bit 1 is set.
void Chip::refreshOutputs() {
  const bool syncHigh = timer1Sync_ && timer1_.counter() == 0;
  for (int p = 2; p <= 3; ++p) {
    const int outputs = outputsOf(p);
    const bool high = syncHigh && (p == 2 || !latch_.test(L.system.port4OffTimer1));
    bool changed = false;
    for (int i = 0; i < 4; ++i) {
      if (p == 2 && i == 3 && latch_.test(L.system.signal)) {
        changed |= ports_[p].drive(3, signalLevel_ != 0);
      } else if (simcore::bitAt(outputs, i)) {
        changed |= ports_[p].drive(i, high || simcore::bitAt(outputLatches_[p], i));
      } else {
        changed |= ports_[p].release(i);
      }
    }
    Cells c = cells();
    if (c.valid()) c.setMasked(p == 2 ? L.ports.port3.reg : L.ports.port4.reg, outputs, outputLatches_[p]);
    if (changed) postRedraw(kItemPort1 + p, kFirstPinButton[p]);
  }
}

// Port 5: with the serial function, IN is an input, RDY shows a running
// transfer, OUT the bit being sent and CLK the clock phase when the clock is
// internal; otherwise the output pins show their latch bits.
void Chip::refreshPort5() {
  periphery::Port& p = ports_[4];
  bool changed = false;
  if (serialFunction()) {
    changed |= p.release(kPinIn);
    changed |= p.drive(kPinRdy, latch_.test(L.serial.start));
    changed |= p.drive(kPinOut, serial_.out() != 0);
    if (latch_.test(L.serial.clockTap))
      changed |= p.drive(kPinClk, serial_.phase() != 0);
    else
      changed |= p.release(kPinClk);
  } else {
    const int outputs = latch_.at(L.ports.port5Directions.reg);
    for (int i = 0; i < 4; ++i)
      changed |= simcore::bitAt(outputs, i) ? p.drive(i, simcore::bitAt(outputLatches_[4], i)) : p.release(i);
    Cells c = cells();
    if (c.valid()) c.setMasked(L.ports.port5.reg, outputs, outputLatches_[4]);
  }
  if (changed) postRedraw(kItemPort5, kFirstPinButton[4]);
}

// Interrupt markers of ports 1 and 2: shown, kind 1 while the pin's request
// is enabled.
void Chip::refreshMarkers() {
  const bool pulse = latch_.test(L.irq.pulseEnable);
  const bool port1[4] = {pulse, pulse, latch_.test(L.irq.pin2Enable), latch_.test(L.irq.pin3Enable)};
  for (int i = 0; i < 4; ++i) {
    uint32_t& w1 = ports_[0].word(i);
    w1 = (w1 & ~pin::kMarkerKind) | (port1[i] ? (1u << 4) : 0u);
    uint32_t& w2 = ports_[1].word(i);
    w2 = (w2 & ~pin::kMarkerKind) | (latch_.test(L.irq.port2Enable) ? (1u << 4) : 0u);
  }
  postRedraw(kItemPort1, kFirstPinButton[0]);
  postRedraw(kItemPort2, kFirstPinButton[1]);
}

// ---- Serial interface.

void Chip::serialClock() {
  const periphery::SerialPhases phases{latch_.value(L.serial.samplingPhase),
                                       latch_.test(L.serial.otherPhase)};
  const periphery::SerialShifter::Clock r = serial_.clock(ports_[4].level(kPinIn), phases);
  if (r.done) serialDone();
  refreshPort5();
}

void Chip::serialDone() {
  Cells c = cells();
  if (!c.valid()) return;
  serialControl_ &= ~L.serial.start.mask;
  latch_.store(L.serial.control.reg, serialControl_);
  c.clearBits(L.serial.control.reg, L.serial.start.mask);
  kSerialRequests.raise(c, kReqSerial);
  c.set(L.serial.low.reg, serial_.received() & 15);
  c.set(L.serial.high.reg, serial_.received() >> 4);
  updateTaps();
}

// ---- Port samplers.

// The sampler of a port clicked in the window.
void Chip::samplePort(int port) {
  switch (port) {
    case 0: samplePort1(); break;
    case 1: samplePort2(); break;
    case 2:
    case 3: samplePorts34(); break;
    default: samplePort5(); break;
  }
}

void Chip::SamplePorts() {
  if (registers_ == nullptr) return;
  samplePort1();
  samplePort2();
  samplePorts34();
  samplePort5();
}

void Chip::samplePort1() {
  Cells c = cells();
  periphery::Port& p = ports_[0];
  c.set(L.ports.port1.reg, p.levels());
  p.takeEdges([&](PinEdge e) {
    if (e.pin <= 1) {
      c.set(L.pulse.count.reg, c.value(L.pulse.count.reg) < 7 ? c.value(L.pulse.count.reg) + 1 : 7);
      kPinRequests.raise(c, kReqPulse);
      // Quadrature: a rising edge of pin 0 with pin 1 low (and the three
      // cases that follow it in the same sense) means direction 1.
      const bool pin0 = simcore::bitAt(e.levelsAfter, 0), pin1 = simcore::bitAt(e.levelsAfter, 1);
      const int dir = e.pin == 0 ? (e.rising != pin1) : (e.rising == pin0);
      if (dir != direction_) {
        direction_ = dir;
        kPinRequests.raise(c, kReqDirection);
      }
    } else {
      kPinRequests.raise(c, e.pin == 2 ? kReqPin2 : kReqPin3);
    }
  });
  c.set(L.ports.direction.reg, direction_);
}

void Chip::samplePort2() {
  Cells c = cells();
  periphery::Port& p = ports_[1];
  c.set(L.ports.port2.reg, p.levels());
  if (!c.bit(L.system.resetOptions.reg, L.system.noCombinationReset.mask) && p.level(2) && p.level(3) &&
      ports_[0].level(3)) {
    chipReset();
    return;
  }
  bool rising = false;
  p.takeEdges([&](PinEdge e) { rising |= e.rising; });
  if (rising) kSerialRequests.raise(c, kReqPort2);
}

void Chip::samplePorts34() {
  Cells c = cells();
  for (int p = 2; p <= 3; ++p) {
    const int outputs = outputsOf(p);
    c.set(p == 2 ? L.ports.port3.reg : L.ports.port4.reg,
          (outputLatches_[p] & outputs) | (ports_[p].levels() & ~outputs));
    ports_[p].takeEdges([](PinEdge) {});
  }
}

void Chip::samplePort5() {
  Cells c = cells();
  periphery::Port& p = ports_[4];
  if (!serialFunction()) {
    const int outputs = latch_.at(L.ports.port5Directions.reg);
    c.set(L.ports.port5.reg, (outputLatches_[4] & outputs) | (p.levels() & ~outputs));
    p.takeEdges([](PinEdge) {});
    return;
  }
  const bool externalClock = !latch_.test(L.serial.clockTap);
  const bool running = latch_.test(L.serial.start);
  int clockEdges = 0;
  p.takeEdges([&](PinEdge e) { clockEdges += e.pin == kPinClk; });
  if (externalClock && running)
    for (int i = 0; i < clockEdges && latch_.test(L.serial.start); ++i) serialClock();
}

}  // namespace qv4128
