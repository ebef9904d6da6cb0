#pragma once
// The QV4124 (LCD) family model, over a layout (layout.h) and the
// most-derived chip type: ports A
// (debounced edge interrupts, condition inputs, reset combination) and B
// (direction, pulse outputs, PWM), a 10-bit timer, a melody counter, a serial
// interface, an 8-byte EEPROM, a supply detector, a watchdog, 32 nibbles of
// LCD memory and 16 pages of RAM 2. Four periphery steps per instruction;
// the clock index puts k divide-by-two stages in front of the base tick,
// which runs at 32768 per simulated second. A chip is
//   class Qv4124 final : public Qv4124Model<Qv4124, kQv4124> {};
// and a variant another layout constant plus a subclass holding only what
// differs (see docs/lcd-family.md).
#include <simcore/lcd/lcd_boxes.h>
#include <simcore/lcd/lcd_chip.h>
#include <simcore/lcd/time_base.h>

#include <cstdint>
#include <optional>

#include "periphery/banked_ram_window.h"
#include "periphery/cells.h"
#include "periphery/eeprom.h"
#include "periphery/lcd_memory.h"
#include "periphery/melody_counter.h"
#include "periphery/port.h"
#include "periphery/prescaler.h"
#include "periphery/requests.h"
#include "periphery/serial_shifter.h"
#include "periphery/supply_detector.h"
#include "periphery/timer10.h"
#include "periphery/watchdog.h"
#include "periphery/write_routes.h"
#include "qv4124/layout.h"

namespace qv4124 {

// Base-tick events, one line of the chip's tap table each.
enum class Event : uint8_t {
  EepromBusy, SerialClock3, PortB2Toggle,      // 32768 Hz
  SerialClock2, TimerClock1,                   // 16384 Hz
  SerialClock1, PortASample8192,               // 8192 Hz
  TimerClock2,                                 // 2048 Hz
  PortASample1024,                             // 1024 Hz
  SupplyResult, PortB1Toggle, TimerClock3,     // 512 Hz (result: half a 256 Hz period after the start)
  SupplyStart,                                 // 256 Hz
  TimerClock4, PortASample128,                 // 128 Hz
  MelodyClock2,                                // 64 Hz
  Request32Hz,                                 // 32 Hz
  MelodyClock1,                                // 16 Hz
  TimerClock5, Request8Hz,                     // 8 Hz
  MelodyClock0, Blink,                         // 4 Hz (blink: a quarter second before 1 Hz)
  MelodyClock3, TimerClock6, Request1Hz, Watchdog, PortB0Toggle,  // 1 Hz
};

// Every 2^carries base ticks (32768 / 2^carries Hz), in order within a tick.
constexpr periphery::Tap<Event> kTicks[] = {
    {0, Event::EepromBusy},     {0, Event::SerialClock3},   {0, Event::PortB2Toggle},
    {1, Event::SerialClock2},   {1, Event::TimerClock1},
    {2, Event::SerialClock1},   {2, Event::PortASample8192},
    {4, Event::TimerClock2},
    {5, Event::PortASample1024},
    {6, Event::SupplyResult},   {6, Event::PortB1Toggle},   {6, Event::TimerClock3},
    {7, Event::SupplyStart},
    {8, Event::TimerClock4},    {8, Event::PortASample128},
    {9, Event::MelodyClock2},
    {10, Event::Request32Hz},
    {11, Event::MelodyClock1},
    {12, Event::TimerClock5},   {12, Event::Request8Hz},
    {13, Event::MelodyClock0},  {13, Event::Blink},
    {15, Event::MelodyClock3},  {15, Event::TimerClock6},   {15, Event::Request1Hz},
    {15, Event::Watchdog},      {15, Event::PortB0Toggle},
};
static_assert(periphery::tapsInOrder(kTicks));

// 15 stages from 16384 Hz to 1 Hz; a restart (109 bit 2) zeroes the stages
// from the 8192 Hz one down (the layout's restartStages).
static_assert(simcore::lcd::TimeBase::kStages == 15);
constexpr int kEepromReadTicks = 24, kEepromWriteTicks = 520;
constexpr int kLevelHigh = 250, kLevelLow = 138;   // supply detector, hundredths of a volt

constexpr int kReqMelody = 1, kReqBlink = 2, kReqPrescaler = 4, kReq1Hz = 8;
constexpr int kReqCompare = 1, kReqEnd = 2, kReqEeprom = 4, kReqSerial = 8;

// Window redraw items and their parts.
enum Item : int {
  kItemPortA = 0, kItemPortB = 1, kItemSerial = 2, kItemMelody = 4, kItemPrescaler = 5,
  kItemTimer = 6, kItemGpo = 16, kItemLcd = 17,
};
// Every part of an item that has no named parts.
constexpr int kAllParts = 0xFF;
constexpr int kPortAButton = 1035, kPortBButton = 1081, kSerialButton = 1039;
namespace melodyPart {
constexpr int kTone = 1, kBuzzer = 2, kClock = 4, kAutoReload = 8, kCount = 16, kIrq = 32, kContinuous = 64,
              kAll = 127;
}
namespace prescalerPart = simcore::lcd::prescalerPart;
namespace timerPart = simcore::lcd::timerPart;

// The serial pins in modes 1 and 2.
constexpr int kPinIn = 0, kPinS = 1, kPinOut = 2, kPinClk = 3;

enum class Oscillator : int { Xtal = 0, Rc128 = 1, Rc512 = 2 };
constexpr const char* kClockLabels[5] = {"32 kHz", "64 kHz", "128 kHz", "256 kHz", "512 kHz"};

// The clock index of an oscillator choice and the clock select register.
constexpr int ClockIndex(Oscillator osc, int select) {
  switch (osc) {
    case Oscillator::Xtal: return 0;
    case Oscillator::Rc128: return (select & 0xE) ? 2 : (select & 1) ? 1 : 0;
    case Oscillator::Rc512:
      return (select & 8) ? 4 : (select & 4) ? 3 : (select & 2) ? 2 : (select & 1) ? 1 : 0;
  }
  return 0;
}

// The dialog "Curpos" of the family's window (window_template.cpp).
const platform::DialogTemplate& Qv4124Window();

template <class Self, const Qv4124Layout& L>
class Qv4124Model : public simcore::lcd::LcdChip<Self> {
  using Base = simcore::lcd::LcdChip<Self>;

