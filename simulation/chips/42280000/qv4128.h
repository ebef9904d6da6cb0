#pragma once
// Chip QV4128: the framework's hooks over its periphery blocks. Five ports
// (1 and 2 inputs, 3 to 5 bidirectional), a pulse counter with direction
// detector on port 1, a 15-stage prescaler, two 4-bit timers, a watchdog, a
// melody divider, a serial interface on port 5, a second bank of RAM 0-63 and
// a reset by pin combination. 16384 ticks are one second of chip time.
#include <simcore/periphery_window.h>
#include <simcore/simcore.h>

#include <cstdint>

#include "periphery/cells.h"
#include "periphery/down_timer4.h"
#include "periphery/melody.h"
#include "periphery/port.h"
#include "periphery/prescaler.h"
#include "periphery/ram_bank.h"
#include "periphery/requests.h"
#include "periphery/round_countdown.h"
#include "periphery/serial_shifter.h"
#include "periphery/watchdog.h"
#include "periphery/write_routes.h"
#include "layout.h"

namespace qv4128 {

// The tick events, one per line of the chip's event table.
enum class Event : uint8_t {
  SerialTap4, SignalTap4,                      // 16384 Hz
  SerialTap8, SignalTap8,                      // 8192 Hz
  Timer1Input3,                                // 4096 Hz
  SerialTap12, SignalTap12, Timer1Input2,      // 2048 Hz
  Timer1Input1,                                // 1024 Hz
  SignalTap0, Timer1Input0,                    // 512 Hz
  Timer2Input3,                                // 256 Hz
  Timer1SyncLoad, Prescaler64Hz, Timer2Input2, // 64 Hz
  Prescaler32Hz,                               // 32 Hz
  Timer2Input1,                                // 16 Hz
  Timer2Input0,                                // 4 Hz
  OneHzInterrupt, WatchdogStep,                // 1 Hz
};

// Every 2^carries ticks, in the order they happen within one tick.
constexpr periphery::Tap<Event> kTicks[] = {
    {0, Event::SerialTap4},     {0, Event::SignalTap4},
    {1, Event::SerialTap8},     {1, Event::SignalTap8},
    {2, Event::Timer1Input3},
    {3, Event::SerialTap12},    {3, Event::SignalTap12},   {3, Event::Timer1Input2},
    {4, Event::Timer1Input1},
    {5, Event::SignalTap0},     {5, Event::Timer1Input0},
    {6, Event::Timer2Input3},
    {8, Event::Timer1SyncLoad}, {8, Event::Prescaler64Hz}, {8, Event::Timer2Input2},
    {9, Event::Prescaler32Hz},
    {10, Event::Timer2Input1},
    {12, Event::Timer2Input0},
    {14, Event::OneHzInterrupt}, {14, Event::WatchdogStep},
};
static_assert(periphery::tapsInOrder(kTicks));
// Every 2^7 ticks, after the chain: the readout (85) follows stages 7 and up.
constexpr int kReadoutCarries = 7;

// 15 one-bit stages; stage 14 starts at 1; a restart clears stages 9-13 and
// sets stage 14.
constexpr periphery::PrescalerConfig kPrescaler{15, 1u << 14, 0x1Fu << 9, 1u << 14};
constexpr periphery::WatchdogConfig kWatchdog{4};  // resets at the 4th step after a clear
constexpr double kMelodyBaseHz = 65536.0;

constexpr periphery::RequestGroup kTimerRequests{L.irq.requests1, L.irq.enables1};
constexpr periphery::RequestGroup kPinRequests{L.irq.requests2, L.irq.enables2};
constexpr periphery::RequestGroup kSerialRequests{L.irq.requests3, L.irq.enables3};
// No interrupt while register 64 bit 1 is set.
constexpr periphery::InterruptCondition kInterrupts{
    L.system.masked, true, {{L.irq.requests1, L.irq.requests2, L.irq.requests3, {0, 0}}}};

// Request bits.
constexpr int kReq1Hz = 1, kReqPrescaler = 2, kReqTimer1 = 4, kReqTimer2 = 8;
constexpr int kReqPin2 = 1, kReqPin3 = 2, kReqPulse = 4, kReqDirection = 8;
constexpr int kReqSerial = 1, kReqPort2 = 2;

// Window redraw items and their lParam masks.
enum Item : int {
  kItemPort1 = 0, kItemPort2 = 1, kItemPort3 = 2, kItemPort4 = 3, kItemPort5 = 4,
  kItemPrescaler = 8, kItemWatchdog = 9, kItemTimer1 = 10, kItemTimer2 = 11,
  kItemMelody = 15, kItemSound = 16,
};
constexpr int kFirstPinButton[5] = {1035, 1045, 1055, 1065, 1075};
namespace timer1 {
constexpr int kRunning = 1, kEnable = 2, kZeroStop = 4, kSync = 8, kAutoReload = 16, kInput = 32,
              kStart = 64, kAll = 127;
}
namespace timer2 {
constexpr int kRunning = 1, kEnable = 2, kZeroStop = 4, kAutoReload = 8, kInput = 16, kStart = 32,
              kAll = 63;
}
namespace prescalerItem {
constexpr int k1Hz = 1, kIrq = 2, kAll = 3;
}
namespace melodyItem {
constexpr int kEnabled = 1, kFrequency = 2, kEnvelope = 4, kImage = 8, kAll = 15;
}

// Port 5 pins with the serial function.
constexpr int kPinIn = 0, kPinRdy = 1, kPinOut = 2, kPinClk = 3;

// The pin buttons of the five ports: LED places at button + 4, interrupt
// markers (ports 1 and 2, shown with an enabled request) at button + 100.
constexpr int kLedOffset = 4, kMarkerOffset = 100;
constexpr simcore::MarkerPictures kRequestMarkers = {platform::Picture::MarkerNone, platform::Picture::MarkerRising,
                                                     platform::Picture::MarkerRising, platform::Picture::MarkerRising};
constexpr simcore::PinGroup kPinGroups[5] = {
    {kItemPort1, kFirstPinButton[0], kFirstPinButton[0] + kLedOffset, kFirstPinButton[0] + kMarkerOffset, 4, kRequestMarkers},
    {kItemPort2, kFirstPinButton[1], kFirstPinButton[1] + kLedOffset, kFirstPinButton[1] + kMarkerOffset, 4, kRequestMarkers},
    {kItemPort3, kFirstPinButton[2], kFirstPinButton[2] + kLedOffset},
    {kItemPort4, kFirstPinButton[3], kFirstPinButton[3] + kLedOffset},
    {kItemPort5, kFirstPinButton[4], kFirstPinButton[4] + kLedOffset},
};

class Chip : public simcore::PeripheryChip<Chip> {
 public:
  static constexpr const char* kCaption = "QV4128 Periphery";
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
  void Periphery_Tick() {
    const int carried = prescaler_.step();
    if (carried != periphery::kNothingDue) [[unlikely]] tickEvents(carried);
  }
  inline int32_t RunLoop(int32_t mode);
  void Periphery_Reset();
  void SamplePorts();
  bool InterruptRequested() const {
    return periphery::interruptPending<kInterrupts>(periphery::Cells(registers_));
  }

