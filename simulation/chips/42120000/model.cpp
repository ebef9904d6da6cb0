// QV4112's periphery model: register handlers, ports, timer, prescaler
// interrupt, detector and the two resets.
#include "qv4112.h"

namespace qv4112 {

using periphery::Cells;
namespace pin = periphery::pin;

// ---- Resets.

int32_t Qv4112::Instruction_Reset(CpuState* cpu, ProgramCell* program, RegisterCell* registers,
                                  TraceEntry* trace) {
  Base::Instruction_Reset(cpu, program, registers, trace);
  Cells c = cells();
  periphery::applyReset(kPowerOnTable, c, 0);
  latch_.clear();
  // The model follows the registers it keeps copies of.
  timer_.setRunning(false);
  timer_.setAutoreload(false);
  timerSource_ = 0;
  tap_ = 0;
  updateDue();
  for (int i = 0; i < 3; ++i) post(kItemPortB, 0);
  return 0;
}

// The registers keep their values (a watchdog time-out leaves the timer
// running); the CPU, the chain, the watchdog, the pins and what the window
// shows start again.
void Qv4112::Periphery_Reset() {
  showState();
  if (cpu_ != nullptr) resetCpu();
  restartTimeBase();
  ports_[0].reset(pin::kMarker | pin::kRefresh);
  ports_[1].reset(pin::kDriven | pin::kLevel | pin::kRefresh);
  ports_[2].reset(pin::kRefresh);
  latchC_ = 0;
  shown_ = WindowState{};
  updateDue();
  post(kItemPortA, qv4111::kPortAButton);
  post(kItemPortB, 0);
  post(kItemPortC, qv4111::kPortCButton);
  for (int item = kItemNothing; item <= kItemTimer; ++item) post(item, kAllParts);
}

// ---- Registers.

int Qv4112::onRead(int n) {
  Cells c = cells();
  switch (n) {
    case L.detector.control.reg: {
      const int v = c.value(L.detector.control.reg);
      if (!L.detector.busy.setIn(v)) c.clearBits(L.detector.idle.reg, L.detector.idle.mask);
      return v;
    }
    case L.timer.low.reg:
      return timer_.readLow();
    case L.timer.high.reg:
      return timer_.latchedHigh();
    case L.portA.requests.reg: {
      const int v = c.readAndClear(L.portA.requests.reg, L.portA.requests.mask);
      ports_[0].takeEdges([](periphery::PinEdge) {});
      return v;
    }
    case L.irq.requests.reg: {
      const int v = c.value(L.irq.requests.reg);
      c.clearBits(L.irq.requests.reg, L.irq.timerRequest.mask | L.irq.prescalerRequest.mask);
      return v;
    }
    default:
      return c.value(n);
  }
}

void Qv4112::onWrite(int n, int v, int old) {
  Cells c = cells();
  switch (n) {
    case L.portC.direction.reg:
      writePortCDirection(v);
      break;
    case L.portA.edges.reg:
      if (v != old) refreshMarkers();
      break;
    case L.detector.control.reg:
      c.set(L.detector.control.reg, L.detector.start.setIn(v) ? L.detector.busy.mask : v);
      break;
    case L.timer.low.reg:
      writeTimerLow(v);
      break;
    case L.timer.high.reg:
      timer_.setReloadHigh(v);
      post(kItemTimer, timerItem::kReload);
      break;
    case L.timer.control.reg:
      writeTimerControl(v);
      break;
    case L.irq.control.reg:
      if (L.irq.watchdogClear.setIn(v)) watchdog_.clear();
      break;
    case L.prescaler.control.reg:
      writePrescaler(v);
      break;
    case L.portA.enables.reg:
      c.set(L.portA.requests.reg, 0);
      ports_[0].takeEdges([](periphery::PinEdge) {});
      refreshMarkers();
      break;
    case L.portB.data.reg:
      writePortB(v);
      break;
    case L.portC.data.reg:
      writePortC(v);
      break;
    case L.irq.requests.reg:
      writeRequests(v);
      break;
    case L.buzzer.control.reg:
      shown_.buzzer = L.buzzer.setting.of(v);
      post(kItemBuzzer, kAllParts);
      break;
    default:
      break;
  }
}

// Enables are stored; a request written as 1 is cleared.
void Qv4112::writeRequests(int v) {
  Cells c = cells();
  const int enables = L.irq.timerEnable.mask | L.irq.prescalerEnable.mask;
  const int requests = L.irq.timerRequest.mask | L.irq.prescalerRequest.mask;
  c.setMasked(L.irq.requests.reg, enables, v);
  c.writeOneToClear(L.irq.requests.reg, requests, v);
  shown_.timerIrq = L.irq.timerEnable.setIn(v);
  shown_.prescalerLed = L.irq.prescalerEnable.setIn(v);
  post(kItemTimer, timerItem::kIrq);
  post(kItemPrescaler, prescalerItem::kLed);
}

// ---- Timer.

void Qv4112::writeTimerControl(int v) {
  timerSource_ = L.timer.source.of(v);
  timer_.setRunning(L.timer.run.setIn(v));
  timer_.setAutoreload(L.timer.autoreload.setIn(v));
  shown_.timerSource = timerSource_;
  shown_.timerEnabled = L.timer.run.setIn(v);
  shown_.timerAutoreload = L.timer.autoreload.setIn(v);
  updateDue();
  post(kItemTimer, timerItem::kSource | timerItem::kEnabled | timerItem::kAutoreload);
}

// 15 with a reload high nibble of 15 stops the timer and its autoreload;
// any other value starts it from the reload.
void Qv4112::writeTimerLow(int value) {
  Cells c = cells();
  timer_.setReloadLow(value);
  if (value == 15 && (timer_.reload() >> 4) == 15) {
    c.clearBits(L.timer.control.reg, L.timer.run.mask | L.timer.autoreload.mask);
    timer_.setRunning(false);
    timer_.setAutoreload(false);
    shown_.timerEnabled = shown_.timerAutoreload = false;
  } else {
    c.setBits(L.timer.control.reg, L.timer.run.mask);
    timer_.start();
    c.set(L.timer.low.reg, timer_.reload() & 15);
    c.set(L.timer.high.reg, timer_.reload() >> 4);
    shown_.timerEnabled = true;
  }
  updateDue();
  post(kItemTimer,
       timerItem::kReload | timerItem::kActual | timerItem::kEnabled | timerItem::kAutoreload);
}

// The request at 255 needs the interrupt enable and the timer's enable.
void Qv4112::timerCounted(bool terminal) {
  Cells c = cells();
  if (terminal && requestAllowed(c, L.irq.timerEnable))
    c.setBits(L.irq.requests.reg, L.irq.timerRequest.mask);
  showTimerCount(c);
  post(kItemTimer, timerItem::kActual);
}

// ---- Prescaler interrupt: the selected tap requests with the interrupt
// enable and the prescaler's enable.

void Qv4112::writePrescaler(int v) {
  tap_ = L.prescaler.tap.of(v);
  shown_.prescalerText = tap_;
  if (L.prescaler.restart.setIn(v)) prescaler_.restart();
  updateDue();
  post(kItemPrescaler, prescalerItem::kText);
}

void Qv4112::prescalerRequest() {
  Cells c = cells();
  if (requestAllowed(c, L.irq.prescalerEnable))
    c.setBits(L.irq.requests.reg, L.irq.prescalerRequest.mask);
}

// ---- Detector.

void Qv4112::detectorStart() {
  if (!cells().bit(L.detector.busy.reg, L.detector.busy.mask)) return;
  detector_.start(kDetectorLevel);
  updateDue();
}

void Qv4112::detectorEvaluate() {
  cells().set(L.detector.control.reg, detector_.finish(supply_) ? L.detector.result.mask : 0);
  updateDue();
}

// ---- Ports.

void Qv4112::writePortB(int v) {
  for (int p = 0; p < 4; ++p) ports_[1].drive(p, (v >> p) & 1);
  post(kItemPortB, 0);
}

void Qv4112::writePortCDirection(int value) {
  periphery::Port& pc = ports_[2];
  for (int p = 0; p < 4; ++p) {
    if ((value >> p) & 1)
      pc.drive(p, (latchC_ >> p) & 1);
    else
      pc.release(p, periphery::ReleasedLevel::Low);
  }
  post(kItemPortC, qv4111::kPortCButton);
}

// Each output pin: its bit of the data register, of the latch and its level
// take the written bit.
void Qv4112::writePortC(int value) {
  Cells c = cells();
  const int outputs = c.value(L.portC.direction.reg);
  for (int p = 0; p < 4; ++p) {
    if (!((outputs >> p) & 1)) continue;
    const int bit = 1 << p;
    latchC_ = (latchC_ & ~bit) | (value & bit);
    c.setMasked(L.portC.data.reg, bit, value);
    ports_[2].setLevel(p, value & bit);
  }
  post(kItemPortC, qv4111::kPortCButton);
}

// Markers of the enabled pins: the edge the edge register selects (1 rising).
void Qv4112::refreshMarkers() {
  Cells c = cells();
  const int enables = c.value(L.portA.enables.reg), edges = c.value(L.portA.edges.reg);
  for (int p = 0; p < 4; ++p) {
    const uint32_t kind = !((enables >> p) & 1) ? 0u : ((edges >> p) & 1) ? 2u : 1u;
    uint32_t& w = ports_[0].word(p);
    w = (w & ~pin::kMarkerKind) | pin::kMarker | (kind << 4);
  }
  post(kItemPortA, qv4111::kPortAButton);
}

void Qv4112::SamplePorts() {
  takeTimerCount(cells());
  SamplePortA();
  SamplePortC();
}

void Qv4112::SamplePortA() {
  Cells c = cells();
  if (!c.valid()) return;
  periphery::Port& a = ports_[0];
  c.set(L.portA.levels.reg, a.levels());
  word(k42::kCond1) = a.level(0);
  word(k42::kCond2) = a.level(1);
  word(k42::kCond3) = a.level(2);
  c.setBits(L.portA.requests.reg, periphery::edgeRequests(a, c.value(L.portA.enables.reg),
                                                          ~c.value(L.portA.edges.reg) & 15));
  a.takeEdges([](periphery::PinEdge) {});
}

// Per pin: the latch bit of a driven pin, else the level.
void Qv4112::SamplePortC() {
  Cells c = cells();
  if (!c.valid()) return;
  periphery::Port& pc = ports_[2];
  int v = 0;
  for (int p = 0; p < 4; ++p) v |= (pc.driven(p) ? (latchC_ >> p) & 1 : int{pc.level(p)}) << p;
  c.set(L.portC.data.reg, v);
  pc.takeEdges([](periphery::PinEdge) {});
}

}  // namespace qv4112
