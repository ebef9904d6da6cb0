#pragma once
// What every chip of the QV4111 family is built on: the time base (one
// binary prescaler chain whose taps drive the timer, the prescaler
// interrupt, the serial clock, the level detector and the watchdog), the
// 8-bit reload timer, the rounds counted down to the next due tick, the
// supply bar, and the run loop around them.
//
// A template over the most-derived chip (`Self`), its layout `L` (the
// timer's count nibbles at `L.timer.low` and `L.timer.high`) and its time
// base `T`, a type with
//   kTicks         the tap table (Ticks, in order)
//   kStages        the chain's stages
//   kChain         the chain (its restart is also its reset)
//   kWatchdog      the watchdog
//   kTimerCount    the timer's count direction
//   kDetectorLow   when the detector reports a low supply
// The chip provides, through `Self`:
//   kRegisterMap                        its register table
//   timerCounted(terminal)              after each count of the timer
//   prescalerRequest()                  the selected tap fired
//   instructionPass(mode, pc)           the rest of the round: the interrupt
//                                       entry and the instruction
// and may hide (defaults do nothing, or nothing is due):
//   serialStep(selection)               the serial clock's tap; false: hold
//   passHeld()                          in a due round, before the tick: the
//                                       pass ends there (a serial clock edge)
//   serialSelection()                   the tap the serial clock uses, -1 none
//   detectorTick(), detectorEvaluateTick()   the detector's taps
//   watchdogStep()                      the watchdog's tap
//   rareWork()                          every round is a due one
//   skipTicks(ticks)                    ticks none of which is due, at once
#include <simcore/periphery_window.h>
#include <simcore/simcore.h>

#include <cstdint>

#include "periphery/cells.h"
#include "periphery/prescaler.h"
#include "periphery/reload_timer8.h"
#include "periphery/round_countdown.h"
#include "periphery/supply_detector.h"
#include "periphery/watchdog.h"
#include "qv4111/time_base.h"
#include "qv4111/window_ids.h"

namespace qv4111 {

template <class Self, const auto& L, class T>
class TimeBaseModel : public simcore::PeripheryChip<Self> {
  using Base = simcore::PeripheryChip<Self>;

 public:
  using Pass = typename Base::Pass;

  // ---- Framework hooks.
  // The rounds counted down so far are applied first; the next round is a
  // due one (a write may change what is due).
  int32_t Periphery_Read(int32_t n) {
    showState();
    return periphery::readRegister(Self::kRegisterMap, self(), cells(), n);
  }
  void Periphery_Write(int32_t n, int32_t v) {
    showState();
    periphery::writeRegister(Self::kRegisterMap, self(), cells(), n, v);
  }
  // Before events and at the end of a run: as a register access.
  void ShowDeferredState() { showState(); }
  void Periphery_Tick() {
    periphery::fireTaps<T::kTicks>(prescaler_.step(), [this](auto e) { return onEvent(e()); });
  }
  inline int32_t RunLoop(int32_t mode);

  // ---- Default hooks of a chip.
  bool serialStep(int) { return true; }
  bool passHeld() { return false; }
  int serialSelection() const { return -1; }
  void detectorTick() {}
  void detectorEvaluateTick() {}
  void watchdogStep() {
    if (watchdog_.step()) resetRequest_ = true;
  }
  bool rareWork() const { return resetRequest_; }
  void skipTicks(uint32_t ticks) { prescaler_.advance(ticks); }

  // ---- Window: the supply bar.
  void Window_Init(platform::WindowHandle d) { kSupply.init(d, supply_); }
  bool Window_Scroll(int barId, uint16_t code, int thumb) {
    return kSupply.scroll(this->dialog(), barId, code, thumb, supply_);
  }

 protected:
  Self& self() { return static_cast<Self&>(*this); }
  const Self& self() const { return static_cast<const Self&>(*this); }
  periphery::Cells cells() const { return periphery::Cells(this->registers_); }

