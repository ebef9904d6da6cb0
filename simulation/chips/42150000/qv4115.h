#pragma once
// Chip QV4115: the framework's hooks over its periphery blocks. Three ports
// (A inputs with edge interrupts, timer clock pins and a reset combination;
// B per-pin outputs with clock outputs and PWM on PB3; C all in or all out),
// a 14-stage prescaler with a 1 Hz watchdog, a 10-bit timer with compare and
// PWM, a two-channel 8-bit ADC, a supply level detector, a 32-byte EEPROM,
// the serial write buffer (SWB) and a RAM window of 16 banks. 16384 ticks
// are one second of chip time; the chip has its own run loop.
#include <simcore/periphery_window.h>
#include <simcore/simcore.h>

#include <cstdint>

#include "periphery/adc8.h"
#include "periphery/banked_ram_window.h"
#include "periphery/cells.h"
#include "periphery/eeprom.h"
#include "periphery/pin_rules.h"
#include "periphery/port.h"
#include "periphery/prescaler.h"
#include "periphery/requests.h"
#include "periphery/supply_detector.h"
#include "periphery/timer10.h"
#include "periphery/watchdog.h"
#include "periphery/write_buffer.h"
#include "registers.h"

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

// A reset keeps the counts of the stages that give 64 Hz, 16 Hz and 4 Hz
// (counter bits 7, 9 and 11) and clears the others.
constexpr uint32_t kKeptStages = (1u << 7) | (1u << 9) | (1u << 11);
constexpr periphery::PrescalerConfig kPrescaler{14, 0, 0x3FFFu & ~kKeptStages, 0};
constexpr periphery::WatchdogConfig kWatchdog{3};  // the third 1 Hz step without a clear
constexpr int kEepromWriteTicks = 512, kEepromReadTicks = 1;
constexpr int kAdcTicks = 10;
constexpr periphery::WriteBufferConfig kSwb{kSwbData, 6};
constexpr int kDetectorLevels[4] = {380, 300, 220, 220};

constexpr periphery::RequestGroup kRequestsA{kRequests105, kMasks105};
constexpr periphery::RequestGroup kRequestsB{kRequests106, kMasks106};
constexpr periphery::InterruptCondition kInterrupts{
    kInterruptControl, 0x8, false, {kPortARequests, kRequests105, kRequests106, -1}};

// Request bits.
constexpr int kReqAdc = 1, kReqEeprom = 2, kReqPrescaler = 4, kReq1Hz = 8;
constexpr int kReqCompare = 1, kReqEnd = 2, kReqDetector = 4;

// Window redraw items and their lParam parts.
enum Item : int {
  kItemPortA = 0, kItemPortB = 1, kItemPortC = 2, kItemSwb = 3, kItemSupply = 4,
  kItemPrescaler = 5, kItemTimer = 6, kItemAdc = 7, kItemEepromBox = 8,
  kItemEepromList = 9,  // the byte list, rewritten after an EEPROM write
};
constexpr int kFirstPinButton[3] = {1035, 1081, 1097};
namespace swbItem {
constexpr int kClock = 1, kData = 2, kText = 4, kClockText = 8, kMode = 16;
}
namespace prescalerItem {
constexpr int kRateText = 1, kLeds = 2;
}
namespace timerItem {
constexpr int kEnabled = 1, kEndIrq = 2, kCompareIrq = 4, kPwm = 8, kCompareEnable = 16,
              kSource = 32, kStep = 64, kCompareValue = 128, kWidth = 256, kCounter = 512;
}

class Chip : public simcore::PeripheryChip<Chip> {
 public:
  static constexpr const char* kCaption = "QV4115 Periphery";
  static constexpr simcore::RegisterSet kPeriphery = periphery::PeripheryRegisters(kRegisterMap);

  // ---- Framework hooks.
  int32_t Periphery_Read(int32_t n) {
    return periphery::readRegister(kRegisterMap, *this, cells(), n);
  }
  void Periphery_Write(int32_t n, int32_t v) {
    periphery::writeRegister(kRegisterMap, *this, cells(), n, v);
  }
  inline void Periphery_Tick();
  void Periphery_Reset();
  void SamplePorts() {
    SamplePortA();
    SamplePortB();
    SamplePortC();
  }
  bool InterruptRequested() const { return kInterrupts.pending(periphery::Cells(registers_)); }
  inline int32_t RunLoop(int32_t mode);

