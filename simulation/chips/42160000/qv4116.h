#pragma once
// Chip QV4116 (module 42160000), the smallest of the LCD family: eight
// direct LCD registers, port A (edge interrupts, condition inputs), port B
// (direction, latch, three toggles, PWM on PB3), the 10-bit timer, the
// prescaler requests, the millisecond counter, a supply detector with a fixed
// level and a comparator of the supply on PB0, and a watchdog. One periphery
// step per pass, 16384 a simulated second, through a 14-stage chain.
#include <simcore/lcd/lcd_boxes.h>
#include <simcore/lcd/lcd_chip.h>

#include <cstdint>

#include "periphery/cells.h"
#include "periphery/millisecond_counter.h"
#include "periphery/pin_rules.h"
#include "periphery/port.h"
#include "periphery/prescaler.h"
#include "periphery/requests.h"
#include "periphery/supply_detector.h"
#include "periphery/timer10.h"
#include "periphery/watchdog.h"
#include "periphery/write_routes.h"
#include "layout.h"

namespace qv4116 {

// The events of the chain, one line of the tap table each.
enum class Event : uint8_t {
  Millisecond, TimerClock1, Toggle0,                   // every step
  Toggle1, SupplyResult, Comparator, TimerClock2,      // 2048 Hz
  SupplyPending,                                       // 1024 Hz
  TimerClock3,                                         // 512 Hz
  TimerClock4,                                         // 128 Hz
  Request32Hz,                                         // 32 Hz
  Request8Hz, TimerClock5,                             // 8 Hz
  Blink,                                               // 4 Hz: the quarter counter at 3
  TimerClock6, Toggle2, Request1Hz, Watchdog,          // 1 Hz
};

// Every 2^carries steps. The chain divides by 4, 2, 2, 2, 4, 2, 2, 2, 2, 2
// and the quarter counter (4): one binary counter of 14 stages.
constexpr periphery::Tap<Event> kTicks[] = {
    {0, Event::Millisecond},  {0, Event::TimerClock1},  {0, Event::Toggle0},
    {3, Event::Toggle1},      {3, Event::SupplyResult}, {3, Event::Comparator}, {3, Event::TimerClock2},
    {4, Event::SupplyPending},
    {5, Event::TimerClock3},
    {7, Event::TimerClock4},
    {9, Event::Request32Hz},
    {11, Event::Request8Hz},  {11, Event::TimerClock5},
    {12, Event::Blink},
    {14, Event::TimerClock6}, {14, Event::Toggle2},     {14, Event::Request1Hz}, {14, Event::Watchdog},
};
static_assert(periphery::tapsInOrder(kTicks));

// The reset and a restart keep the stages that divide 128 Hz to 64 Hz, 32 Hz
// to 16 Hz and 8 Hz to 4 Hz (bits 7, 9, 11) and clear the others.
constexpr uint32_t kKeptStages = (1u << 7) | (1u << 9) | (1u << 11);
constexpr periphery::PrescalerConfig kPrescaler{14, 0, 0x3FFFu & ~kKeptStages, 0};
constexpr periphery::WatchdogConfig kWatchdog{3};  // the third second without a clear
constexpr int kLevel = 200;                        // detector and comparator, hundredths of a volt
constexpr int kSupplyMax = 500;
constexpr int kSegments = 8;
// A load turns the compare off (92 bit 1 cleared) until the program turns it on.
constexpr periphery::Timer10Config kTimer{.loadCompare = periphery::LoadCompare::Disabled};
using Timer = periphery::BasicTimer10<kTimer>;

constexpr periphery::MillisecondCounterConfig kMillisecond{
    L.millisecond.units.reg, L.millisecond.status.reg, periphery::MillisecondClear::DigitsAndOverflow,
    periphery::MillisecondStart::RunBitRising};

constexpr periphery::RequestGroup kPortARequestGroup{L.portA.requests, L.portA.enables};
constexpr periphery::RequestGroup kPrescalerGroup{L.irq.timeRequests, L.irq.timeEnables};
constexpr periphery::RequestGroup kTimerGroup{L.irq.unitRequests, L.irq.unitEnables};
// The supply detector's and the comparator's requests take their mask bit.
constexpr periphery::RequestGroup kDetectorGroup{L.irq.unitRequests, L.irq.unitEnables,
                                                 periphery::RaisePolicy::TakesEnable};
constexpr periphery::RequestGroup kComparatorGroup{L.irq.timeRequests, L.irq.timeEnables,
                                                   periphery::RaisePolicy::TakesEnable};
constexpr int kReqComparator = 1, kReqBlink = 2, kReqPrescaler = 4, kReq1Hz = 8;
constexpr int kReqCompare = 1, kReqEnd = 2, kReqMillisecond = 4, kReqDetector = 8;

// Redraw items; 2, 3, 4 and 9 have no box in this window.
enum Item : int {
  kItemPortA = 0, kItemPortB = 1, kItemPrescaler = 5, kItemTimer = 6, kItemSupply = 7,
  kItemMillisecond = 8,
};
constexpr int kPortAButton = 1035, kPortBButton = 1081;
// Every part of a redraw item.
constexpr int kAllParts = 255;

// The supply box's LEDs (bit k = LED 1098 + k).
namespace indicator {
constexpr int kVdd = 1, kMeasuring = 2, kLow = 4, kDetectorMask = 8, kPb0 = 16, kPb0Active = 32,
              kComparatorResult = 64, kComparatorMask = 128, kAll = 255;
}

class Chip : public simcore::lcd::LcdChip<Chip> {
 public:
  static constexpr const simcore::lcd::LcdModule& kModule = simcore::lcd::LcdModuleOf("42160000");
  static constexpr const char* kCaption = "QV4116 Periphery";
  static_assert(kModule.caption == kCaption);

