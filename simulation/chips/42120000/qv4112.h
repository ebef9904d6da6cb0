#pragma once
// Chip QV4112: a member of the QV4111 family on the family's time base
// (qv4111/time_base_model.h) with its own registers (layout.h): port A
// (inputs with edge interrupts), port B (four outputs), port C (per-pin
// direction), a buzzer setting, an 8-bit up-counting reload timer, a
// 13-stage prescaler with a selectable interrupt tap, a fixed-level supply
// detector and a 2 Hz watchdog. 16384 ticks are one second. Its instruction
// pass has its own interrupt entry and records every instruction while the
// trace is on.
#include <simcore/periphery_window.h>
#include <simcore/simcore.h>

#include <cstdint>

#include "layout.h"
#include "periphery/cells.h"
#include "periphery/pin_rules.h"
#include "periphery/port.h"
#include "periphery/requests.h"
#include "qv4111/time_base_model.h"
#include "qv4111/window_ids.h"

namespace qv4112 {

using qv4111::Tick;
using qv4111::Unit;

// The family's time base on another chain: 13 stages dividing by 8, 8, 2,
// 4, 4, 4 (one binary counter), 16384 ticks a second. A restart (116 bit 2)
// and a reset clear every stage; the watchdog keeps its count and resets at
// the eighth 2 Hz step without a clear. Every 2^carries ticks:
struct Qv4112TimeBase {
  // clang-format off
  static constexpr periphery::Tap<Tick> kTicks[] = {
      {3, {Unit::DetectorEvaluate}},                                  // 2048 Hz
      {6, {Unit::Detector}}, {6, {Unit::Timer, 0}},                   // 256 Hz
      {7, {Unit::Tap, 3}},                                            // 128 Hz
      {9, {Unit::Timer, 1}},                                          // 32 Hz
      {11, {Unit::Timer, 2}}, {11, {Unit::Tap, 2}},                   // 8 Hz
      {13, {Unit::Timer, 3}}, {13, {Unit::Tap, 1}}, {13, {Unit::Watchdog}},  // 2 Hz
  };
  // clang-format on
  static constexpr int kStages = 13;
  static constexpr periphery::PrescalerConfig kChain{kStages, 0, 0x1FFFu, 0};
  static constexpr periphery::WatchdogConfig kWatchdog{8};
  static constexpr periphery::CountDirection kTimerCount = periphery::CountDirection::UpTo255;
  static constexpr periphery::LowWhen kDetectorLow = periphery::LowWhen::Below;
};
static_assert(periphery::tapsInOrder(Qv4112TimeBase::kTicks));

constexpr int kDetectorLevel = 126;  // 1.26 V

// Interrupts need the interrupt enable; the timer and prescaler requests and
// port A's.
inline constexpr periphery::InterruptCondition kInterrupts{
    L.irq.interruptEnable,
    false,
    {{{L.irq.requests.reg, L.irq.timerRequest.mask | L.irq.prescalerRequest.mask},
      L.portA.requests,
      {0, 0},
      {0, 0}}}};

// Window ids (the family's where the boxes match) and redraw items.
constexpr simcore::PinGroup kPinsA{0, qv4111::kPortAButton, qv4111::kPortALed, qv4111::kPortAMarker};
constexpr simcore::PinGroup kPinsB{1, 0, qv4111::kPortBLed, 0};
constexpr simcore::PinGroup kPinsC{2, qv4111::kPortCButton, qv4111::kPortCLed, 0};
constexpr int kPortALabel = 1057, kPortBLabel = 1053;
constexpr int kBuzzerPicture = 1114;
constexpr int kPrescalerLed = 1113;

// clang-format off
enum Item : int {
  kItemPortA = 0, kItemPortB = 1, kItemPortC = 2, kItemNothing = 3, kItemBuzzer = 4, kItemPrescaler = 5,
  kItemTimer = 6,
};
// clang-format on
namespace prescalerItem {
constexpr int kText = 1, kLed = 2;
}
namespace timerItem {
constexpr int kSource = 1, kReload = 2, kEnabled = 4, kIrq = 8, kAutoreload = 16, kActual = 32;
}
constexpr int kAllParts = 255;

class Qv4112 final : public qv4111::TimeBaseModel<Qv4112, kQv4112, Qv4112TimeBase> {
  using Base = qv4111::TimeBaseModel<Qv4112, kQv4112, Qv4112TimeBase>;

