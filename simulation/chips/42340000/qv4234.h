#pragma once
// Chip QV4234: its own run loop (power-on hold, sleep, tick divider, RC
// clock, serial clock on the instruction clock, watchdog reset request) over
// its periphery blocks: six-pin port A with pin functions, two pin
// interrupts, a 10-bit up/down timer with compare and PWM, a prescaler with
// 64/8 Hz and 1 Hz interrupts, frequency outputs, a comparator with an ADC
// and a supply channel, an 8-bit serial interface, a watchdog, sleep, and
// the parameter set the controller options choose. 16384 ticks are one
// second of chip time.
#include <simcore/periphery_window.h>
#include <simcore/simcore.h>

#include <cstdint>

#include "parameter_set.h"
#include "periphery/byte_shifter.h"
#include "periphery/cells.h"
#include "periphery/level_comparator.h"
#include "periphery/port.h"
#include "periphery/prescaler.h"
#include "periphery/round_countdown.h"
#include "periphery/requests.h"
#include "periphery/timer10.h"
#include "periphery/watchdog.h"
#include "periphery/write_routes.h"
#include "layout.h"

namespace qv4234 {

// The tick events, one per line of the chip's event table.
enum class Event : uint8_t {
  FreqTap3, FreqTap2, TimerInput1, SerialTap8, SerialTap12,  // every tick (16 kHz)
  SerialTap4,                                               // 2
  ComparatorStep,                                           // 4
  TimerInput2, FreqTap1,                                    // 8 (2 kHz)
  TimerInput3,                                              // 32 (512 Hz)
  TimerInput4,                                              // 128 (128 Hz)
  Prescaler64Hz,                                            // 256
  Prescaler8Hz, TimerInput5,                                // 2048
  FreqTap0, TimerInput6, OneHzInterrupt,                    // 16384 (1 Hz)
  WatchdogStep,                                             // 32768
};

// Every 2^carries ticks, in the order they happen within one tick.
constexpr periphery::Tap<Event> kTicks[] = {
    {0, Event::FreqTap3},       {0, Event::FreqTap2},     {0, Event::TimerInput1},
    {0, Event::SerialTap8},     {0, Event::SerialTap12},
    {1, Event::SerialTap4},
    {2, Event::ComparatorStep},
    {3, Event::TimerInput2},    {3, Event::FreqTap1},
    {5, Event::TimerInput3},
    {7, Event::TimerInput4},
    {8, Event::Prescaler64Hz},
    {11, Event::Prescaler8Hz},  {11, Event::TimerInput5},
    {14, Event::FreqTap0},      {14, Event::TimerInput6}, {14, Event::OneHzInterrupt},
    {15, Event::WatchdogStep},
};
static_assert(periphery::tapsInOrder(kTicks));

// 16 one-bit stages from 0; a restart clears them all.
constexpr periphery::PrescalerConfig kPrescalerChain{16, 0, 0xFFFF, 0};
constexpr periphery::WatchdogConfig kWatchdogSteps{4};  // a reset is requested at the 4th step
constexpr int32_t kSleepRounds = 2'500'000;

constexpr periphery::RequestGroup kPinTimerRequests{L.irq.requests1, L.irq.enables1};
constexpr periphery::RequestGroup kSystemRequests{L.irq.requests2, L.irq.enables2};
constexpr periphery::InterruptCondition kInterrupts{
    L.control.interruptsEnabled, false, {{L.irq.requests1, L.irq.requests2, {0, 0}, {0, 0}}}};

// Request bits.
constexpr int kReqPin0 = 1, kReqPin1 = 2, kReqCompare = 4, kReqEnd = 8;
constexpr int kReqSerial = 1, kReqComparator = 2, kReqPrescaler = 4, kReq1Hz = 8;

// The 10-bit timer: a full compare match with the compare on stops it.
using Timer = periphery::BasicTimer10<periphery::Timer10Config{periphery::FullCompareMatch::Stops}>;

// Port A pins.
constexpr int kPins = 6;
using PortA = periphery::BasicPort<kPins>;

// Window redraw items and their lParam masks.
enum Item : int { kItemPortA = 0, kItemComparator = 4, kItemPrescaler = 5, kItemTimer = 6, kItemOptions = 7 };
constexpr int kFirstPinButton = 1035;
namespace comparatorItem {
constexpr int kMode = 1, kChannel = 2, kAll = 3;
}
namespace prescalerItem {
constexpr int kLabel = 1, kEnables = 2, kAll = 3;
}
namespace timerItem {
constexpr int kEndEnable = 1, kCompareEnable = 2, kRun = 4, kPwm = 8, kCompareOn = 16, kInput = 32,
              kDirection = 64, kCompare = 128, kWidth = 256, kCounter = 512, kAll = 1023;
}

// The function a driven pin shows.
enum class PinFunction : uint8_t { None, Pwm, Clk, Por, Out, Freq, S, Adc };
const char* FunctionText(PinFunction f);

class Chip : public simcore::PeripheryChip<Chip> {
 public:
  static constexpr simcore::RegisterSet kPeriphery = periphery::PeripheryRegisters(kRegisterMap);