  // ---- Register handlers (called by the register table): the write of
  // every register reaches the handler of its block.
  int onRead(int n);
  void onWrite(int n, int value, int old);

  // ---- Window (window.cpp).
  static const platform::DialogTemplate& WindowTemplate();
  void Window_Init(platform::WindowHandle dialog);
  void Window_Redraw(int item, intptr_t parts) { draw(dialog(), item, parts); }
  void Window_RedrawAll() { drawAll(dialog()); }
  bool Window_Command(int id);
  bool Window_Scroll(int barId, uint16_t code, int thumb);

 private:
  periphery::Cells cells() const { return periphery::Cells(registers_); }
  bool serialFunction() const { return latch_.test(L.serial.function); }
  bool prescaler32Hz() const { return latch_.test(L.system.fast32Hz); }
  void samplePort(int port);
  void draw(platform::WindowHandle d, int item, intptr_t parts);
  void drawAll(platform::WindowHandle d);
  [[gnu::always_inline]] inline bool onEvent(Event e);
  // Whether event e has work in the current configuration; the ticks below
  // the first tap in use are skipped by the prescaler.
  bool tapInUse(Event e) const;
  void tickEvents(int carried);
  void postAll();
  void chipReset();

  // The write handlers of the blocks, one per block of the register table.
  void writeSystem(int n, int v, int old);
  void writePrescaler(int n, int v, int old);
  void writePorts(int n, int v, int old);
  void writeTimer1(int n, int v, int old);
  void writeTimer2(int n, int v, int old);
  void writePulse(int n, int v, int old);
  void writeMelody(int n, int v, int old);
  void writeIrq(int n, int v, int old);
  void writeSerial(int n, int v, int old);
  void writeRam(int n, int v, int old);

  // The output pins of port 3 (p 2) or port 4 (p 3): pins 0-2 by one
  // direction bit, pin 3 by another.
  int outputsOf(int p) const {
    return (latch_.test(p == 2 ? L.ports.port3Low : L.ports.port4Low) ? 0x7 : 0) |
           (latch_.test(p == 2 ? L.ports.p33 : L.ports.p43) ? 0x8 : 0);
  }

  void timerStep(periphery::DownTimer4& timer, int input, int request, int item);
  void refreshReadout();
  void refreshOutputs();
  void refreshPort5();
  void refreshMarkers();
  void toggleSignal();
  void serialClock();
  void serialDone();
  void updateTaps();