  // ---- Register handlers (called by the register table).
  int onRead(int n);
  void onWrite(int n, int value, int old);

  // ---- The chip's own operations.
  void SamplePortA();
  void SamplePortB();
  void SamplePortC();
  // One count of the timer when it runs from `source`.
  inline void Timer_Step(int source);
  // One half period of the SWB clock when it is started on `selection`;
  // false ("hold") on a falling clock edge.
  inline bool SwbStep(int selection);

  // ---- Window (window.cpp, window_template.cpp): drawn from the model's
  // state, never through the register file.
  static const platform::DialogTemplate& WindowTemplate();
  void Window_Init(platform::WindowHandle dialog);
  void Window_Redraw(int item, intptr_t parts);
  void Window_RedrawAll();
  bool Window_Command(int id);
  bool Window_Scroll(int barId, uint16_t code, int thumb);
  // Tests: every redraw request, in post order, before coalescing.
  using RedrawRecorder = void (*)(int32_t item, intptr_t parts);
  void setRedrawRecorder(RedrawRecorder r) { recorder_ = r; }

  // ---- State the window shows (never read through the register file).
  const periphery::Port& port(int n) const { return ports_[n]; }
  const periphery::Timer10& timer() const { return timer_; }
  const periphery::SerialWriteBuffer& swb() const { return swb_; }
  const periphery::Eeprom<32>& eeprom() const { return eeprom_; }
  int supply() const { return supply_; }
  const periphery::Adc8& adc() const { return adc_; }
  bool fullCompare() const { return shadow_.interruptControl & 2; }
  bool pwmEnabled() const { return shadow_.prescalerPwm & 8; }
  bool prescaler32Hz() const { return shadow_.prescalerPwm & 2; }
  int masks105() const { return shadow_.masks105; }
  int masks106() const { return shadow_.masks106; }
  int swbClockSelection() const { return swbClockCopy_; }
  bool swbAutomatic() const { return swbAutomatic_; }
  int timerSource() const { return timerSource_; }

