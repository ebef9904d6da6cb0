#pragma once
// The QV4115 family model: the framework's hooks over the family's periphery
// blocks, over a layout (layout.h) and the most-derived chip type. Three ports
// (A inputs with edge interrupts, timer clock pins and a reset combination;
// B per-pin outputs with clock outputs and PWM on PB3; C all in or all out),
// a 14-stage prescaler with a 1 Hz watchdog, a 10-bit timer with compare and
// PWM, a two-channel 8-bit ADC, a supply level detector, a 32-byte EEPROM,
// the serial write buffer (SWB) and a RAM window of 16 banks. 16384 ticks
// are one second of chip time; the family has its own run loop. A chip is
//   class Qv4115 final : public Qv4115Model<Qv4115, kQv4115> {};
// and a variant another layout constant plus a subclass holding only what
// differs (see docs/chip-modules.md).
#include <simcore/periphery_window.h>
#include <simcore/simcore.h>

#include <cstdint>
#include <optional>

#include "periphery/adc8.h"
#include "periphery/banked_ram_window.h"
#include "periphery/cells.h"
#include "periphery/eeprom.h"
#include "periphery/pin_rules.h"
#include "periphery/port.h"
#include "periphery/prescaler.h"
#include "periphery/requests.h"
#include "periphery/reset_table.h"
#include "periphery/round_countdown.h"
#include "periphery/supply_detector.h"
#include "periphery/timer10.h"
#include "periphery/watchdog.h"
#include "periphery/write_buffer.h"
#include "periphery/write_routes.h"
#include "qv4115/layout.h"

namespace qv4115 {

// The tick events, one per line of the chip's stage table.
enum class Event : uint8_t {
  Swb2, Timer1, ClockPB1,                      // 16384 Hz
  Swb1,                                        // 4096 Hz
  DetectorEvaluate, Swb0, Timer2, ClockPB0,    // 2048 Hz
  DetectorStart, ClockPB2,                     // 1024 Hz
  Timer3,                                      // 512 Hz
  Timer4,                                      // 128 Hz
  Prescaler32Hz,                               // 32 Hz
  Prescaler8Hz, Timer5,                        // 8 Hz
  Timer6, OneHzInterrupt, WatchdogStep,        // 1 Hz
};

// Every 2^carries ticks, in the order they happen within one tick. The chain
// divides by 4, 2, 2, 2, 4, 2, 2, 2, 2, 2, 4: one binary counter of 14 bits.
constexpr periphery::Tap<Event> kTicks[] = {
    {0, Event::Swb2}, {0, Event::Timer1}, {0, Event::ClockPB1},
    {2, Event::Swb1},
    {3, Event::DetectorEvaluate}, {3, Event::Swb0}, {3, Event::Timer2}, {3, Event::ClockPB0},
    {4, Event::DetectorStart}, {4, Event::ClockPB2},
    {5, Event::Timer3},
    {7, Event::Timer4},
    {9, Event::Prescaler32Hz},
    {11, Event::Prescaler8Hz}, {11, Event::Timer5},
    {14, Event::Timer6}, {14, Event::OneHzInterrupt}, {14, Event::WatchdogStep},
};
static_assert(periphery::tapsInOrder(kTicks));

constexpr periphery::WatchdogConfig kWatchdog{3};  // the third 1 Hz step without a clear
constexpr int kEepromWriteTicks = 512, kEepromReadTicks = 1;
constexpr int kAdcTicks = 10;
constexpr int kDetectorLevels[4] = {380, 300, 220, 220};


// Request bits.
constexpr int kReqAdc = 1, kReqEeprom = 2, kReqPrescaler = 4, kReq1Hz = 8;
constexpr int kReqCompare = 1, kReqEnd = 2, kReqDetector = 4;

// Window redraw items and their lParam parts.
enum Item : int {
  kItemPortA = 0, kItemPortB = 1, kItemPortC = 2, kItemSwb = 3, kItemSupply = 4,
  kItemPrescaler = 5, kItemTimer = 6, kItemAdc = 7, kItemEepromBox = 8,
  kItemEepromList = 9,  // the byte list, rewritten after an EEPROM write
};
// Every part of a box that has no named parts.
constexpr int kAllParts = 255;
constexpr int kFirstPinButton[3] = {1035, 1081, 1097};
namespace swbItem {
constexpr int kClock = 1, kData = 2, kText = 4, kClockText = 8, kMode = 16, kAll = 0xFFFF;
}
namespace prescalerItem {
constexpr int kRateText = 1, kLeds = 2, kAll = 0xFF;
}
namespace timerItem {
constexpr int kEnabled = 1, kEndIrq = 2, kCompareIrq = 4, kPwm = 8, kCompareEnable = 16,
              kSource = 32, kStep = 64, kCompareValue = 128, kWidth = 256, kCounter = 512, kAll = 0xFFF;
}

// The dialog "Curpos" of the family's window (window_template.cpp).
const platform::DialogTemplate& Qv4115Window();

template <class Self, const Qv4115Layout& L>
class Qv4115Model : public simcore::PeripheryChip<Self> {
  using Base = simcore::PeripheryChip<Self>;