 public:
  static constexpr const char* kCaption = "QV4112 Periphery";
  static constexpr periphery::RegisterMap kRegisterMap = qv4112::kRegisterMap;
  static constexpr simcore::RegisterSet kPeriphery = periphery::PeripheryRegisters(kRegisterMap);

  // ---- Framework hooks (the reads, writes, tick and loop are the time
  // base's).
  void Periphery_Reset();
  void SamplePorts();
  bool InterruptRequested() const { return periphery::interruptPending<kInterrupts>(cells()); }
  // Power-on: the reset of the periphery, then every register 0 but the
  // timer's and port B's (15) and port A's levels (14).
  int32_t Instruction_Reset(CpuState* cpu, ProgramCell* program, RegisterCell* registers,
                            TraceEntry* trace);

  // ---- Register handlers (called by the register table).
  int onRead(int n);
  void onWrite(int n, int value, int old);

  // ---- Hooks of the time base.
  void timerCounted(bool terminal);
  void prescalerRequest();
  // A request (108 bit 0 or 2) is measured at the next 2048 Hz step after a
  // 256 Hz step.
  void detectorTick() { detectorStart(); }
  void detectorEvaluateTick() {
    if (detector_.pending()) detectorEvaluate();
  }
  // The chip's own interrupt entry, which neither tests a breakpoint at the
  // vector nor stops a single step; then, unless halted, the trace of every
  // instruction, the instruction and the breakpoint test.
  [[gnu::always_inline]] Pass instructionPass(int32_t mode, int32_t& pc);

  // ---- The chip's own operations.
  void SamplePortA();
  void SamplePortC();

  // ---- Window (window.cpp): drawn from the model's state.
  static const platform::DialogTemplate& WindowTemplate();
  void Window_Redraw(int item, intptr_t parts);
  void Window_RedrawAll();
  bool Window_Command(int id);

 private:
  void post(int item, intptr_t parts) { postRedraw(item, parts); }
  // A request needs the interrupt enable and its own enable.
  static bool requestAllowed(periphery::Cells c, simcore::Field enable) {
    return c.bit(L.irq.interruptEnable.reg, L.irq.interruptEnable.mask) && c.bit(enable.reg, enable.mask);
  }
  void detectorStart();
  void detectorEvaluate();
  void writeTimerControl(int value);
  void writeTimerLow(int value);
  void writePrescaler(int value);
  void writeRequests(int value);
  void writePortB(int value);
  void writePortCDirection(int value);
  void writePortC(int value);
  void refreshMarkers();

  periphery::Port ports_[3];
  int latchC_ = 0;

  // What the window shows; a reset clears it even where the registers keep
  // their values.
  struct WindowState {
    int buzzer = 0;         // 126 bits 0-1
    int prescalerText = 0;  // 116 bits 0-1
    bool prescalerLed = false;
    int timerSource = 0;
    bool timerEnabled = false, timerIrq = false, timerAutoreload = false;
  } shown_;
};

// ---- Hot path: the instruction pass.

inline Qv4112::Pass Qv4112::instructionPass(int32_t, int32_t& pc) {
  // The request is tested first: with none, the common case, the round
  // never reads the interrupt word.
  if (InterruptRequested()) [[unlikely]]
    if (word(k42::kInInterrupt) == 0 && !enterInterruptDirect(pc)) return Pass::Stop;
  if (!halted()) [[likely]] {
    recordEveryInstruction(pc);
    execute(fetchAndAdvance(pc), pc);
    testProgramBreakpoint(pc);
  }
  return Pass::Next;
}

}  // namespace qv4112