  static constexpr simcore::RegisterSet kPeriphery = periphery::PeripheryRegisters(kRegisterMap);

  // The pins as the window starts: port A's arming markers shown, port B's
  // inputs with their texts.
  Chip() {
    ports_[0].reset(periphery::pin::kMarker);
    ports_[1].reset(periphery::pin::kTextShown);
  }

  // ---- Framework hooks.
  int32_t Periphery_Read(int32_t n) { return periphery::readRegister(kRegisterMap, *this, cells(), n); }
  void Periphery_Write(int32_t n, int32_t v) { periphery::writeRegister(kRegisterMap, *this, cells(), n, v); }
  [[gnu::always_inline]] void Periphery_Tick() {
    const int carried = prescaler_.step();
    if (carried == periphery::kNothingDue) [[likely]]
      return;
    periphery::fireTaps<kTicks>(carried, [this](auto e) { return onEvent(e()); });
  }
  void Periphery_Reset();
  bool Periphery_TakeWatchdogReset() {
    if (!watchdogReset_) [[likely]]
      return false;
    watchdogReset_ = false;
    return true;
  }
  // A running timer's count is shown when the run ends.
  void Periphery_RunEnded() {
    if (timerTap_ >= 0) postRedraw(kItemTimer, simcore::lcd::timerPart::kCount);
  }
  // A halted pass enables interrupts through the register write, with its
  // side effects (the latch, a write breakpoint).
  void Lcd_HaltEnable() { Register_Write(L.irq.control.reg, reg(L.irq.control.reg) | L.irq.interruptEnable.mask); }
  void SamplePorts() {
    if (registers_ == nullptr) return;
    samplePortA();
    samplePortB();
  }

  // ---- Register handlers: the write of every register reaches the handler
  // of its block.
  int onRead(int n);
  void onWrite(int n, int value, int old);

  // ---- The window's side.
  static const platform::DialogTemplate& WindowTemplate();
  void Window_Init(platform::WindowHandle dialog);
  void Window_Redraw(int item, intptr_t parts);
  void Window_RedrawAll();
  bool Window_Command(int id);
  bool Window_Scroll(int barId, uint16_t code, int thumb);

  void setSupply(int hundredths);

 private:
  periphery::Cells cells() const { return periphery::Cells(registers_); }
  int reg(int n) const { return registers_ != nullptr ? (registers_[n].value & 15) : 0; }
  // Whether any bit of the field is set in the register file (0 without one).
  bool test(Field f) const { return f.setIn(reg(f.reg)); }
  // The field's bits in the register file, in place (0 without one).
  int bits(Field f) const { return reg(f.reg) & f.mask; }
  inline bool onEvent(Event e);
  // The fastest tap with something to do: the chain reports nothing below it.
  void refreshActivity();