  // The active set exists before the first SetControllerOptions: built as
  // an empty options text builds it, without the changed flag.
  Chip() {
    params_ = BuildActiveSet(0);
    clearPeriphery();
    deriveState();
  }

  // ---- Framework hooks.
  // The rounds counted down so far are applied first; registers 93-95 show
  // the running timer's count from here on. A write re-arms the countdown.
  int32_t Periphery_Read(int32_t n) {
    showState();
    return periphery::readRegister(kRegisterMap, *this, cells(), n);
  }
  void Periphery_Write(int32_t n, int32_t v) {
    showState();
    periphery::writeRegister(kRegisterMap, *this, cells(), n, v);
  }
  // Before events, at the end of a run and at resets: as a register access,
  // and the next round is a due one, which re-arms the countdown after what
  // the events changed.
  void ShowDeferredState() {
    showState();
    countdown_.dueNext();
  }
  [[gnu::always_inline]] inline void Periphery_Tick();
  void Periphery_Reset() { powerOnReset(true); }
  void SamplePorts() { samplePortA(); }
  bool InterruptRequested() const { return periphery::interruptPending<kInterrupts>(cells(), latch_); }
  inline int32_t RunLoop(int32_t mode);

  // ---- Register handlers (called by the register table): the write of
  // every register reaches the handler of its block.
  int onRead(int n);
  void onWrite(int n, int value, int old);

  // ---- Controller options.
  int32_t SetControllerOptions(const char* text);
  int32_t GetControllerOptions(int32_t length, char* buffer) { return options_.get(length, buffer); }

  // ---- Window (window.cpp).
  static constexpr const char* kCaption = "QV4234 Periphery";
  static const platform::DialogTemplate& WindowTemplate();
  void Window_Init(platform::WindowHandle dialog);
  void Window_Redraw(int item, intptr_t parts);
  void Window_RedrawAll();
  bool Window_Command(int id);
  bool Window_Scroll(int barId, uint16_t code, int thumb);

  // A click on pin p in the window: an input pin toggles, the port is redrawn
  // and, while the register file is known, sampled at once. A driven pin
  // ignores it (false).
  bool clickPinA(int p);
  // The sliders: voltages in hundredths of a volt, 0..field 10.
  void setAdcVoltage(int v);
  void setSupplyVoltage(int v);

  // ---- State the window shows.
  const PortA& port() const { return port_; }
  PinFunction function(int p) const { return function_[p]; }
  const ParameterSet& parameters() const { return params_; }
  const ControllerOptions& options() const { return options_; }
  int control(int n) const { return latch_.at(n); }
  const Timer& timer() const { return timer_; }
  int timerInput() const { return timerInput_; }
  int rcDivider() const { return rcPeriod(); }
  bool comparatorContinuous() const { return comparator_.continuous(); }
  bool comparatorOnAdc() const { return channelAdc_; }
  bool supplyUp() const { return supply_.up(); }