 public:
  static constexpr const char* kCaption = "QV4115 Periphery";
  static constexpr periphery::RegisterMap kRegisterMap = Qv4115RegisterMap(L);
  static constexpr simcore::RegisterSet kPeriphery = periphery::PeripheryRegisters(kRegisterMap);
  static constexpr periphery::WriteBufferConfig kSwb{L.swb.data.reg, 6, L.swb.style};
  static constexpr periphery::RequestGroup kRequestsA{L.irq.systemRequests, L.irq.systemEnables};
  static constexpr periphery::RequestGroup kRequestsB{L.irq.timerRequests, L.irq.timerEnables};
  // The reset: every value nibble up to 126 cleared, except the SWB data and
  // the timer latch (all ones), the timer's high cell (bits 0-1 set, the
  // width kept) and the watchdog clear register (bit 2 kept).
  static constexpr periphery::ResetRule<1> kResetTable[] = {
      {0, 126, {periphery::kZero}},
      {L.swb.data.reg, L.swb.data.reg, {periphery::resetTo(15)}},
      {L.timer.low.reg, L.timer.low.reg, {periphery::resetTo(15)}},
      {L.timer.middle.reg, L.timer.middle.reg, {periphery::resetTo(15)}},
      {L.timer.high.reg, L.timer.high.reg, {periphery::resetTo(3, 0xC)}},
      {L.watchdog.clear.reg, L.watchdog.clear.reg, {periphery::clearBits(0xB)}},
  };
  static constexpr periphery::InterruptCondition kInterrupts{
      L.irq.interruptEnable, false, {{L.portA.requests, L.irq.systemRequests, L.irq.timerRequests, {0, 0}}}};

  // ---- Framework hooks.
  // The rounds counted down so far are applied first; the next round is a
  // due one (a write may change what is due).
  int32_t Periphery_Read(int32_t n) {
    catchUp();
    countdown_.dueNext();
    return periphery::readRegister(Self::kRegisterMap, self(), cells(), n);
  }
  void Periphery_Write(int32_t n, int32_t v) {
    catchUp();
    periphery::writeRegister(Self::kRegisterMap, self(), cells(), n, v);
    self().updateDue();
    countdown_.dueNext();
  }
  // Before events and at the end of a run: as a register access.
  void ShowDeferredState() {
    catchUp();
    countdown_.dueNext();
  }
  inline void Periphery_Tick();
  void Periphery_Reset();
  void SamplePorts() {
    SamplePortA();
    SamplePortB();
    SamplePortC();
  }
  bool InterruptRequested() const { return periphery::interruptPending<kInterrupts>(cells()); }
  inline int32_t RunLoop(int32_t mode);

  // ---- Register handlers (called by the register table).
  int onRead(int n);
  void onWrite(int n, int value, int old);

  // ---- The chip's own operations.
  void SamplePortA();
  void SamplePortB();
  void SamplePortC();
  // Hooks of the samplers and the SWB a variant may hide: whether the pin
  // levels reset the chip by the combination; a timer clock pin's edge
  // (source 0 for PA0, 7 for PA3); the bits an automatic transfer's last
  // nibble keeps.
  bool resetByCombination(const periphery::Cells& c, int levels) const {
    return periphery::combinationResets(levels, c.value(L.reset.select.reg), c.value(L.reset.polarity.reg),
                                        periphery::CombinationRule::AllPins);
  }
  void clockPinEdge(int source) { Timer_Step(source); }
  int swbLastNibbleBits() const { return 4; }
  // One count of the timer when it runs from `source`.
  inline void Timer_Step(int source);
  // One half period of the SWB clock when it is started on `selection`;
  // false ("hold") on a falling clock edge.
  inline bool SwbStep(int selection);