  // The write handlers of the blocks, one per block of the register table.
  void writeSegment(int n, int v, int old);
  void writeLcdMode(int n, int v, int old);
  void writePortA(int n, int v, int old);
  void writePortB(int n, int v, int old);
  void writeComparator(int n, int v, int old);
  void writeTimer(int n, int v, int old);
  void writeMillisecond(int n, int v, int old);
  void writeIrq(int n, int v, int old);
  void writeWatchdog(int n, int v, int old);
  void writePrescaler(int n, int v, int old);
  void writeSupply(int n, int v, int old);

  void samplePortA();
  void samplePortB();
  void rearmPortA();
  void writeDirection(int value, int old);
  void drivePwm();
  void writeLatch(int value);
  void toggle(int pin);
  void timerClock() {
    if (timer_.step()) [[unlikely]]
      timerMatched();
  }
  void timerMatched();
  void writeTimerCommand(int value, int old);
  void setIndicator(int bits, bool on, int parts);
  void millisecondCounted();
  void supplyResult();
  void compare();
  void postTimer(int parts) { postRedraw(kItemTimer, parts); }
  simcore::lcd::TimerView timerView() const;

  periphery::BinaryPrescaler prescaler_{kPrescaler};
  periphery::Watchdog watchdog_{kWatchdog};
  Timer timer_;
  periphery::MillisecondCounter<kMillisecond> ms_;
  periphery::SupplyDetector detector_;
  periphery::Port ports_[2];  // A, B
  uint8_t segments_[kSegments] = {};
  int latchB_ = 0;
  int pwmLevel_ = 0;
  int supply_ = kSupplyMax;
  bool comparatorLow_ = false;
  bool watchdogReset_ = false;
  int indicator_ = indicator::kVdd;
  // The taps in use, from the control registers.
  int timerTap_ = -1;  // clock of a running timer, -1 stopped
  int toggles_ = 0;    // bit i: toggle i acts
};

[[gnu::always_inline]] inline bool Chip::onEvent(Event e) {
  periphery::Cells c = cells();
  switch (e) {
    case Event::Millisecond: if (ms_.active() && ms_.step()) [[unlikely]] millisecondCounted(); break;
    case Event::TimerClock1: if (timerTap_ == 1) timerClock(); break;
    case Event::Toggle0: if (simcore::bitAt(toggles_, 0)) toggle(0); break;
    case Event::Toggle1: if (simcore::bitAt(toggles_, 1)) toggle(1); break;
    case Event::SupplyResult: if (detector_.pending()) supplyResult(); break;
    case Event::Comparator: if (c.bit(L.comparator.inputPb0.reg, L.comparator.inputPb0.mask)) compare(); break;
    case Event::TimerClock2: if (timerTap_ == 2) timerClock(); break;
    case Event::SupplyPending:
      if (c.bit(L.supply.measure.reg, L.supply.measure.mask)) {
        detector_.start(kLevel);
        refreshActivity();
      }
      break;
    case Event::TimerClock3: if (timerTap_ == 3) timerClock(); break;
    case Event::TimerClock4: if (timerTap_ == 4) timerClock(); break;
    case Event::Request32Hz: if (c.bit(L.prescaler.fast32Hz.reg, L.prescaler.fast32Hz.mask)) kPrescalerGroup.raise(c, kReqPrescaler); break;
    case Event::Request8Hz: if (!c.bit(L.prescaler.fast32Hz.reg, L.prescaler.fast32Hz.mask)) kPrescalerGroup.raise(c, kReqPrescaler); break;
    case Event::TimerClock5: if (timerTap_ == 5) timerClock(); break;
    case Event::Blink: if (prescaler_.stageBits(12, 2) == 3) kPrescalerGroup.raise(c, kReqBlink); break;
    case Event::TimerClock6: if (timerTap_ == 6) timerClock(); break;
    case Event::Toggle2: if (simcore::bitAt(toggles_, 2)) toggle(2); break;
    case Event::Request1Hz: kPrescalerGroup.raise(c, kReq1Hz); break;
    case Event::Watchdog:
      if (c.bit(L.supply.watchdogOff.reg, L.supply.watchdogOff.mask))
        watchdog_.clear();
      else if (watchdog_.step())
        watchdogReset_ = true;
      break;
  }
  return true;
}

}  // namespace qv4116