 private:
  periphery::Cells cells() const { return periphery::Cells(registers_); }
  [[gnu::always_inline]] inline bool onEvent(Event e);
  // A tick with a tap due: the whole table, in order.
  [[gnu::noinline]] void tickEvents(int carried) {
    periphery::fireTaps<kTicks>(carried, [this](auto e) { return onEvent(e()); });
  }
  // Whether a tap has work with the current settings (the 16 kHz timer
  // input aside: the tick steps it itself).
  bool tapInUse(Event e) const;
  // The prescaler's due level from the taps in use, and the countdown to the
  // next due round; after every register write and reset.
  void updateDue();
  // The rounds to the next due one: the next tick at which the prescaler
  // has a tap due or the timer on the 16 kHz input reaches a match. The
  // rounds before it only count down; the chain, the tick divider and the
  // timer take them at once when looked at (catchUp) or at the due round.
  void arm();
  void rearm();  // arm() on state already caught up
  void applyRounds(uint32_t rounds);
  [[gnu::always_inline]] void catchUp() {
    if (countdown_.behind()) [[unlikely]]
      skipRounds();
  }
  [[gnu::noinline]] void skipRounds();
  // The rounds counted down since the countdown was armed or caught up,
  // the current one excepted, then the current round's tick.
  [[gnu::noinline]] void dueRound();
  [[gnu::always_inline]] void showState() {
    catchUp();
    if (counterBehind_) [[unlikely]]
      showCounter();
  }
  void setTickDivider(int code) {
    tickShift_ = L.control.tickExponent.of(code) > 4 ? 0 : L.control.tickExponent.of(code);
    tickPeriod_ = 1 << tickShift_;
  }
  [[gnu::always_inline]] inline bool round(int32_t mode, int32_t& pc);
  [[gnu::always_inline]] inline bool stepRound(int32_t mode, int32_t& pc);
  // Out of line (model.cpp): the round while rare work is flagged. It takes
  // the held program counter by value and returns it after the round,
  // complemented (negative) when the run ends: the loop's counter never has
  // its address taken, so it stays in a register.
  [[gnu::noinline]] int32_t rareRound(int32_t mode, int32_t pc);
  [[gnu::noinline]] void afterTick();
  // Nonzero while any rare per-round work may be due; kept after every
  // change of the state it follows (supply, sleep, RC clock, serial clock,
  // reset request).
  // While it is, every round is a slow one: the countdown stays at 1.
  void refreshRare() {
    rare_ = static_cast<uint8_t>(!supply_.up() || sleeping_ || rcActive_ ||
                                 (serialOnInstructionClock_ && serialTap_ == 12) || resetRequest_);
    if (rare_ != 0) {
      catchUp();
      countdown_.dueNext();
    }
  }

  // The write handlers of the blocks, one per block of the register table.
  void writePorts(int n, int v, int old);
  void writeOutput(int n, int v, int old);
  void writeSerial(int n, int v, int old);
  void writeTimer(int n, int v, int old);
  void writeIrq(int n, int v, int old);
  void writeControl(int n, int v, int old);
  void writeComparator(int n, int v, int old);

  // Resets.
  void powerOnReset(bool post);
  void peripheryReset();
  void clearPeriphery();
  void deriveState();
  void setReg(int n, int v);
  void postAll();

  // Blocks.
  // One event of the timer's input: the count, then (rarely) the matches.
  // Registers 93-95 show the count from the next register access, event or
  // the end of the run on (ShowDeferredState): a step is the count and a
  // countdown to the next match.
  [[gnu::always_inline]] void timerStep() {
    if (!timer_.running()) return;
    if (timer_.step()) [[unlikely]]
      timerMatch(timer_.match());
    counterBehind_ = true;
  }
  void timerMatch(const Timer::Match& m);
  // Registers 93-95 show the counter while the timer runs (out of line: the
  // register accesses that call it stay small).
  [[gnu::noinline]] void showCounter() {
    counterBehind_ = false;
    if (registers_ == nullptr) return;
    const int v = timer_.count();
    storeValue(L.timer.value0.reg, v & 15);
    storeValue(L.timer.value1.reg, (v >> 4) & 15);
    RegisterCell& high = registers_[L.timer.value2.reg];
    high.value = L.timer.valueHigh.with(high.value, v >> 8);
    postRedraw(kItemTimer, timerItem::kCounter);
  }
  void measure();
  void toggleFrequency();
  void serialClock();
  void startTransfer();
  void serialDone();
  void raise(const periphery::RequestGroup& g, int mask);