  void samplePort1();
  void samplePort2();
  void samplePorts34();
  void samplePort5();

  periphery::BinaryPrescaler prescaler_{kPrescaler};
  // The rounds to the next one whose prescaler tick has a tap due (or the
  // readout to refresh); the chain takes the rounds before it at once.
  periphery::RoundCountdown countdown_;
  [[gnu::always_inline]] void showState() {
    prescaler_.advance(countdown_.takeCounted());
    countdown_.dueNext();
  }
  periphery::Watchdog watchdog_{kWatchdog};
  periphery::DownTimer4 timer1_;
  periphery::DownTimer4 timer2_;
  bool timer1Sync_ = false;
  periphery::Port ports_[5];
  int outputLatches_[5] = {};  // output latches of ports 3-5 (index 2..4)
  int direction_ = 0;
  periphery::SerialShifter serial_;
  periphery::MelodyDivider melody_{kMelodyBaseHz};
  periphery::HiddenRamBank<0, 64> bank_;
  int signalLevel_ = 0;
  // Tick taps of the serial clock and the signal: 0, 4, 8 or 12 when
  // active, -1 when off. updateTaps() sets them and the prescaler's due
  // level (also after a timer input changes).
  int serialTap_ = -1;
  int signalTap_ = -1;

  // Register 115 as the serial interface last took it (the start bit
  // cleared when a transfer ends): its handler starts a transfer on a new
  // start bit, and the latch already holds the new value then.
  int serialControl_ = 0;
  // Window controls with no effect on the run.
  int speed_ = 0;
  bool sound_ = false;
};

inline bool Chip::onEvent(Event e) {
  switch (e) {
    case Event::SerialTap4: if (serialTap_ == 4) serialClock(); break;
    case Event::SignalTap4: if (signalTap_ == 4) toggleSignal(); break;
    case Event::SerialTap8: if (serialTap_ == 8) serialClock(); break;
    case Event::SignalTap8: if (signalTap_ == 8) toggleSignal(); break;
    case Event::SerialTap12: if (serialTap_ == 12) serialClock(); break;
    case Event::SignalTap12: if (signalTap_ == 12) toggleSignal(); break;
    case Event::SignalTap0: if (signalTap_ == 0) toggleSignal(); break;
    case Event::Timer1Input3: timerStep(timer1_, 3, kReqTimer1, kItemTimer1); break;
    case Event::Timer1Input2: timerStep(timer1_, 2, kReqTimer1, kItemTimer1); break;
    case Event::Timer1Input1: timerStep(timer1_, 1, kReqTimer1, kItemTimer1); break;
    case Event::Timer1Input0: timerStep(timer1_, 0, kReqTimer1, kItemTimer1); break;
    case Event::Timer2Input3: timerStep(timer2_, 3, kReqTimer2, kItemTimer2); break;
    case Event::Timer2Input2: timerStep(timer2_, 2, kReqTimer2, kItemTimer2); break;
    case Event::Timer2Input1: timerStep(timer2_, 1, kReqTimer2, kItemTimer2); break;
    case Event::Timer2Input0: timerStep(timer2_, 0, kReqTimer2, kItemTimer2); break;
    case Event::Timer1SyncLoad:
      if (timer1_.loadIfPending()) {
        updateTaps();
        postRedraw(kItemTimer1, timer1::kRunning);
        refreshOutputs();
      }
      break;
    case Event::Prescaler64Hz:
      if (!latch_.test(L.system.fast32Hz)) {
        periphery::Cells c = cells();
        kTimerRequests.raise(c, kReqPrescaler);
      }
      break;
    case Event::Prescaler32Hz:
      if (latch_.test(L.system.fast32Hz)) {
        periphery::Cells c = cells();
        kTimerRequests.raise(c, kReqPrescaler);
      }
      break;
    case Event::OneHzInterrupt: {
      periphery::Cells c = cells();
      kTimerRequests.raise(c, kReq1Hz);
      break;
    }
    case Event::WatchdogStep:
      if (watchdog_.step()) {
        chipReset();
        return false;  // a reset ends the tick
      }
      break;
  }
  return true;
}

// The default round, with the tick only in a due round (the countdown,
// armed anew at the start): the rounds before it step the chain at once.
inline int32_t Chip::RunLoop(int32_t mode) {
  runCountedRounds(
      mode, countdown_, [this](int32_t& pc) TAVIX_INLINE_ROUND { return pump(pc); },
      [this](uint32_t before, int32_t& pc) TAVIX_INLINE_ROUND {
        prescaler_.advance(before);
        Periphery_Tick();
        reloadPcAfterReset(pc);
        countdown_.arm(prescaler_.ticksToDue());
        return Pass::Rest;
      },
      [this, mode](int32_t& pc) TAVIX_INLINE_ROUND { return enterAndStep(mode, pc); });
  return endRun();
}

}  // namespace qv4128
