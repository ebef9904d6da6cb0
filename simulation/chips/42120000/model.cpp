// QV4112's periphery model: register handlers, ports, timer, prescaler taps,
// detector and the two resets.
#include "qv4112.h"

namespace qv4112 {

using periphery::Cells;
namespace pin = periphery::pin;

// ---- Resets.

int32_t Qv4112::Instruction_Reset(CpuState* cpu, ProgramCell* program, RegisterCell* registers,
                                  TraceEntry* trace) {
  PeripheryChip<Qv4112>::Instruction_Reset(cpu, program, registers, trace);
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
  prescaler_.reset();
  watchdog_.reset();
  resetRequest_ = false;
  ports_[0].reset(pin::kMarker | pin::kRefresh);
  ports_[1].reset(pin::kDriven | pin::kLevel | pin::kRefresh);
  ports_[2].reset(pin::kRefresh);
  latchC_ = 0;
  detector_.reset();
  shown_ = WindowState{};
  updateDue();
  post(kItemPortA, kPortAButton);
  post(kItemPortB, 0);
  post(kItemPortC, kPortCButton);
  for (int item = kItemNothing; item <= kItemTimer; ++item) post(item, kAllParts);
}

// ---- Registers.

int Qv4112::onRead(int n) {
  Cells c = cells();
  switch (n) {
    case kLevelDetector: {
      const int v = c.value(kLevelDetector);
      if (!(v & 5)) c.clearBits(kLevelDetector, 3);
      return v;
    }
    case kTimerLow:
      return timer_.readLow();
    case kTimerHigh:
      return timer_.latchedHigh();
    case kPortARequests: {
      const int v = c.readAndClear(kPortARequests, 15);
      ports_[0].takeEdges([](periphery::PinEdge) {});
      return v;
    }
    case kRequests: {
      const int v = c.value(kRequests);
      c.clearBits(kRequests, kTimerRequest | kPrescalerRequest);
      return v;
    }
    default:
      return c.value(n);
  }
}

void Qv4112::onWrite(int n, int v, int old) {
  Cells c = cells();
  switch (n) {
    case kPortCDirection:
      writePortCDirection(v);
      break;
    case kPortAEdges:
      if (v != old) refreshMarkers();
      break;
    case kLevelDetector:
      c.set(kLevelDetector, (v & 1) ? kMeasureRequest : v);
      break;
    case kTimerLow:
      writeTimerLow(v);
      break;
    case kTimerHigh:
      timer_.setReloadHigh(v);
      post(kItemTimer, timerItem::kReload);
      break;
    case kTimerControl:
      timerSource_ = v & 3;
      timer_.setRunning((v & 4) != 0);
      timer_.setAutoreload((v & 8) != 0);
      shown_.timerSource = v & 3;
      shown_.timerEnabled = (v & 4) != 0;
      shown_.timerAutoreload = (v & 8) != 0;
      updateDue();
      post(kItemTimer, timerItem::kSource | timerItem::kEnabled | timerItem::kAutoreload);
      break;
    case kInterruptControl:
      if (v & 8) watchdog_.clear();
      break;
    case kPrescaler:
      tap_ = v & 3;
      shown_.prescalerText = v & 3;
      if (v & 4) prescaler_.restart();
      updateDue();
      post(kItemPrescaler, prescalerItem::kText);
      break;
    case kPortAEnables:
      c.set(kPortARequests, 0);
      ports_[0].takeEdges([](periphery::PinEdge) {});
      refreshMarkers();
      break;
    case kPortB:
      for (int p = 0; p < 4; ++p) ports_[1].drive(p, (v >> p) & 1);
      post(kItemPortB, 0);
      break;
    case kPortC:
      writePortC(v);
      break;
    case kRequests:
      // Enables (0, 2) are stored; a request (1, 3) written as 1 is cleared.
      c.setMasked(kRequests, kTimerEnable | kPrescalerEnable, v);
      c.clearBits(kRequests, v & (kTimerRequest | kPrescalerRequest));
      shown_.timerIrq = (v & kTimerEnable) != 0;
      shown_.prescalerLed = (v & kPrescalerEnable) != 0;
      post(kItemTimer, timerItem::kIrq);
      post(kItemPrescaler, prescalerItem::kLed);
      break;
    case kBuzzer:
      shown_.buzzer = v & 3;
      post(kItemBuzzer, kAllParts);
      break;
    default:
      break;
  }
}

// ---- Timer.

// 15 with a reload high nibble of 15 stops the timer and its autoreload;
// any other value starts it from the reload.
void Qv4112::writeTimerLow(int value) {
  Cells c = cells();
  timer_.setReloadLow(value);
  if (value == 15 && (timer_.reload() >> 4) == 15) {
    c.clearBits(kTimerControl, 0xC);
    timer_.setRunning(false);
    timer_.setAutoreload(false);
    shown_.timerEnabled = shown_.timerAutoreload = false;
  } else {
    c.setBits(kTimerControl, 4);
    timer_.start();
    c.set(kTimerLow, timer_.reload() & 15);
    c.set(kTimerHigh, timer_.reload() >> 4);
    shown_.timerEnabled = true;
  }
  updateDue();
  post(kItemTimer,
       timerItem::kReload | timerItem::kActual | timerItem::kEnabled | timerItem::kAutoreload);
}

// The request at 255 needs the interrupt enable (115 bit 0) and the timer's
// enable (125 bit 0).
void Qv4112::timerCounted(bool terminal) {
  Cells c = cells();
  if (terminal && c.bit(kInterruptControl, 1) && c.bit(kRequests, kTimerEnable))
    c.setBits(kRequests, kTimerRequest);
  const int count = timer_.count();
  c.set(kTimerLow, count & 15);
  c.set(kTimerHigh, count >> 4);
  post(kItemTimer, timerItem::kActual);
}

void Qv4112::prescalerTap(int tap) {
  if (tap != tap_) return;
  Cells c = cells();
  if (c.bit(kInterruptControl, 1) && c.bit(kRequests, kPrescalerEnable))
    c.setBits(kRequests, kPrescalerRequest);
}

// ---- Detector: a request (108 bit 0 or 2) is measured at the next 2048 Hz
// step after a 256 Hz step.

void Qv4112::detectorStart() {
  if (!(cells().value(kLevelDetector) & 5)) return;
  detector_.start(kDetectorLevel);
  updateDue();
}

void Qv4112::detectorEvaluate() {
  cells().set(kLevelDetector, detector_.finish(supply_) ? 8 : 0);
  updateDue();
}

void Qv4112::updateDue() {
  prescaler_.setDueFrom(qv4111::dueFrom<kTicks>(
      {timer_.running(), timerSource_, tap_, -1, detector_.pending()}, kChainStages));
}

// ---- Ports.

void Qv4112::writePortCDirection(int value) {
  periphery::Port& pc = ports_[2];
  for (int p = 0; p < 4; ++p) {
    if ((value >> p) & 1)
      pc.drive(p, (latchC_ >> p) & 1);
    else
      pc.release(p, periphery::ReleasedLevel::Low);
  }
  post(kItemPortC, kPortCButton);
}

// Each output pin: its bit of 122, of the latch and its level take the
// written bit.
void Qv4112::writePortC(int value) {
  Cells c = cells();
  const int outputs = c.value(kPortCDirection);
  for (int p = 0; p < 4; ++p) {
    if (!((outputs >> p) & 1)) continue;
    const int bit = 1 << p;
    latchC_ = (latchC_ & ~bit) | (value & bit);
    c.setMasked(kPortC, bit, value);
    ports_[2].setLevel(p, value & bit);
  }
  post(kItemPortC, kPortCButton);
}

// Markers of the enabled pins: the edge 99 selects (1 rising).
void Qv4112::refreshMarkers() {
  Cells c = cells();
  const int enables = c.value(kPortAEnables), edges = c.value(kPortAEdges);
  for (int p = 0; p < 4; ++p) {
    const uint32_t kind = !((enables >> p) & 1) ? 0u : ((edges >> p) & 1) ? 2u : 1u;
    uint32_t& w = ports_[0].word(p);
    w = (w & ~pin::kMarkerKind) | pin::kMarker | (kind << 4);
  }
  post(kItemPortA, kPortAButton);
}

void Qv4112::SamplePorts() {
  Cells c = cells();
  if (c.valid())
    timer_.setCount(16 * c.value(kTimerHigh) +
                    c.value(kTimerLow));  // the monitor may have edited them
  SamplePortA();
  SamplePortC();
}

void Qv4112::SamplePortA() {
  Cells c = cells();
  if (!c.valid()) return;
  periphery::Port& a = ports_[0];
  c.set(kPortA, a.levels());
  word(k42::kCond1) = a.level(0);
  word(k42::kCond2) = a.level(1);
  word(k42::kCond3) = a.level(2);
  c.setBits(kPortARequests,
            periphery::edgeRequests(a, c.value(kPortAEnables), ~c.value(kPortAEdges) & 15));
  a.takeEdges([](periphery::PinEdge) {});
}

// Per pin: the latch bit of a driven pin, else the level.
void Qv4112::SamplePortC() {
  Cells c = cells();
  if (!c.valid()) return;
  periphery::Port& pc = ports_[2];
  int v = 0;
  for (int p = 0; p < 4; ++p) v |= (pc.driven(p) ? (latchC_ >> p) & 1 : int{pc.level(p)}) << p;
  c.set(kPortC, v);
  pc.takeEdges([](periphery::PinEdge) {});
}

}  // namespace qv4112