  // One count of the timer when it runs from `source`.
  void timerStep(int source) {
    if (source != timerSource_ || !timer_.running()) [[likely]]
      return;
    self().timerCounted(timer_.step());
  }
  // The count's nibbles into the timer's registers.
  void showTimerCount(periphery::Cells c) const {
    const int count = timer_.count();
    c.set(L.timer.low.reg, count & 15);
    c.set(L.timer.high.reg, count >> 4);
  }
  // The count from the timer's registers (the monitor may have edited them).
  void takeTimerCount(periphery::Cells c) {
    if (c.valid()) timer_.setCount(16 * c.value(L.timer.high.reg) + c.value(L.timer.low.reg));
  }
  // The fastest tap any unit uses now: the chain reports nothing below it.
  void updateDue() {
    prescaler_.setDueFrom(dueFrom<T::kTicks>(
        {timer_.running(), timerSource_, tap_, self().serialSelection(), detector_.pending()},
        T::kStages));
  }
  // The time base's part of a reset: the chain, the watchdog, its request
  // and the detector start again.
  void restartTimeBase() {
    prescaler_.restart();
    watchdog_.reset();
    resetRequest_ = false;
    detector_.reset();
  }
  [[gnu::always_inline]] void showState() {
    self().skipTicks(countdown_.takeCounted());
    countdown_.dueNext();
  }

  periphery::BinaryPrescaler prescaler_{T::kChain};
  // The rounds to the next one whose tick has work: one with a tap due, or
  // every round while rareWork() holds; the chain takes the rounds before
  // it at once.
  periphery::RoundCountdown countdown_;
  periphery::Watchdog watchdog_{T::kWatchdog};
  bool resetRequest_ = false;  // the watchdog's (a chip may add its own)
  periphery::ReloadTimer8 timer_{{T::kTimerCount}};
  int timerSource_ = 0;
  int tap_ = 0;  // the prescaler interrupt's tap, 0: none
  periphery::SupplyDetector detector_{T::kDetectorLow};
  int supply_ = 500;  // hundredths of a volt, from the window's bar

 private:
  // Every tap of the table, as a compile-time constant: the switch folds.
  [[gnu::always_inline]] bool onEvent(Tick e) {
    switch (e.unit) {
      case Unit::Serial:
        self().serialStep(e.n);
        break;  // the result of the tick's own step is ignored
      case Unit::Timer:
        timerStep(e.n);
        break;
      case Unit::Tap:
        if (e.n == tap_) self().prescalerRequest();
        break;
      case Unit::Detector:
        self().detectorTick();
        break;
      case Unit::DetectorEvaluate:
        self().detectorEvaluateTick();
        break;
      case Unit::Watchdog:
        self().watchdogStep();
        break;
    }
    return true;
  }
};

// One waiting message per pass (the framework's pump); in a due round (the
// countdown, armed anew at the start), what holds the pass first, the tick
// and the reset it requested; then the chip's instruction pass.
template <class Self, const auto& L, class T>
inline int32_t TimeBaseModel<Self, L, T>::RunLoop(int32_t mode) {
  this->runCountedRounds(
      mode, countdown_, [this](int32_t& pc) TAVIX_INLINE_ROUND { return this->pump(pc); },
      [this](uint32_t before, int32_t& pc) TAVIX_INLINE_ROUND {
        self().skipTicks(before);
        const bool held = self().passHeld();
        if (!held) {
          self().Periphery_Tick();
          if (resetRequest_) [[unlikely]]
            self().Periphery_Reset();
          this->reloadPcAfterReset(pc);
        }
        countdown_.arm(self().rareWork() ? 1 : prescaler_.ticksToDue());
        return held ? Pass::Next : Pass::Rest;
      },
      [this, mode](int32_t& pc) TAVIX_INLINE_ROUND { return self().instructionPass(mode, pc); });
  return this->endRun();
}

}  // namespace qv4111
