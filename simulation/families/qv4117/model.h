#pragma once
// The QV4117 family model (QV4117 and QV4118 here; QV4119 and QV4123 over it
// in 42190000), told as its differences from the QV4124 family model: one
// periphery step per instruction, 16384 a simulated second, each a base tick
// of the time base; three LCD banks, the third of 8 nibbles behind register
// 70; the millisecond counter at 96-100 in place of the clock select and the
// EEPROM; a supply detector whose level register 116 chooses; the watchdog at
// the third second; one kind of reset; and no oscillator choice, delay,
// status field, RAM 2 list, general-purpose outputs or port A debounce.
#include <simcore/lcd/lcd_boxes.h>

#include <string_view>

#include "periphery/lcd_memory.h"
#include "periphery/millisecond_counter.h"
#include "qv4124/model.h"

namespace qv4117 {

using qv4124::kNoTap;
using simcore::Field;
using namespace periphery::rules;
namespace millisecondPart = simcore::lcd::millisecondPart;

// Registers the QV4124 layout has no block for.
constexpr Field kLcdBank2{70};        // LCD addresses 0-7 of the page
constexpr Field kMsControl{96};       // 0 clear, 1 start/stop by opposite edges, 2 port control, 3 run
constexpr Field kMsStatus{97};        // 0 overflow, 1 every second, 2 the falling edge starts
constexpr Field kMsUnits{98};         // 98-100: units, tens, hundreds
constexpr Field kDetectorLevel{116, 7};  // bits 0-2 choose the level

// The supply detector's level by register 116, hundredths of a volt.
constexpr int kDetectorLevels[8] = {400, 295, 235, 195, 170, 145, 130, 120};
constexpr int kBank2Addresses = 8;
constexpr int kBank2First = 32;  // segment index of bank 2, address 0
constexpr int kItemMillisecond = 8;
constexpr int kReqMillisecond = 4;  // 106 bit 2, mask 103 bit 2

// The one reset: every register but 80, 110 and 111 (97 and 116: bits 0-2).
inline constexpr periphery::ResetRule<2> kReset[] = {
    {0, 79, {kZero, kZero}},
    {81, 96, {kZero, kZero}},
    {97, 97, {clearBits(7), clearBits(7)}},
    {98, 109, {kZero, kZero}},
    {112, 115, {kZero, kZero}},
    {116, 116, {clearBits(7), clearBits(7)}},
    {117, 127, {kZero, kZero}},
};

// The family's layout: QV4124's registers with this family's taps (carries
// of the base tick, one per instruction), watchdog, supply and reset.
constexpr qv4124::Qv4124Layout FamilyLayout(const simcore::lcd::LcdModule& module) {
  qv4124::Qv4124Layout l = qv4124::kQv4124;
  l.module = &module;
  // Clocks of every step run outside the chain (serial 2 and 3, timer 1).
  l.serial.taps = {kNoTap, 1, kNoTap, kNoTap};
  l.timer.taps = {kNoTap, kNoTap, 3, 5, 7, 11, 14, kNoTap};
  l.melody.taps = {13, 11, 9, 15};
  l.melody.clockTexts = {"2", "8", "32", "0.5"};
  l.portB.toggleTaps = {14, 5, 3};
  l.power.watchdogSeconds = 3;
  l.prescaler.fastTap = 9;
  l.prescaler.slowTap = 11;
  l.prescaler.blinkTap = 15;
  l.prescaler.secondTap = 14;
  l.prescaler.restartStages = 0x7FFFu;  // the 8192 Hz stage is the first
  l.supply.startTap = 5;
  l.supply.resultTap = 4;
  l.supply.maximum = 500;
  l.resetTable = kReset;
  return l;
}

// What differs between the chips of the family besides the layout.
struct Options {
  periphery::MillisecondClear clear;  // QV4118, QV4123: the overflow bit too
  int tenthParts;                     // the millisecond box's parts posted at a 0.1 s carry
};

// Base-tick events below the every-step ones, one line of the tap table each.
enum class Event : uint8_t {
  SerialClock1,                            // 8192 Hz
  TimerClock2, PortB2Toggle,               // 2048 Hz
  SupplyResult,                            // 1024 Hz
  SupplyStart, PortB1Toggle, TimerClock3,  // 512 Hz
  TimerClock4,                             // 128 Hz
  MelodyClock2, Request32Hz,               // 32 Hz
  TimerClock5, MelodyClock1, Request8Hz,   // 8 Hz
  MelodyClock0,                            // 2 Hz
  Blink, PortB0Toggle, TimerClock6, Request1Hz, Watchdog,  // 1 Hz
  MelodyClock3,                            // 0.5 Hz
};

constexpr periphery::Tap<Event> kTicks[] = {
    {1, Event::SerialClock1},
    {3, Event::TimerClock2},   {3, Event::PortB2Toggle},
    {4, Event::SupplyResult},
    {5, Event::SupplyStart},   {5, Event::PortB1Toggle}, {5, Event::TimerClock3},
    {7, Event::TimerClock4},
    {9, Event::MelodyClock2},  {9, Event::Request32Hz},
    {11, Event::TimerClock5},  {11, Event::MelodyClock1}, {11, Event::Request8Hz},
    {13, Event::MelodyClock0},
    {14, Event::Blink},        {14, Event::PortB0Toggle}, {14, Event::TimerClock6},
    {14, Event::Request1Hz},   {14, Event::Watchdog},
    {15, Event::MelodyClock3},
};
static_assert(periphery::tapsInOrder(kTicks));

// The family's window: QV4124's boxes without the oscillator, reset, delay,
// EEPROM, general-purpose output and RAM 2 boxes, plus the millisecond box.
std::vector<platform::ControlTemplate> Qv4117Controls();
const platform::DialogTemplate& Qv4117Window();

template <class Self, const qv4124::Qv4124Layout& L, const Options& O>
class Qv4117Model : public qv4124::Qv4124Model<Self, L> {
  using Model = qv4124::Qv4124Model<Self, L>;

