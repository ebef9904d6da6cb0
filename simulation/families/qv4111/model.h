#pragma once
// The QV4111 family model: four ports (A inputs with edge interrupts, B with
// per-pin direction and the buzzer on PB0, C and D with one direction bit
// each, C with edge interrupts), the request summary 112, an 8-bit
// down-counting reload timer, a 14-stage prescaler with a selectable
// interrupt tap, a level detector, a 1 Hz watchdog and a serial output on
// PD0/PD1 with an automatic mode. 16384 ticks are one second.
//
// The model is a template over the most-derived chip (`Self`) and its layout
// `L` (layout.h). A chip of the family is
//   class Qv4111 final : public Qv4111Model<Qv4111, kQv4111> {};
// and a member with more units another layout plus a subclass that hides
// these hooks (defaults do nothing):
//   kRegisterMap, kPeriphery        its registers over the family's table
//   onRead, onWrite                 its registers, then the model's
//   extraInterrupt(cells)           an interrupt request of its own
//   Periphery_Tick()                its units besides the chain (calling the model's)
//   detectorStep()                  its unit at 128 Hz
//   resetExtras()                   its part of Periphery_Reset
//   sampleExtraPorts()              its port samplers
//   buzzerPin(), buzzerReleased()   where the buzzer goes, what its end does
//   addWindowControls(controls)     its boxes (the default: the supply box)
// and Window_Redraw, Window_RedrawAll, Window_Command for its boxes, handing
// the others to the model.
#include <simcore/periphery_window.h>
#include <simcore/simcore.h>

#include <cstdint>
#include <vector>

#include "qv4111/layout.h"
#include "qv4111/time_base.h"
#include "periphery/cells.h"
#include "periphery/pin_rules.h"
#include "periphery/port.h"
#include "periphery/prescaler.h"
#include "periphery/reload_timer8.h"
#include "periphery/reset_table.h"
#include "periphery/round_countdown.h"
#include "periphery/supply_detector.h"
#include "periphery/watchdog.h"
#include "periphery/write_buffer.h"
#include "qv4111/window_ids.h"

namespace qv4111 {

// Every 2^carries ticks; the chain divides by 2, 2, 2, 2, 2, 2, 4, 4, 4, 8:
// one binary counter of 14 bits.
// clang-format off
constexpr periphery::Tap<Tick> kTicks[] = {
    {0, {Unit::Serial, 3}},                                          // 16384 Hz
    {1, {Unit::Serial, 2}},                                          // 8192 Hz
    {3, {Unit::Timer, 1}}, {3, {Unit::Serial, 1}},                   // 2048 Hz
    {4, {Unit::Serial, 0}},                                          // 1024 Hz
    {5, {Unit::Timer, 2}},                                           // 512 Hz
    {7, {Unit::Detector}}, {7, {Unit::Timer, 3}},                    // 128 Hz
    {9, {Unit::Tap, 3}}, {9, {Unit::Timer, 4}},                      // 32 Hz
    {11, {Unit::Timer, 5}}, {11, {Unit::Tap, 2}},                    // 8 Hz
    {14, {Unit::Timer, 6}}, {14, {Unit::Tap, 1}}, {14, {Unit::Watchdog}},  // 1 Hz
};
// clang-format on
static_assert(periphery::tapsInOrder(kTicks));
constexpr int kChainStages = 14;

// A restart (125 bit 2) and a reset clear every stage but the first /2.
constexpr periphery::PrescalerConfig kChain{kChainStages, 0, 0x3FFEu, 0};
constexpr periphery::WatchdogConfig kWatchdog{3};  // the third 1 Hz step after a clear

// Request summary bits (112).
constexpr int kReqPortA = 1, kReqPortC = 2, kReqTimer = 4, kReqPrescaler = 8;

// Redraw parts.
namespace prescalerItem {
constexpr int kText = 1, kAll = 255;
}
namespace timerItem {
constexpr int kSource = 1, kReload = 2, kEnabled = 4, kIrq = 8, kAutoreload = 16, kActual = 32,
              kAll = 255;
}
constexpr int kAllParts = 255;

// Port indexes.
enum PortIndex : int { kA = 0, kB = 1, kC = 2, kD = 3 };

template <class Self, const Qv4111Layout& L>
class Qv4111Model : public simcore::PeripheryChip<Self> {
  using Base = simcore::PeripheryChip<Self>;