  // ---- Window (window.cpp, window_template.cpp): drawn from the model's
  // state, never through the register file.
  static const platform::DialogTemplate& WindowTemplate() { return Qv4115Window(); }
  void Window_Init(platform::WindowHandle dialog);
  void Window_Redraw(int item, intptr_t parts);
  void Window_RedrawAll();
  bool Window_Command(int id);
  bool Window_Scroll(int barId, uint16_t code, int thumb);

  // ---- State the window shows (never read through the register file).
  const periphery::Port& port(int n) const { return ports_[n]; }
  const periphery::Timer10& timer() const { return timer_; }
  const periphery::SerialWriteBuffer& swb() const { return swb_; }
  const periphery::Eeprom<32>& eeprom() const { return eeprom_; }
  int supply() const { return supply_; }
  const periphery::Adc8& adc() const { return adc_; }
  bool fullCompare() const { return latch_.test(L.timer.fullCompare); }
  bool pwmEnabled() const { return latch_.test(L.prescaler.pwm); }
  bool prescaler32Hz() const { return latch_.test(L.prescaler.fast32Hz); }
  int swbClockSelection() const { return swbClockCopy_; }
  bool swbAutomatic() const { return swbAutomatic_; }
  int timerSource() const { return timerSource_; }

 protected:
  using Base::cpu_;
  using Base::latch_;
  using Base::registers_;
  using Base::beginRun;
  using Base::clickPin;
  using Base::dialog;
  using Base::endRun;
  using Base::enterInterrupt;
  using Base::halted;
  using Base::loadPc;
  using Base::postRedraw;
  using Base::pumpAll;
  using Base::reloadPcAfterReset;
  using Base::resetCpu;
  using Base::stepInstruction;
  using Base::stopped;
  using Base::storePc;
  using Base::word;

  Self& self() { return static_cast<Self&>(*this); }
  periphery::Cells cells() const { return periphery::Cells(registers_); }
  // Raises the bits of the system request group its enables allow.
  void raiseSystemRequest(int bits) {
    periphery::Cells c = cells();
    kRequestsA.raise(c, bits);
  }
  inline bool onEvent(Event e);
  // The fastest tap with work now: the chain reports the ticks below it as
  // nothing due. After every register write, reset, detector start and end
  // and SWB start or stop; a variant with a tick table of its own hides it.
  void updateDue() {
    prescaler_.setDueFrom(periphery::firstTapInUse(kTicks, [this](Event e) { return tapInUse(e); },
                                                   L.prescaler.chain.stages));
  }
  // Whether a tap below the detector's start (a tap always taken) has work
  // with the current settings; false: its event would do nothing.
  bool tapInUse(Event e) const {
    switch (e) {
      case Event::Swb2: return swbRunning_ == 2;
      case Event::Timer1: return timerSource_ == 1;
      case Event::ClockPB1: return clockOutputOn(1);
      case Event::Swb1: return swbRunning_ == 1;
      case Event::DetectorEvaluate: return detector_.pending();
      case Event::Swb0: return swbRunning_ == 0;
      case Event::Timer2: return timerSource_ == 2;
      case Event::ClockPB0: return clockOutputOn(0);
      default: return true;
    }
  }
  // A tick with a tap due: the whole table, in order.
  [[gnu::noinline]] void tickEvents(int carried) {
    periphery::fireTaps<kTicks>(carried, [this](auto e) { return self().onEvent(e); });
  }
  // A redraw request to the window (nothing without a dialog).
  void post(int item, intptr_t parts) { postRedraw(item, parts); }
  void initSupplyAndLists(platform::WindowHandle dialog);
  void drawSwb(intptr_t parts);
  void drawTimer(intptr_t parts);
  // PB0-PB2 carry a clock output when they are outputs and their bit of the
  // clock output field is set.
  bool clockOutputOn(int pin) const {
    return ((latch_.at(L.portB.clockOutputs.reg) >> (pin + L.portB.clockOutputs.shift())) &
            (latch_.at(L.portB.direction.reg) >> pin) & 1) != 0;
  }
  bool clockOutputSet(int pin) const {
    return ((latch_.at(L.portB.clockOutputs.reg) >> (pin + L.portB.clockOutputs.shift())) & 1) != 0;
  }
  void toggleClockPin(int pin);
  void pwmChanged();
  // The write handlers of the family's blocks, one per block of its table
  // (the prescaler's is named for its one register: `writePrescaler` is the
  // variant's hook).
  void writePorts(int n, int v, int old);
  void writeSwb(int n, int v, int old);
  void writeEeprom(int n, int v, int old);
  void writeTimer(int n, int v, int old);
  void writeAdc(int n, int v, int old);
  void writeIrq(int n, int v, int old);
  void writeWatchdog(int n, int v, int old);
  void writeRam(int n, int v, int old);
  void writePrescalerControl(int n, int v, int old);
  void writeDetector(int n, int v, int old);
  // Register writes a variant may hide (called through Self).
  void writeTimerRun(int value);
  void writeSwbClock(int value, int old);
  void writeSwbData();
  void writeSwbControl(int value, int old);
  void writeEepromControl(int value);
  void writePrescaler(int value, int old);
  void timerMatched(periphery::Timer10::Match s);
  // The timer cells show the counter (bits 0-3, 4-7, 8-9). Only the nibbles
  // that differ from the count they were last given are written; -1: all.
  void showCounter(periphery::Cells& c, int count) {
    const int changed = shownCounter_ < 0 ? 0x3FF : count ^ shownCounter_;
    if (changed & 0x00F) c.set(L.timer.low.reg, count & 15);
    if (changed & 0x0F0) c.set(L.timer.middle.reg, (count >> 4) & 15);
    if (changed & 0x300) c.setMasked(L.timer.high.reg, L.timer.highBits.mask, count >> 8);
    shownCounter_ = count;
  }
  void adcDone();
  void detectorDone();
  void eepromDone();
  void automaticSwbStep();
  void swbHalfDone(const periphery::SerialWriteBuffer::Half& h);
  void writePortB(int value);
  void writePortBDirection(int value);
  void writePortCDirection(int value);
  void writePortC(int value);
  void refreshMarkers();
  void setSwbReady(bool ready);
  void setCondition16();