 public:
  static constexpr const simcore::lcd::LcdModule& kModule = *L.module;
  static constexpr const char* kCaption = kModule.caption.data();

  static constexpr periphery::RegisterMap kRegisterMap = Qv4124RegisterMap(L);
  static constexpr simcore::RegisterSet kPeriphery = periphery::PeripheryRegisters(kRegisterMap);
  static constexpr periphery::RequestGroup kPortARequests{L.portA.requests, L.portA.enables};
  static constexpr periphery::RequestGroup kRequestsB{L.irq.timeRequests, L.irq.timeEnables};
  static constexpr periphery::RequestGroup kRequestsC{L.irq.unitRequests, L.irq.unitEnables};

  // ---- Framework hooks.
  // The timer is brought up to date first: registers 93-95 read its count,
  // and a write may change its clock or its next match.
  int32_t Periphery_Read(int32_t n) {
    catchUpTimer();
    return periphery::readRegister(Self::kRegisterMap, self(), cells(), n);
  }
  void Periphery_Write(int32_t n, int32_t v) {
    catchUpTimer();
    periphery::writeRegister(Self::kRegisterMap, self(), cells(), n, v);
  }
  // Before events (the window shows the timer's count) and at a run's end.
  void ShowDeferredState() { catchUpTimer(); }
  // Periphery steps: the pre-divider of the clock index, then base ticks
  // that fire the taps their carries reach.
  [[gnu::always_inline]] void Periphery_Tick() { advance(1); }
  [[gnu::always_inline]] bool Periphery_FourTicks() { return advance(4); }
  void Periphery_Reset() { self().reset(kPowerOn); }
  bool Periphery_TakeWatchdogReset() {
    if (!watchdogReset_) [[likely]]
      return false;
    watchdogReset_ = false;
    return true;
  }
  void Periphery_RunEnded() { postRedraw(kItemTimer, timerPart::kCount); }
  void SamplePorts();

  // ---- Register handlers (called by the register table).
  int onRead(int n);
  void onWrite(int n, int value, int old);

  // ---- The window's side (window.cpp and the model).
  void reset(ResetKind kind);
  // A pin button: port 0 A, 1 B, 2 serial. False for a driven pin.
  bool clickPin(int port, int pin);
  void setOscillator(Oscillator osc);
  void setSupply(int hundredths);
  // Item 17: the whole display to the library.
  void refreshLcd();
  // The EEPROM list, redrawn at every write of register 97.
  void drawEepromList();
  void drawRam2List();
  void drawClock();
  // What the timer box shows.
  simcore::lcd::TimerView timerView() const;

  static const platform::DialogTemplate& WindowTemplate() { return Qv4124Window(); }
  void Window_Init(platform::WindowHandle dialog);
  void Window_Redraw(int item, intptr_t parts);
  void Window_RedrawAll();
  bool Window_Command(int id);
  bool Window_Scroll(int barId, uint16_t code, int thumb);