  // Port A.
  void refreshPins();
  void refreshMarkers();
  void samplePortA();
  void resetByPin();
  int rcPeriod() const {
    return (params_[kFieldRcDivider] > 0 ? params_[kFieldRcDivider] : 1) << latch_.value(L.ports.rcHalved);
  }
  // The pins of the two pin interrupts (PA0 or PA5, PA3 or PA4).
  int int0Pin() const { return latch_.test(L.ports.int0FromPa5) ? 5 : 0; }
  int int1Pin() const { return latch_.test(L.ports.int1FromPa4) ? 4 : 3; }
  void updateRc();
  void updateSleep();
  void updateSerialTap();
  void applyRegisterFields();
  void checkSupply();

  ParameterSet params_{};
  ControllerOptions options_;

  periphery::BinaryPrescaler prescaler_{kPrescalerChain};
  periphery::Watchdog watchdog_{kWatchdogSteps};
  Timer timer_;
  periphery::ByteShifter serial_;
  periphery::LevelComparator comparator_;
  periphery::PowerOnComparator supply_;
  PortA port_;
  PinFunction function_[kPins] = {};

  int outputLatch_ = 0;         // PA0-PA3 from 80, PA5 as bit 5 from 96 bit 1
  bool pwm_ = false;      // the PWM output level
  bool freqPa2_ = false;  // frequency output levels
  bool freqPa5_ = false;
  bool sLine_ = false;    // PA3 during a transfer
  bool channelAdc_ = false;
  int timerInput_ = 0;
  int freqTap_ = 0;
  int serialTap_ = -1;    // 4, 8 or 12 while a transfer runs on an internal clock
  bool serialOnInstructionClock_ = false;