  periphery::BinaryPrescaler prescaler_{L.prescaler.chain};
  // The rounds to the next one with work in its tick: one whose prescaler
  // tick has a tap due, or every round while a unit works per tick (the
  // EEPROM, the converter, the SWB on the instruction clock, a watchdog
  // reset pending: rareWork()).
  periphery::RoundCountdown countdown_;
  [[gnu::always_inline]] void catchUp() { prescaler_.advance(countdown_.takeCounted()); }
  bool rareWork() const {
    return eeprom_.busy() || adc_.converting() || swbRunning_ == 3 || watchdogRequest_;
  }
  void rearm() { countdown_.arm(self().rareWork() ? 1 : prescaler_.ticksToDue()); }
  periphery::Watchdog watchdog_{kWatchdog};
  bool watchdogRequest_ = false;
  periphery::Timer10 timer_;
  int timerSource_ = 0;
  int shownCounter_ = -1;  // the count cells 95-97 show; -1 unknown (reset, monitor)
  bool pwmLevel_ = false;
  periphery::Adc8 adc_{kAdcTicks};
  periphery::SupplyDetector detector_;
  int supply_ = 0;         // hundredths of a volt, from the window
  int detectorLevel_ = 0;  // by register 114, kept by resets
  periphery::Eeprom<32> eeprom_;
  periphery::SerialWriteBuffer swb_{kSwb};
  bool swbAutomatic_ = false;
  // The selection the SWB clock runs on (the clock register while the start
  // bit is set), -1 while it is stopped.
  int swbRunning_ = -1;
  void updateSwbRunning(periphery::Cells& c) {
    swbRunning_ = c.bit(L.swb.control.reg, L.swb.start.mask) ? L.swb.clockSelect.of(c.value(L.swb.clock.reg)) : -1;
    self().updateDue();
  }
  int swbClockCopy_ = 0;
  periphery::BankedRamWindow<L.ram.window.reg, 4, 16, periphery::BankMoves::ValueWord> banks_;
  periphery::Port ports_[3];
  int latchB_ = 0, latchC_ = 0;
};

// ---- Hot paths: the tick, the timer step, the SWB step, the run loop.

template <class Self, const Qv4115Layout& L>
inline bool Qv4115Model<Self, L>::SwbStep(int selection) {
  if (selection != swbRunning_) [[likely]] return true;
  periphery::Cells c = cells();
  const periphery::SerialWriteBuffer::Half h = swb_.halfStep(c.value(L.swb.data.reg));
  swbHalfDone(h);
  return !h.hold;
}

template <class Self, const Qv4115Layout& L>
inline void Qv4115Model<Self, L>::Timer_Step(int source) {
  if (!timer_.running() || source != timerSource_) return;
  if (timer_.step()) [[unlikely]] {  // end or compare on the width's bits (a full compare too)
    timerMatched(timer_.match());
    return;
  }
  periphery::Cells c = cells();
  showCounter(c, timer_.count());
  post(kItemTimer, timerItem::kCounter);
}

template <class Self, const Qv4115Layout& L>
inline bool Qv4115Model<Self, L>::onEvent(Event e) {
  switch (e) {
    case Event::Swb2: SwbStep(2); break;
    case Event::Timer1: Timer_Step(1); break;
    case Event::ClockPB1: if (clockOutputOn(1)) toggleClockPin(1); break;
    case Event::Swb1: SwbStep(1); break;
    case Event::DetectorEvaluate:
      if (detector_.pending()) {
        detectorDone();
        self().updateDue();
      }
      break;
    case Event::Swb0: SwbStep(0); break;
    case Event::Timer2: Timer_Step(2); break;
    case Event::ClockPB0: if (clockOutputOn(0)) toggleClockPin(0); break;
    case Event::DetectorStart:
      if (cells().bit(L.detector.start.reg, L.detector.start.mask)) {
        detector_.start(detectorLevel_);
        self().updateDue();
      }
      break;
    case Event::ClockPB2: if (clockOutputOn(2)) toggleClockPin(2); break;
    case Event::Timer3: Timer_Step(3); break;
    case Event::Timer4: Timer_Step(4); break;
    case Event::Prescaler32Hz:
      if (latch_.test(L.prescaler.fast32Hz)) raiseSystemRequest(kReqPrescaler);
      break;
    case Event::Prescaler8Hz:
      if (!latch_.test(L.prescaler.fast32Hz)) raiseSystemRequest(kReqPrescaler);
      break;
    case Event::Timer5: Timer_Step(5); break;
    case Event::Timer6: Timer_Step(6); break;
    case Event::OneHzInterrupt: raiseSystemRequest(kReq1Hz); break;
    case Event::WatchdogStep: {
      periphery::Cells c = cells();
      if (c.bit(L.watchdog.hold.reg, L.watchdog.hold.mask))
        watchdog_.clear();
      else if (watchdog_.step())
        watchdogRequest_ = true;
      break;
    }
  }
  return true;
}

template <class Self, const Qv4115Layout& L>
inline void Qv4115Model<Self, L>::Periphery_Tick() {
  if (eeprom_.tick()) [[unlikely]] eepromDone();
  if (adc_.tick()) [[unlikely]] adcDone();
  const int carried = prescaler_.step();
  if (carried != periphery::kNothingDue) [[unlikely]] tickEvents(carried);
}

// The chip's run loop: every pending message each pass; in a due round
// (countdown_, armed anew at the start), the SWB on the instruction clock
// first, whose falling edge holds the pass, the tick and the watchdog reset;
// the interrupt entry; then the instruction, or, while halted, the
// automatic SWB. Every pass ends with the stop-flag test.
// The program counter is held in a local; only events (and the stack check
// after them) and a CPU reset move it outside the interpreter.
template <class Self, const Qv4115Layout& L>
inline int32_t Qv4115Model<Self, L>::RunLoop(int32_t mode) {
  using Pass = typename Base::Pass;
  this->runRounds(
      mode, [this]() TAVIX_INLINE_ROUND { countdown_.dueNext(); },
      [this](int32_t& pc) TAVIX_INLINE_ROUND { return pumpAll(pc); },
      [this, mode](int32_t& pc) TAVIX_INLINE_ROUND {
        if (countdown_.due()) [[unlikely]] {
          prescaler_.advance(countdown_.takeBeforeDue());
          const bool held = !SwbStep(3);  // a falling SWB clock edge holds the pass
          if (!held) {
            self().Periphery_Tick();
            if (watchdogRequest_) [[unlikely]] self().Periphery_Reset();
            reloadPcAfterReset(pc);
          }
          rearm();
          if (held) return Pass::Next;
        }
        if (!enterInterrupt(mode, pc)) [[unlikely]]
          return Pass::Stop;
        if (!halted()) [[likely]] {
          stepInstruction(pc);
          if (halted()) [[unlikely]] {
            cells().setBits(L.irq.interruptEnable.reg, L.irq.interruptEnable.mask);
            latch_.set(L.irq.interruptEnable);
            if (swb_.ready()) word(k42::kHalted) = 0;
          }
        } else if (cells().bit(L.swb.automatic.reg, L.swb.automatic.mask)) {
          if (swb_.ready()) {
            word(k42::kHalted) = 0;
          } else {
            catchUp();
            automaticSwbStep();
            countdown_.dueNext();
          }
        }
        return Pass::Next;
      });
  return endRun();
}

}  // namespace qv4115

#include "qv4115/model_bodies.h"
#include "qv4115/window_bodies.h"