 public:
  static constexpr const char* kCaption = L.caption;
  // A member with registers of its own hides both.
  static constexpr periphery::RegisterMap kRegisterMap = Qv4111RegisterMap(L);
  static constexpr simcore::RegisterSet kPeriphery = periphery::PeripheryRegisters(kRegisterMap);
  static constexpr periphery::WriteBufferConfig kSerial{
      L.serial.data.reg, 6,
      {.start = periphery::WriteBufferStart::LatchesData,
       .report = periphery::WriteBufferReport::Nothing,
       .automaticFinish = periphery::AutomaticFinish::LeftToChip}};
  // The reset: every value nibble up to 126 cleared, the serial data 15.
  static constexpr periphery::ResetRule<1> kResetTable[] = {
      {0, 126, {periphery::kZero}},
      {L.serial.data.reg, L.serial.data.reg, {periphery::resetTo(15)}},
  };

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
  inline void Periphery_Tick();
  void Periphery_Reset();
  void SamplePorts();
  bool InterruptRequested() const;
  inline int32_t RunLoop(int32_t mode);
  // Power-on: the timer's reload and count are 0, then the reset.
  int32_t Instruction_Reset(CpuState* cpu, ProgramCell* program, RegisterCell* registers,
                            TraceEntry* trace);

  // ---- Register handlers (called by the register table).
  int onRead(int n);
  void onWrite(int n, int value, int old);

  // ---- Default hooks of a family member.
  // Ticks none of which is due, at once (a member with a per-tick unit of
  // its own hides it and steps that unit too).
  void skipTicks(uint32_t ticks) { prescaler_.advance(ticks); }
  // Work in every tick, whatever the chain has due: every round is a due one.
  bool rareWork() const { return serialSelection_ == 3 || resetRequest_; }
  bool extraInterrupt(const periphery::Cells&) const { return false; }
  void detectorStep() {}
  void resetExtras() {}
  void sampleExtraPorts() {}
  struct BuzzerPin {
    periphery::Port* port;
    int item;
  };
  BuzzerPin buzzerPin() { return {&ports_[kB], L.items.portB}; }
  void buzzerReleased(BuzzerPin pin);
  static void addWindowControls(std::vector<platform::ControlTemplate>& c);

  // ---- Window (window_bodies.h): drawn from the model's state.
  static const platform::DialogTemplate& WindowTemplate();
  void Window_Init(platform::WindowHandle dialog);
  void Window_Redraw(int item, intptr_t parts);
  void Window_RedrawAll();
  bool Window_Command(int id);
  bool Window_Scroll(int barId, uint16_t code, int thumb);

  // ---- The chip's own operations.
  void SamplePortA();
  void SamplePortB();
  void SamplePortC();
  void SamplePortD();

 protected:
  Self& self() { return static_cast<Self&>(*this); }
  const Self& self() const { return static_cast<const Self&>(*this); }
  periphery::Cells cells() const { return periphery::Cells(this->registers_); }
  static bool test(const periphery::Cells& c, simcore::Field f) { return c.bit(f.reg, f.mask); }
  // A redraw request (nothing without a dialog).
  void post(int item, intptr_t parts) { this->postRedraw(item, parts); }
  void postPort(int item, int firstButton) { post(item, firstButton); }

  inline bool onEvent(Tick e);
  // One half period of the serial clock when it runs on `selection`; false
  // ("hold") on a falling edge.
  inline bool serialStep(int selection);
  // One count of the timer when it runs from `source`.
  inline void timerStep(int source);
  void timerCounted(bool terminal);
  void prescalerTap(int tap) {
    if (tap_ == tap) cells().setBits(L.irq.requests.reg, kReqPrescaler);
  }
  void watchdogStep();
  void detectorEvaluate();
  // The fastest tap any unit uses now: the chain reports nothing below it.
  void updateDue();
  void updateSerialSelection();
  bool automaticRunning() const;
  bool automaticStep(int32_t& pc);
  void followSerialPins();

  void writeTimerLow(int value);
  void writeBuzzerTimer(int value, int old);
  void writeSerialMode(int value, int old);
  void writePortB(int value);
  void writePortBDirection(int value);
  // Ports C and D: one direction bit for the port (output pins driven at
  // `levels`); a latch write acts only when it differs from the latch, on
  // the pins from `first` on.
  void writeWholePortDirection(int port, bool output, int levels);
  // What port D's output pins show: the latch, and in serial mode the clock
  // and data lines on PD0 and PD1.
  int portDLevels() const {
    return serialMode_ ? (latchD_ & 0xC) | (serial_.clock() ? 1 : 0) | (serial_.data() ? 2 : 0)
                       : latchD_;
  }
  void writeWholePortLatch(int port, int reg, int& latch, bool output, int value, int first);
  void refreshMarkers(int port, int enables);
  int portItem(int port) const;
  int firstButton(int port) const;
  // A chip-driven pin: drive at `level` or release to level 0.
  void drivePin(periphery::Port& port, int p, bool output, bool level);