  // Run-loop state: counters, not divisions.
  int tickPeriod_ = 1;  // 1 << tickShift_
  int tickShift_ = 0;
  int tickCount_ = 0;
  // The rounds to the next due round; those counted and not yet taken are
  // applied when the periphery is looked at.
  periphery::RoundCountdown countdown_;
  bool rcActive_ = false;  // the timer counts the CPU clock through the RC divider
  int rcCount_ = 0;
  bool sleeping_ = false;
  int32_t sleepCountdown_ = kSleepRounds;
  bool resetRequest_ = false;
  bool holding_ = false;   // in the power-on hold (redraws posted on entering only)
  bool counterBehind_ = false;  // registers 93-95 lag the timer's count
  uint8_t rare_ = 1;       // see refreshRare()
};

[[gnu::always_inline]] inline bool Chip::onEvent(Event e) {
  switch (e) {
    case Event::FreqTap3: if (freqTap_ == 3) toggleFrequency(); break;
    case Event::FreqTap2: if (freqTap_ == 2) toggleFrequency(); break;
    case Event::FreqTap1: if (freqTap_ == 1) toggleFrequency(); break;
    case Event::FreqTap0: if (freqTap_ == 0) toggleFrequency(); break;
    case Event::TimerInput1: if (timerInput_ == 1) timerStep(); break;
    case Event::TimerInput2: if (timerInput_ == 2) timerStep(); break;
    case Event::TimerInput3: if (timerInput_ == 3) timerStep(); break;
    case Event::TimerInput4: if (timerInput_ == 4) timerStep(); break;
    case Event::TimerInput5: if (timerInput_ == 5) timerStep(); break;
    case Event::TimerInput6: if (timerInput_ == 6) timerStep(); break;
    case Event::SerialTap4: if (serialTap_ == 4) serialClock(); break;
    case Event::SerialTap8: if (serialTap_ == 8) serialClock(); break;
    case Event::SerialTap12:
      if (serialTap_ == 12 && !serialOnInstructionClock_) serialClock();
      break;
    case Event::ComparatorStep: if (comparator_.active()) measure(); break;
    case Event::Prescaler64Hz: if (latch_.test(L.control.fast64Hz)) raise(kSystemRequests, kReqPrescaler); break;
    case Event::Prescaler8Hz: if (!latch_.test(L.control.fast64Hz)) raise(kSystemRequests, kReqPrescaler); break;
    case Event::OneHzInterrupt: raise(kSystemRequests, kReq1Hz); break;
    case Event::WatchdogStep:
      if (latch_.test(L.comparator.watchdogOff))
        watchdog_.clear();
      else if (watchdog_.step())
        resetRequest_ = true, rare_ = 1;  // the run loop resets after the tick
      cells().setMasked(L.control.watchdog.reg, L.control.watchdogCount.mask, watchdog_.count());
      break;
  }
  return true;
}

// The common tick: the prescaler reports nothing due below the fastest tap
// in use other than the 16 kHz timer input, which is then the tick's only
// event.
[[gnu::always_inline]] inline void Chip::Periphery_Tick() {
  const int carried = prescaler_.step();
  if (carried == periphery::kNothingDue) [[likely]] {
    if (timerInput_ == 1) timerStep();
    return;
  }
  tickEvents(carried);
}

// One round, with the program counter held in `pc`; false when the run
// ends now whatever the stop flags say. The common round counts down to the
// next round with a tick that has something due or rare work (power-on
// hold, sleep, RC clock, serial clock on the instruction clock, reset
// request: the countdown stays at 1 while any is), and otherwise only
// steps. Nothing in it resets the CPU, so the held counter stands.
[[gnu::always_inline]] inline bool Chip::round(int32_t mode, int32_t& pc) {
  if (countdown_.due()) [[unlikely]] {
    if (rare_ != 0) [[unlikely]] {
      if (sleeping_ && supply_.up()) {
        // Asleep: only the count of rounds to the reset (rareRound's sleep).
        countdown_.dueNext();
        if (!latch_.test(L.control.noSleepTimeout) && --sleepCountdown_ <= 0) peripheryReset();
        reloadPcAfterReset(pc);
        return true;
      }
      const int32_t after = rareRound(mode, pc);
      pc = after < 0 ? ~after : after;
      return after >= 0;
    }
    dueRound();
    reloadPcAfterReset(pc);
  }
  return stepRound(mode, pc);
}

// Interrupt entry and the instruction: the end of every round that runs one.
[[gnu::always_inline]] inline bool Chip::stepRound(int32_t mode, int32_t& pc) {
  if (!enterInterrupt(mode, pc)) [[unlikely]]
    return false;
  if (!halted()) {
    stepInstruction(pc);
    if (halted()) [[unlikely]]
      // HALT enables interrupts.
      setReg(L.control.system.reg, latch_.at(L.control.system.reg) | L.control.interruptsEnabled.mask);
  }
  return true;
}

inline int32_t Chip::RunLoop(int32_t mode) {
  // Every pending message on the pump's slow path (a post brings it to the
  // next round; otherwise a time slice); the counter is stored for the
  // events and taken back after them.
  // The countdown is armed anew at the start: options and clicks between
  // runs may have changed what is due.
  runRounds(
      mode,
      [this]() TAVIX_INLINE_ROUND {
        arm();
        cpuReset_ = false;  // the loop loads the counter after this
      },
      [this](int32_t& pc) TAVIX_INLINE_ROUND { return pumpAll(pc); },
      [this, mode](int32_t& pc) TAVIX_INLINE_ROUND { return round(mode, pc) ? Pass::Next : Pass::Stop; });
  return endRun();
}

}  // namespace qv4234