  // ---- State the window and tests read.
  int reg(int n) const { return registers_ != nullptr ? periphery::Cells(registers_).value(n) : 0; }
  const periphery::Port& port(int n) const { return ports_[n]; }
  int clockIndex() const { return clockIndex_; }
  Oscillator oscillator() const { return oscillator_; }
  int supply() const { return supply_; }
  const periphery::Timer10& timer() const { return timer_; }
  const periphery::MelodyCounter& melody() const { return melody_; }
  const periphery::Eeprom<8>& eeprom() const { return eeprom_; }
  int lcdNibble(int i) const { return lcdMemory_.at(i); }
  int lcdState() const { return lcdState_; }
  // RAM 2 page p, register i: the window registers for the current page.
  int ram2(int page, int i) const;
  bool registerFileSet() const { return registers_ != nullptr; }

 protected:
  using Base::cpu_;
  using Base::latch_;
  using Base::lcd_;
  using Base::registers_;
  using Base::dialog;
  using Base::window_;
  using Base::postRedraw;
  using Base::resetCpu;
  using Base::word;

  Self& self() { return static_cast<Self&>(*this); }
  periphery::Cells cells() const { return periphery::Cells(registers_); }
  void raise(const periphery::RequestGroup& group, int bits) {
    periphery::Cells c = cells();
    group.raise(c, bits);
  }
  // True when a base tick fired (only then may the CPU have been reset).
  [[gnu::always_inline]] bool advance(uint32_t steps) {
    return timeBase_.advance(steps, [this](int carried) {
      periphery::fireTaps<kTicks>(carried, [this](auto e) { return self().onEvent(e); });
    });
  }
  inline bool onEvent(Event e);
  // The fastest tap in use; a chip of the family may hide it (the model
  // calls it through Self).
  void refreshActivity();

  void samplePortA();
  void takePortAEdge(int pin, bool rising);
  void checkResetCombination();
  void dropPortAEdges();
  void refreshArming();
  void refreshPortB();
  void togglePortB(int pin);
  void samplePortB();
  void sampleSerial();
  void refreshSerialPins();
  void serialStart();
  void serialClock();
  // A timer clock of a pin or of every step; most only count.
  [[gnu::always_inline]] void timerClock() {
    if (timer_.step()) [[unlikely]]
      timerMatched();
  }
  // The timer on a prescaler tap counts its clocks from the time base: the
  // taps' ticks are not handed out for it, only the tick of its next match
  // (the time base's deadline). catchUpTimer() applies the clocks of the
  // tap up to now, at that tick, at a tick of the tap that fires anyway, and
  // wherever the count is looked at or the timer changed.
  void catchUpTimer() {
    if (!timerTicks_.following()) [[likely]]
      return;
    const uint32_t clocks = timerTicks_.take(timeBase_);
    if (clocks != 0 && timer_.advance(static_cast<int>(clocks))) {
      timerMatched();
      setTimerDeadline();
    }
  }
  // The tick of the timer's next match, while it counts a tap.
  std::optional<uint32_t> timerDeadline() const {
    if (!timerTicks_.following()) return std::nullopt;
    return timerTicks_.tick(timeBase_, static_cast<uint32_t>(timer_.stepsToMatch()));
  }
  void setTimerDeadline() {
    if (const std::optional<uint32_t> at = timerDeadline())
      timeBase_.setDeadline(*at);
    else
      timeBase_.clearDeadline();
  }
  void timerMatched();
  void timerLoad();
  // The watchdog's count of a second: held at 0 while switched off.
  void watchdogSecond() {
    if (cells().bit(L.supply.watchdogOff.reg, L.supply.watchdogOff.mask))
      watchdog_.clear();
    else if (watchdog_.step())
      watchdogReset_ = true;
  }
  void melodyClock();
  void eepromDone();
  void supplyStart();
  void supplyResult();
  void lcdWrite(int bank, int nibble);
  void lcdMode(int value, int old);
  void pageWrite(int page, int old);

  // The write handlers of the family's blocks, one per block of its table.
  void writeLcd(int n, int v, int old);
  void writePortA(int n, int v, int old);
  void writePortB(int n, int v, int old);
  void writeSerial(int n, int v, int old);
  void writeMelody(int n, int v, int old);
  void writeTimer(int n, int v, int old);
  void writeClock(int n, int v, int old);
  void writeEeprom(int n, int v, int old);
  void writeIrq(int n, int v, int old);
  void writePower(int n, int v, int old);
  void writePrescaler(int n, int v, int old);
  void writeRam2(int n, int v, int old);
  void writeReset(int n, int v, int old);