  periphery::Port ports_[4];
  int latchB_ = 0, latchC_ = 0, latchD_ = 0;
  periphery::BinaryPrescaler prescaler_{kChain};
  // The rounds to the next one whose tick has work: one with a tap due, or
  // every round while rareWork() holds; the chain takes the rounds before
  // it at once.
  periphery::RoundCountdown countdown_;
  void showState() {
    self().skipTicks(countdown_.takeCounted());
    countdown_.dueNext();
  }
  void rearm() { countdown_.arm(self().rareWork() ? 1 : prescaler_.ticksToDue()); }
  periphery::Watchdog watchdog_{kWatchdog};
  bool resetRequest_ = false;  // the watchdog's (a member may add its own)
  periphery::ReloadTimer8 timer_{{periphery::CountDirection::DownToZero}};
  int timerSource_ = 0;
  bool irqLed_ = false;
  int tap_ = 0;  // 125 bits 0-1
  periphery::SupplyDetector detector_;
  int threshold_ = 0;  // of the last level chosen
  int supply_ = 500;   // hundredths of a volt, from the window's bar
  periphery::SerialWriteBuffer serial_{kSerial};
  int serialSelection_ = -1;  // the stage the serial clock runs on, -1 while off
  bool serialMode_ = false;   // 104 bit 3: PD0/PD1 belong to the serial output
  bool buzzerOn_ = false;
  BuzzerPin buzzer_{};
};

// ---- Hot paths: the run loop, the tick, the timer and serial steps.

template <class Self, const Qv4111Layout& L>
inline bool Qv4111Model<Self, L>::serialStep(int selection) {
  if (selection != serialSelection_) [[likely]]
    return true;
  periphery::Cells c = cells();
  const periphery::SerialWriteBuffer::Half h = serial_.halfStep(c.value(L.serial.data.reg));
  if (h.stop) {
    c.clearBits(L.serial.control.reg, 4);
    serial_.stopped();
    updateSerialSelection();
  }
  followSerialPins();
  return !h.hold;
}

template <class Self, const Qv4111Layout& L>
inline void Qv4111Model<Self, L>::timerStep(int source) {
  if (source != timerSource_ || !timer_.running()) [[likely]]
    return;
  timerCounted(timer_.step());
}

template <class Self, const Qv4111Layout& L>
inline bool Qv4111Model<Self, L>::onEvent(Tick e) {
  switch (e.unit) {
    case Unit::Serial:
      serialStep(e.n);
      break;  // the result of the tick's own step is ignored
    case Unit::Timer:
      timerStep(e.n);
      break;
    case Unit::Tap:
      prescalerTap(e.n);
      break;
    case Unit::Detector:
      detectorEvaluate();
      self().detectorStep();
      break;
    case Unit::Watchdog:
      watchdogStep();
      break;
    case Unit::DetectorEvaluate:
      break;  // the family's detector evaluates on its own step
  }
  return true;
}

template <class Self, const Qv4111Layout& L>
inline void Qv4111Model<Self, L>::Periphery_Tick() {
  periphery::fireTaps<kTicks>(prescaler_.step(), [this](auto e) { return onEvent(e()); });
}

// One waiting message per pass (the framework's pump); in a due round (the
// countdown, armed anew at the start), the serial step on the pass clock
// first, whose falling edge holds the pass, the tick and the reset it
// requested; the interrupt entry; then the instruction, or, while
// halted, the automatic serial output. Every pass ends with the stop test.
template <class Self, const Qv4111Layout& L>
inline int32_t Qv4111Model<Self, L>::RunLoop(int32_t mode) {
  using Pass = typename Base::Pass;
  this->runRounds(
      mode, [this]() TAVIX_INLINE_ROUND { countdown_.dueNext(); },
      [this](int32_t& pc) TAVIX_INLINE_ROUND { return this->pump(pc); },
      [this, mode](int32_t& pc) TAVIX_INLINE_ROUND {
        if (countdown_.due()) [[unlikely]] {
          self().skipTicks(countdown_.takeBeforeDue());
          const bool held = !serialStep(3);  // a falling serial clock edge holds the pass
          if (!held) {
            self().Periphery_Tick();
            if (resetRequest_) [[unlikely]]
              self().Periphery_Reset();
            this->reloadPcAfterReset(pc);
          }
          rearm();
          if (held) return Pass::Next;
        }
        if (!this->enterInterrupt(mode, pc)) [[unlikely]]
          return Pass::Stop;
        if (!this->halted()) [[likely]]
          this->stepInstruction(pc);
        else if (automaticRunning()) {
          // The step takes a copy of the counter, so the loop's own never
          // has its address taken.
          showState();
          int32_t held = pc;
          const bool going = automaticStep(held);
          pc = held;
          if (!going) return Pass::Stop;
        }
        return Pass::Next;
      });
  return this->endRun();
}

}  // namespace qv4111

#include "qv4111/model_bodies.h"
#include "qv4111/window_bodies.h"
