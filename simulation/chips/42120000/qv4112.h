#pragma once
// Chip QV4112: port A (inputs with edge interrupts), port B (four outputs),
// port C (per-pin direction), a buzzer setting, an 8-bit up-counting reload
// timer, a 13-stage prescaler with a selectable interrupt tap, a fixed-level
// supply detector and a 2 Hz watchdog. 16384 ticks are one second. Its run
// loop has its own interrupt entry and records every instruction while the
// trace is on.
#include <simcore/periphery_window.h>
#include <simcore/simcore.h>

#include <cstdint>

#include "periphery/cells.h"
#include "periphery/pin_rules.h"
#include "periphery/port.h"
#include "periphery/prescaler.h"
#include "periphery/reload_timer8.h"
#include "periphery/requests.h"
#include "periphery/round_countdown.h"
#include "periphery/supply_detector.h"
#include "periphery/watchdog.h"
#include "qv4111/time_base.h"
#include "registers.h"

namespace qv4112 {

// The QV4111 family's time base on another chain: 13 stages dividing by 8,
// 8, 2, 4, 4, 4 (one binary counter), 16384 ticks a second. A restart (116
// bit 2) clears every stage; the watchdog keeps its count and resets at the
// eighth 2 Hz step without a clear.
constexpr int kChainStages = 13;
constexpr periphery::PrescalerConfig kChain{kChainStages, 0, 0x1FFFu, 0};
constexpr periphery::WatchdogConfig kWatchdog{8};

// Every 2^carries ticks.
// clang-format off
using qv4111::Tick;
using qv4111::Unit;
constexpr periphery::Tap<Tick> kTicks[] = {
    {3, {Unit::DetectorEvaluate}},                                  // 2048 Hz
    {6, {Unit::Detector}}, {6, {Unit::Timer, 0}},                   // 256 Hz
    {7, {Unit::Tap, 3}},                                            // 128 Hz
    {9, {Unit::Timer, 1}},                                          // 32 Hz
    {11, {Unit::Timer, 2}}, {11, {Unit::Tap, 2}},                   // 8 Hz
    {13, {Unit::Timer, 3}}, {13, {Unit::Tap, 1}}, {13, {Unit::Watchdog}},  // 2 Hz
};
// clang-format on
static_assert(periphery::tapsInOrder(kTicks));

constexpr int kDetectorLevel = 126;                // 1.26 V
constexpr int kMeasureRequest = 5;                 // 108 after a request: bits 0 and 2

// Request register bits (125).
constexpr int kTimerEnable = 1, kTimerRequest = 2, kPrescalerEnable = 4, kPrescalerRequest = 8;

// Interrupts need 115 bit 0; the timer and prescaler requests and port A's.
inline constexpr periphery::InterruptCondition kInterrupts{
    {kInterruptControl, 1},
    false,
    {{{kRequests, kTimerRequest | kPrescalerRequest}, {kPortARequests}, {0, 0}, {0, 0}}}};

// Window ids and redraw items.
constexpr int kPortAButton = 1035, kPortCButton = 1040;
constexpr simcore::PinGroup kPinsA{0, kPortAButton, 1086, 1098};
constexpr simcore::PinGroup kPinsB{1, 0, 1090, 0};
constexpr simcore::PinGroup kPinsC{2, kPortCButton, 1094, 0};
constexpr int kPortALabel = 1057, kPortBLabel = 1053;
constexpr int kBuzzerPicture = 1114;
constexpr simcore::SupplyBar kSupply{1044, 1045};
constexpr int kPrescalerText = 1072, kPrescalerLed = 1113;
constexpr int kTimerEnabledLed = 1110, kTimerIrqLed = 1111, kTimerAutoreloadLed = 1112;
constexpr int kTimerSourceText = 1071, kTimerReloadText = 1069, kTimerActualText = 1070;

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

class Qv4112 final : public simcore::PeripheryChip<Qv4112> {
 public:
  static constexpr const char* kCaption = "QV4112 Periphery";
  static constexpr simcore::RegisterSet kPeriphery = periphery::PeripheryRegisters(kRegisterMap);

  // ---- Framework hooks.
  // The rounds counted down so far are applied first; the next round is a
  // due one (a write may change what is due).
  int32_t Periphery_Read(int32_t n) {
    showState();
    return periphery::readRegister(kRegisterMap, *this, cells(), n);
  }
  void Periphery_Write(int32_t n, int32_t v) {
    showState();
    periphery::writeRegister(kRegisterMap, *this, cells(), n, v);
  }
  // Before events and at the end of a run: as a register access.
  void ShowDeferredState() { showState(); }
  inline void Periphery_Tick();
  void Periphery_Reset();
  void SamplePorts();
  bool InterruptRequested() const { return periphery::interruptPending<kInterrupts>(cells()); }
  inline int32_t RunLoop(int32_t mode);
  // Power-on: the reset of the periphery, then every register 0 but the
  // timer's and port B's (15) and port A's levels (14).
  int32_t Instruction_Reset(CpuState* cpu, ProgramCell* program, RegisterCell* registers,
                            TraceEntry* trace);