  simcore::lcd::TimeBase timeBase_;
  periphery::Watchdog watchdog_{{L.power.watchdogSeconds}};
  periphery::Timer10 timer_;
  periphery::MelodyCounter melody_;
  periphery::Eeprom<8> eeprom_;
  periphery::SupplyDetector detector_;
  periphery::SerialShifter serial_;
  periphery::LcdMemory<2, 16> lcdMemory_;
  periphery::BankedRamWindow<L.ram2.window.reg, 4, 16, periphery::BankMoves::ValueBits> ram2_;
  periphery::Port ports_[3];  // A, B, serial

  int clockIndex_ = 0;
  Oscillator oscillator_ = Oscillator::Xtal;
  int supply_ = L.supply.maximum;
  bool watchdogReset_ = false;
  int debounced_ = 0;         // port A levels after debouncing
  int debounce_[4] = {};      // samples seen of a pending level change
  int latchB_ = 0;
  int pwmLevel_ = 0;
  bool serialRunning_ = false;
  int lcdState_ = 3;          // bit 0 multiplex 15, bit 1 display off
  int page_ = 0;              // the RAM 2 page in registers 64-67
  // The timer's tap while it runs on one (none while stopped, or clocked by
  // a pin or every step).
  simcore::lcd::TapTicks timerTicks_;
  // The taps in use, from the control registers (-1: none).
  struct Taps {
    int serial = -1, timer = -1, melody = -1, sampling = 0, toggles = 0;
    bool fast32Hz = false;
  } taps_;
};

template <class Self, const Qv4124Layout& L>
[[gnu::always_inline]] inline bool Qv4124Model<Self, L>::onEvent(Event e) {
  // The taps in use are kept by refreshActivity(): each case is one compare.
  const int serialTap = taps_.serial, timerTap = taps_.timer, melodyTap = taps_.melody,
            sampling = taps_.sampling;
  switch (e) {
    case Event::EepromBusy: if (eeprom_.tick()) eepromDone(); break;
    case Event::SerialClock3: if (serialTap == 3) serialClock(); break;
    case Event::SerialClock2: if (serialTap == 2) serialClock(); break;
    case Event::SerialClock1: if (serialTap == 1) serialClock(); break;
    case Event::PortB2Toggle: if (taps_.toggles & 4) togglePortB(2); break;
    case Event::PortB1Toggle: if (taps_.toggles & 2) togglePortB(1); break;
    case Event::PortB0Toggle: if (taps_.toggles & 1) togglePortB(0); break;
    case Event::TimerClock1: if (timerTap == 1) catchUpTimer(); break;
    case Event::TimerClock2: if (timerTap == 2) catchUpTimer(); break;
    case Event::TimerClock3: if (timerTap == 3) catchUpTimer(); break;
    case Event::TimerClock4: if (timerTap == 4) catchUpTimer(); break;
    case Event::TimerClock5: if (timerTap == 5) catchUpTimer(); break;
    case Event::TimerClock6: if (timerTap == 6) catchUpTimer(); break;
    case Event::PortASample8192: if (sampling == 9) samplePortA(); break;
    case Event::PortASample1024: if (sampling == 1) samplePortA(); break;
    case Event::PortASample128: if ((sampling & 1) == 0) samplePortA(); break;
    case Event::SupplyResult: if (detector_.pending()) supplyResult(); break;
    case Event::SupplyStart: if (cells().bit(L.supply.start.reg, L.supply.start.mask)) supplyStart(); break;
    case Event::MelodyClock0: if (melodyTap == 0) melodyClock(); break;
    case Event::MelodyClock1: if (melodyTap == 1) melodyClock(); break;
    case Event::MelodyClock2: if (melodyTap == 2) melodyClock(); break;
    case Event::MelodyClock3: if (melodyTap == 3) melodyClock(); break;
    case Event::Request32Hz: if (taps_.fast32Hz) raise(kRequestsB, kReqPrescaler); break;
    case Event::Request8Hz: if (!taps_.fast32Hz) raise(kRequestsB, kReqPrescaler); break;
    case Event::Blink: if (timeBase_.stageBits(13, 2) == 3) raise(kRequestsB, kReqBlink); break;
    case Event::Request1Hz: raise(kRequestsB, kReq1Hz); break;
    case Event::Watchdog: watchdogSecond(); break;
  }
  return true;
}

}  // namespace qv4124

#include "qv4124/model_bodies.h"
#include "qv4124/window_bodies.h"