 public:
  static constexpr periphery::RegisterSpec kOwnRegisters[] = {
      {kLcdBank2.reg, plain, handled},                      // ignored while 112 bit 3 is set
      {kMsControl.reg, bits(0xE), storedBits(0xE).then()},  // the clear bit is not stored
      {kMsStatus.reg, computed, storedBits(0xE).then()},    // a read clears the overflow
      {kMsUnits.reg, plain, stored.then()},
      {kMsUnits.reg + 1, plain, stored.then()},
      {kMsUnits.reg + 2, plain, stored.then()},
      {L.lcd.control.reg, plain, stored},                   // plain here
      {L.portA.conditionCopy.reg, plain, stored},           // plain here
      {L.supply.control.reg, plain, storedBits(7).then()},  // bit 3: the result
  };
  static constexpr periphery::RegisterMap kRegisterMap =
      periphery::withRegisters(qv4124::Qv4124RegisterMap(L), kOwnRegisters);
  static constexpr simcore::RegisterSet kPeriphery = periphery::PeripheryRegisters(kRegisterMap);

  Qv4117Model() { this->supply_ = L.supply.maximum; }

  // One periphery step: the every-step clocks, then one base tick.
  [[gnu::always_inline]] void Periphery_Tick() {
    if (everyStep_) stepEvery();
    advanceBase();
  }
  void SamplePorts() {
    if (this->registers_ == nullptr) return;
    samplePortA();
    this->samplePortB();
    this->sampleSerial();
  }

  // The one reset, of every cause: the family's, bank 2 and the counter.
  void reset(qv4124::ResetKind kind) {
    ms_.reset();
    bank2_.reset();
    Model::reset(kind);
    for (int i = 0; i < kBank2Addresses; ++i) this->lcd_.setSegment(kBank2First + i, 0);
  }

  void refreshActivity() {
    Model::refreshActivity();
    everyStep_ = ms_.active() || this->taps_.timer == 1 || this->taps_.serial >= 2;
  }

  int onRead(int n);
  void onWrite(int n, int value, int old);
  [[gnu::always_inline]] bool onEvent(Event e);