  // ---- Register handlers (called by the register table).
  int onRead(int n);
  void onWrite(int n, int value, int old);

  // ---- The chip's own operations.
  void SamplePortA();
  void SamplePortC();

  // ---- Window (window.cpp): drawn from the model's state.
  static const platform::DialogTemplate& WindowTemplate();
  void Window_Init(platform::WindowHandle dialog);
  void Window_Redraw(int item, intptr_t parts);
  void Window_RedrawAll();
  bool Window_Command(int id);
  bool Window_Scroll(int barId, uint16_t code, int thumb);

 private:
  periphery::Cells cells() const { return periphery::Cells(registers_); }
  void post(int item, intptr_t parts) { postRedraw(item, parts); }
  inline bool onEvent(Tick e);
  inline void timerStep(int source);
  void timerCounted(bool terminal);
  void prescalerTap(int tap);
  void detectorStart();
  void detectorEvaluate();
  void updateDue();
  void writeTimerLow(int value);
  void writePortCDirection(int value);
  void writePortC(int value);
  void refreshMarkers();

  periphery::Port ports_[3];
  int latchC_ = 0;
  periphery::BinaryPrescaler prescaler_{kChain};
  // The rounds to the next one whose tick has a tap due; the chain takes
  // the rounds before it at once.
  periphery::RoundCountdown countdown_;
  [[gnu::always_inline]] void showState() {
    prescaler_.advance(countdown_.takeCounted());
    countdown_.dueNext();
  }
  periphery::Watchdog watchdog_{kWatchdog};
  bool resetRequest_ = false;
  periphery::ReloadTimer8 timer_{{periphery::CountDirection::UpTo255}};
  int timerSource_ = 0;  // 114 bits 0-1; run and autoreload are the timer's
  int tap_ = 0;          // 116 bits 0-1
  periphery::SupplyDetector detector_{periphery::LowWhen::Below};
  int supply_ = 500;  // hundredths of a volt, from the window's bar

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

// ---- Hot paths: the tick, the timer step, the run loop.

inline void Qv4112::timerStep(int source) {
  if (source != timerSource_ || !timer_.running()) [[likely]]
    return;
  timerCounted(timer_.step());
}

inline bool Qv4112::onEvent(Tick e) {
  switch (e.unit) {
    case Unit::DetectorEvaluate:
      if (detector_.pending()) detectorEvaluate();
      break;
    case Unit::Detector:
      detectorStart();
      break;
    case Unit::Timer:
      timerStep(e.n);
      break;
    case Unit::Tap:
      prescalerTap(e.n);
      break;
    case Unit::Watchdog:
      if (watchdog_.step()) resetRequest_ = true;
      break;
    case Unit::Serial:
      break;  // no serial output
  }
  return true;
}

inline void Qv4112::Periphery_Tick() {
  periphery::fireTaps<kTicks>(prescaler_.step(), [this](auto e) { return onEvent(e()); });
}

// One waiting message now and then (the framework's pump); in a due round
// (the countdown, armed anew at the start), the tick and the watchdog
// reset; the chip's own interrupt entry, which neither tests a breakpoint
// at the vector nor stops a single step; then, unless halted, the trace of
// every instruction, the instruction and the breakpoint test.
inline int32_t Qv4112::RunLoop(int32_t mode) {
  runRounds(
      mode, [this]() TAVIX_INLINE_ROUND { countdown_.dueNext(); },
      [this](int32_t& pc) TAVIX_INLINE_ROUND { return pump(pc); },
      [this](int32_t& pc) TAVIX_INLINE_ROUND {
        if (countdown_.due()) [[unlikely]] {
          prescaler_.advance(countdown_.takeBeforeDue());
          Periphery_Tick();
          if (resetRequest_) [[unlikely]]
            Periphery_Reset();
          reloadPcAfterReset(pc);
          countdown_.arm(prescaler_.ticksToDue());
        }
        if (word(k42::kInInterrupt) == 0) [[likely]] {  // runs straight through
          if (InterruptRequested()) [[unlikely]]
            if (!enterInterruptDirect(pc)) return Pass::Stop;
        }
        if (!halted()) [[likely]] {
          recordEveryInstruction(pc);
          execute(fetchAndAdvance(pc), pc);
          testProgramBreakpoint(pc);
        }
        return Pass::Next;
      });
  return endRun();
}

}  // namespace qv4112