 private:
  periphery::Cells cells() const { return periphery::Cells(registers_); }
  inline bool onEvent(Event e);
  // A redraw request to the window (nothing without a dialog).
  void post(int item, intptr_t parts) {
    if (recorder_ != nullptr) [[unlikely]] recorder_(item, parts);
    postRedraw(item, parts);
  }
  void drawSwb(intptr_t parts);
  void drawTimer(intptr_t parts);
  // PB0-PB2 carry a clock output when they are outputs and their bit of
  // register 123 (1, 2, 3) is set.
  bool clockOutputOn(int pin) const {
    return ((shadow_.clockOutputs >> (pin + 1)) & (shadow_.directionB >> pin) & 1) != 0;
  }
  void toggleClockPin(int pin);
  void pwmChanged();
  void writeTimerRun(int value);
  void timerMatched(periphery::Timer10::Match s);
  // Cells 95-97 show the counter (bits 0-3, 4-7, 8-9). Only the nibbles
  // that differ from the count they were last given are written; -1: all.
  void showCounter(periphery::Cells& c, int value) {
    const int changed = shownCounter_ < 0 ? 0x3FF : value ^ shownCounter_;
    if (changed & 0x00F) c.set(kTimerLow, value & 15);
    if (changed & 0x0F0) c.set(kTimerMiddle, (value >> 4) & 15);
    if (changed & 0x300) c.setMasked(kTimerHigh, 3, value >> 8);
    shownCounter_ = value;
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

  periphery::BinaryPrescaler prescaler_{kPrescaler};
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
  // The selection the SWB clock runs on (register 85 while register 88 bit 2
  // is set), -1 while it is stopped.
  int swbRunning_ = -1;
  void updateSwbRunning(periphery::Cells& c) {
    swbRunning_ = c.bit(kSwbControl, 4) ? (c.value(kSwbClock) & 3) : -1;
  }
  int swbClockCopy_ = 0;
  periphery::BankedRamWindow<kRamWindow, 4, 16, periphery::BankMoves::ValueWord> banks_;
  periphery::Port ports_[3];
  int latchB_ = 0, latchC_ = 0;

  // Copies of control registers that the tick and the window need; the
  // window draws after a run, when there is no register file.
  struct Shadow {
    int directionB = 0, directionC = 0, clockOutputs = 0, prescalerPwm = 0, interruptControl = 0,
        masks105 = 0, masks106 = 0, enablesA = 0, edgesA = 0;
  } shadow_;

  RedrawRecorder recorder_ = nullptr;
};

// ---- Hot paths: the tick, the timer step, the SWB step, the run loop.

inline bool Chip::SwbStep(int selection) {
  if (selection != swbRunning_) [[likely]] return true;
  periphery::Cells c = cells();
  const periphery::SerialWriteBuffer::Half h = swb_.halfStep(c.value(kSwbData));
  swbHalfDone(h);
  return !h.hold;
}

inline void Chip::Timer_Step(int source) {
  if (!timer_.running() || source != timerSource_) return;
  if (timer_.step()) [[unlikely]] {  // end or compare on the width's bits (a full compare too)
    timerMatched(timer_.match());
    return;
  }
  periphery::Cells c = cells();
  showCounter(c, timer_.count());
  post(kItemTimer, timerItem::kCounter);
}

inline bool Chip::onEvent(Event e) {
  switch (e) {
    case Event::Swb2: SwbStep(2); break;
    case Event::Timer1: Timer_Step(1); break;
    case Event::ClockPB1: if (clockOutputOn(1)) toggleClockPin(1); break;
    case Event::Swb1: SwbStep(1); break;
    case Event::DetectorEvaluate: if (detector_.pending()) detectorDone(); break;
    case Event::Swb0: SwbStep(0); break;
    case Event::Timer2: Timer_Step(2); break;
    case Event::ClockPB0: if (clockOutputOn(0)) toggleClockPin(0); break;
    case Event::DetectorStart:
      if (cells().bit(kLevelDetector, 4)) detector_.start(detectorLevel_);
      break;
    case Event::ClockPB2: if (clockOutputOn(2)) toggleClockPin(2); break;
    case Event::Timer3: Timer_Step(3); break;
    case Event::Timer4: Timer_Step(4); break;
    case Event::Prescaler32Hz:
      if (shadow_.prescalerPwm & 2) {
        periphery::Cells c = cells();
        kRequestsA.raise(c, kReqPrescaler);
      }
      break;
    case Event::Prescaler8Hz:
      if (!(shadow_.prescalerPwm & 2)) {
        periphery::Cells c = cells();
        kRequestsA.raise(c, kReqPrescaler);
      }
      break;
    case Event::Timer5: Timer_Step(5); break;
    case Event::Timer6: Timer_Step(6); break;
    case Event::OneHzInterrupt: {
      periphery::Cells c = cells();
      kRequestsA.raise(c, kReq1Hz);
      break;
    }
    case Event::WatchdogStep: {
      periphery::Cells c = cells();
      if (c.value(kWatchdogHold) & 3)
        watchdog_.clear();
      else if (watchdog_.step())
        watchdogRequest_ = true;
      break;
    }
  }
  return true;
}

inline void Chip::Periphery_Tick() {
  if (eeprom_.tick()) [[unlikely]] eepromDone();
  if (adc_.tick()) [[unlikely]] adcDone();
  periphery::fireTaps<kTicks>(prescaler_.step(), [this](auto e) { return onEvent(e); });
}

// The chip's run loop: every pending message each pass; the SWB on the
// instruction clock first, whose falling edge holds the pass; the tick and
// the watchdog reset; the interrupt entry; then the instruction, or, while
// halted, the automatic SWB. Every pass ends with the stop-flag test.
// The program counter is held in a local; only events (and the stack check
// after them) and a CPU reset move it outside the interpreter.
inline int32_t Chip::RunLoop(int32_t mode) {
  if (beginRun(mode)) {
    int32_t pc = loadPc();
    for (;;) {
      if (!pumpAll(pc)) [[unlikely]]
        return endRun();
      if (SwbStep(3)) [[likely]] {
        Periphery_Tick();
        if (watchdogRequest_) [[unlikely]] Periphery_Reset();
        reloadPcAfterReset(pc);
        if (!enterInterrupt(mode, pc)) [[unlikely]]
          break;
        if (!halted()) [[likely]] {
          stepInstruction(pc);
          if (halted()) [[unlikely]] {
            cells().setBits(kInterruptControl, 8);
            shadow_.interruptControl |= 8;
            if (swb_.ready()) word(k42::kHalted) = 0;
          }
        } else if (cells().bit(kSwbControl, 8)) {
          if (swb_.ready())
            word(k42::kHalted) = 0;
          else
            automaticSwbStep();
        }
      }
      if (stopped()) [[unlikely]]
        break;
    }
    storePc(pc);
  }
  return endRun();
}

}  // namespace qv4115