  static const platform::DialogTemplate& WindowTemplate() { return Qv4117Window(); }
  void Window_Init(platform::WindowHandle dialog);
  void Window_Redraw(int item, intptr_t parts);
  void Window_RedrawAll();
  bool Window_Command(int id);

 protected:
  using Model::cells;
  using Model::latch_;
  using Model::lcd_;
  using Model::postRedraw;
  using Model::reg;
  using Model::self;

  // The base tick of one step and the taps its carries reach.
  [[gnu::always_inline]] void advanceBase() {
    this->timeBase_.advance(2, [this](int carried) {
      periphery::fireTaps<kTicks>(carried, [this](auto e) { return this->self().onEvent(e()); });
    });
  }
  void stepEvery() {
    if (ms_.active() && ms_.step()) [[unlikely]]
      millisecondCounted();
    if (this->taps_.serial >= 2) this->serialClock();
    if (this->taps_.timer == 1) this->timerClock();
  }
  void millisecondCounted();
  void samplePortA();
  void supplyResult();
  void bankWrite(int bank, int nibble);
  void clickPin(int port, int pin);
  simcore::lcd::MillisecondView millisecondView() const;

  periphery::MillisecondCounter<periphery::MillisecondCounterConfig{kMsUnits.reg, kMsStatus.reg, O.clear,
                                                                    periphery::MillisecondStart::RunWithoutPortBits}>
      ms_;
  periphery::LcdMemory<1, kBank2Addresses> bank2_;
  bool everyStep_ = false;
};

template <class Self, const qv4124::Qv4124Layout& L, const Options& O>
[[gnu::always_inline]] inline bool Qv4117Model<Self, L, O>::onEvent(Event e) {
  auto& taps = this->taps_;
  switch (e) {
    case Event::SerialClock1: if (taps.serial == 1) this->serialClock(); break;
    case Event::TimerClock2: if (taps.timer == 2) this->catchUpTimer(); break;
    case Event::PortB2Toggle: if (taps.toggles & 4) this->togglePortB(2); break;
    case Event::SupplyResult: if (this->detector_.pending()) supplyResult(); break;
    case Event::SupplyStart:
      if (cells().bit(L.supply.start.reg, L.supply.start.mask)) {
        this->detector_.start(0);  // the level is taken at the result
        self().refreshActivity();
      }
      break;
    case Event::PortB1Toggle: if (taps.toggles & 2) this->togglePortB(1); break;
    case Event::TimerClock3: if (taps.timer == 3) this->catchUpTimer(); break;
    case Event::TimerClock4: if (taps.timer == 4) this->catchUpTimer(); break;
    case Event::MelodyClock2: if (taps.melody == 2) this->melodyClock(); break;
    case Event::Request32Hz: if (taps.fast32Hz) this->raise(Model::kRequestsB, qv4124::kReqPrescaler); break;
    case Event::TimerClock5: if (taps.timer == 5) this->catchUpTimer(); break;
    case Event::MelodyClock1: if (taps.melody == 1) this->melodyClock(); break;
    case Event::Request8Hz: if (!taps.fast32Hz) this->raise(Model::kRequestsB, qv4124::kReqPrescaler); break;
    case Event::MelodyClock0: if (taps.melody == 0) this->melodyClock(); break;
    // Every other second: the tap at which the following stage wraps.
    case Event::Blink:
      if (this->timeBase_.stageBits(14, 1) == 0) this->raise(Model::kRequestsB, qv4124::kReqBlink);
      break;
    case Event::PortB0Toggle: if (taps.toggles & 1) this->togglePortB(0); break;
    case Event::TimerClock6: if (taps.timer == 6) this->catchUpTimer(); break;
    case Event::Request1Hz: this->raise(Model::kRequestsB, qv4124::kReq1Hz); break;
    case Event::Watchdog: this->watchdogSecond(); break;
    case Event::MelodyClock3: if (taps.melody == 3) this->melodyClock(); break;
  }
  return true;
}

}  // namespace qv4117

#include "qv4117/model_bodies.h"
