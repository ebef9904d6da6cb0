#pragma once
// Chip QV4131 (module 42310000): the QV4115 family without the converter and
// the RAM banks, at its own register numbers, on a 300 kHz time base (one
// tick per pass through 19 halving stages). Its own: a sleep mode with a
// wake-up timer; a write buffer that raises its own interrupt request, can
// drive PC0/PC1 (external mode), suppresses clock pulses of the last nibble
// ("ClkSup") and keeps a sent text of limited length; a direction per port C
// pin; a system clock adjustment display.
#include "qv4115/model.h"

namespace qv4131 {

using simcore::Field;

// QV4115's blocks at QV4131's numbers. The chip has no converter and no RAM
// banks: those units are not present (112 and 117-119 are plain storage).
inline constexpr qv4115::Qv4115Layout kQv4131{
    .ram = {.present = false, .window = qv4115::kAbsent, .bank = qv4115::kAbsent},
    .portA = {.levels = {84}, .enables = {98}, .edges = {116}, .requests = {101}},
    .portB = {.direction = {85}, .data = {86}, .clockOutputs = {124, 7}},
    .portC = {.direction = {87}, .output = {87, 1}, .data = {88}},
    .swb = {.clock = {89}, .clockSelect = {89, 3}, .data = {90}, .sizeLow = {91}, .control = {92},
            .sizeHigh = {92, 3}, .start = {92, 4}, .automatic = {92, 8},
            .style = {.manual = periphery::ManualSequence::AppendAtEnd,
                      .automaticEnd = periphery::AutomaticEnd::CountAtSize,
                      .textLimit = periphery::TextLimit::RestartThenOverflow}},
    // Busy: bit 2 while writing, bit 3 while reading.
    .eeprom = {.control = {83}, .addressHigh = {83, 1}, .write = {83, 2}, .busy = {83, 0xC},
               .address = {82}, .dataLow = {80}, .dataHigh = {81}},
    .timer = {.control = {93}, .source = {93, 7}, .countUp = {93, 8},
              .run = {94}, .load = {94, 1}, .compareEnable = {94, 2}, .running = {94, 8},
              .low = {95}, .middle = {96}, .high = {97}, .highBits = {97, 3}, .width = {97, 0xC},
              .fullCompare = {104, 2}},
    .adc = {.present = false, .control = qv4115::kAbsent, .channel = qv4115::kAbsent,
            .single = qv4115::kAbsent, .start = qv4115::kAbsent,
            .low = qv4115::kAbsent, .high = qv4115::kAbsent},
    .irq = {.systemEnables = {99}, .timerEnables = {100}, .systemRequests = {102},
            .timerRequests = {103}, .control = {104}, .interruptEnable = {104, 8}},
    .watchdog = {.clear = {105, 8}, .hold = {106, 1}},
    // The chain restarts at 1: every stage bit set, so the tick after a
    // reset or a restart carries through every stage.
    .prescaler = {.control = {107}, .fast32Hz = {107, 0}, .pwm = {107, 8},
                  .chain = {19, 0x7FFFF, 0, 0x7FFFF}},
    .detector = {.control = {108}, .level = {108, 3}, .start = {108, 4}, .stored = {108, 7},
                 .result = {108, 0xE}, .low = {108, 8}},
    .reset = {.select = {125}, .polarity = {126}},
    .texts = {.swbClocks = {"9375Hz", "2344Hz", "75000Hz", "150000Hz"},
              .timerSources = {"PA0", "300KHz", "37.5KHz", "4688Hz", "586Hz", "9.2Hz", "1.1Hz",
                               "PA3"}},
};

// Registers and bits of QV4131's own units.
constexpr Field kSleep{104, 4};             // asleep while both are set
constexpr Field kSleepToo{105, 4};
constexpr Field kPrescalerRestart{107, 4};  // not stored
constexpr Field kDetectorLow{108, 1};       // level 2.20 V, else 2.50 V
constexpr Field kSwbExternal{89, 8};        // PC0 clock, PC1 data
constexpr Field kSwbSupplement{109};        // 0-1 "ClkSup", 2-3 external divider
constexpr Field kClkSup{109, 3};
constexpr Field kDivider{109, 0xC};
constexpr Field kWakeUp{114};               // 0-2 count in 48000 passes, 3 enable
constexpr Field kWakeUpCount{114, 7};
constexpr Field kWakeUpEnable{114, 8};
constexpr Field kClockAdjustLow{122};       // 0: no reset combination, 1: any pin resets
constexpr Field kClockAdjustHigh{123};
constexpr Field kCombinationOff{122, 1};
constexpr Field kCombinationAnyPin{122, 2};

constexpr int kWakeUpPasses = 48000;
constexpr int kEepromWriteTicks = 12120, kEepromReadTicks = 12;
constexpr int kDetectorLevelHigh = 250, kDetectorLevelLow = 220;
constexpr int kClockAdjustAfterReset = 0x20;  // text "100000"

// Request bits of the prescaler group (register 102).
constexpr int kReqEepromWrite = 1, kReq4688Hz = 2, kReq293Hz = 4, kReq057Hz = 8;

// Redraw parts QV4131 adds to the SWB box, and its box 8.
namespace swbItem {
constexpr int kSize = 32, kClkSup = 64;
}
constexpr int kItemClockAdjust = qv4115::kItemEepromBox;

// The tick events, one per action of the stage table.
enum class Event : uint8_t {
  ClockPB0, Swb3, Timer1,          // 300 kHz
  Swb2,                            // 150 kHz
  ClockPB1, Timer2,                // 37.5 kHz
  Swb0,                            // 18.75 kHz
  Prescaler4688Hz, Swb1, Timer3,   // 4688 Hz
  ClockPB2,                        // 2344 Hz
  DetectorEvaluate, Timer4,        // 586 Hz
  Prescaler293Hz,                  // 293 Hz
  DetectorStart,                   // 146 Hz
  Timer5,                          // 9.2 Hz
  Timer6,                          // 1.1 Hz
  Prescaler057Hz, WatchdogStep,    // 0.57 Hz
};

constexpr periphery::Tap<Event> kTicks[] = {
    {0, Event::ClockPB0}, {0, Event::Swb3}, {0, Event::Timer1},
    {1, Event::Swb2},
    {3, Event::ClockPB1}, {3, Event::Timer2},
    {4, Event::Swb0},
    {6, Event::Prescaler4688Hz}, {6, Event::Swb1}, {6, Event::Timer3},
    {7, Event::ClockPB2},
    {9, Event::DetectorEvaluate}, {9, Event::Timer4},
    {10, Event::Prescaler293Hz},
    {11, Event::DetectorStart},
    {15, Event::Timer5},
    {18, Event::Timer6},
    {19, Event::Prescaler057Hz}, {19, Event::WatchdogStep},
};
static_assert(periphery::tapsInOrder(kTicks));

constexpr periphery::ReadRule kPlain = periphery::rules::plain;
constexpr periphery::WriteRule kStored = periphery::rules::stored;

class Qv4131 final : public qv4115::Qv4115Model<Qv4131, kQv4131> {
  using Model = qv4115::Qv4115Model<Qv4131, kQv4131>;
  friend Model;

 public:
  static constexpr const char* kCaption = "QV4131 Periphery";
  // QV4131's own registers.
  static constexpr periphery::RegisterSpec kOwnRegisters[] = {
      {kQv4131.swb.clock.reg, kPlain, kStored.then()},
      {kQv4131.detector.control.reg, kPlain, periphery::rules::storedBits(5).then()},
      {kSwbSupplement.reg, kPlain, kStored.then()},
      {kWakeUp.reg, kPlain, kStored.then()},
      {kClockAdjustLow.reg, kPlain, kStored.then()},
      {kClockAdjustHigh.reg, kPlain, kStored.then()},
  };
  static constexpr periphery::RegisterMap kRegisterMap =
      periphery::withRegisters(qv4115::Qv4115RegisterMap(kQv4131), kOwnRegisters);
  static constexpr simcore::RegisterSet kPeriphery = periphery::PeripheryRegisters(kRegisterMap);
  // Every value nibble up to 126 cleared, except: the port A levels kept,
  // the sleep bit of 105 kept, port B data, SWB data and the timer's low
  // cell all ones.
  static constexpr periphery::ResetRule<1> kResetTable[] = {
      {0, 126, {periphery::kZero}},
      {kQv4131.portA.levels.reg, kQv4131.portA.levels.reg, {periphery::kUnchanged}},
      {kQv4131.portB.data.reg, kQv4131.portB.data.reg, {periphery::resetTo(15)}},
      {kQv4131.swb.data.reg, kQv4131.swb.data.reg, {periphery::resetTo(15)}},
      {kQv4131.timer.low.reg, kQv4131.timer.low.reg, {periphery::resetTo(15)}},
      {kSleepToo.reg, kSleepToo.reg, {periphery::clearBits(15 & ~kSleepToo.mask)}},
  };

  // The supply is 5.00 V and the detector at 2.50 V from the module's load.
  Qv4131() {
    supply_ = 500;
    detectorLevel_ = kDetectorLevelHigh;
  }

  // ---- Framework hooks that differ.
  int32_t Instruction_Reset(CpuState* cpu, ProgramCell* program, RegisterCell* registers,
                            TraceEntry* trace);
  inline void Periphery_Tick();
  void Periphery_Reset();
  bool InterruptRequested() const { return swb_.request() || Model::InterruptRequested(); }
  inline int32_t RunLoop(int32_t mode);
  void onWrite(int n, int value, int old);

  // ---- Hooks of the family model.
  // The fastest tap with work now, over its own tick table: the SWB,
  // timer and clock-output taps below the 4688 Hz request (a tap always
  // taken); the chain reports the ticks below it as nothing due.
  void updateDue() {
    prescaler_.setDueFrom(periphery::firstTapInUse(kTicks, [this](Event e) { return tapInUse(e); },
                                                   kQv4131.prescaler.chain.stages));
  }
  bool tapInUse(Event e) const {
    switch (e) {
      case Event::ClockPB0: return clockOutputOn(0);
      case Event::Swb3: return swbRunning_ == 3;
      case Event::Timer1: return timerSource_ == 1;
      case Event::Swb2: return swbRunning_ == 2;
      case Event::ClockPB1: return clockOutputOn(1);
      case Event::Timer2: return timerSource_ == 2;
      case Event::Swb0: return swbRunning_ == 0;
      default: return true;
    }
  }
  [[gnu::noinline]] void tickEvents(int carried) {
    periphery::fireTaps<kTicks>(carried, [this](auto e) { return onEvent(e); });
  }
  bool resetByCombination(const periphery::Cells& c, int levels) const {
    if (c.bit(kCombinationOff.reg, kCombinationOff.mask)) return false;
    return periphery::combinationResets(levels, c.value(kQv4131.reset.select.reg),
                                        c.value(kQv4131.reset.polarity.reg),
                                        c.bit(kCombinationAnyPin.reg, kCombinationAnyPin.mask)
                                            ? periphery::CombinationRule::AnyPin
                                            : periphery::CombinationRule::AllPins);
  }
  // A PA0 edge that clocks the timer steps the SWB on selection 0 too.
  void clockPinEdge(int source) {
    Timer_Step(source);
    if (source == 0) SwbStep(0);
  }
  int swbLastNibbleBits() const { return external() ? 4 - clkSup_ : 4; }

  // One half period of the SWB on `selection` while a manual transfer runs
  // on it; PC0/PC1 follow in external mode.
  inline void SwbStep(int selection);

  // ---- Window (window.cpp).
  static const platform::DialogTemplate& WindowTemplate();
  void Window_Init(platform::WindowHandle dialog);
  void Window_Redraw(int item, intptr_t parts);

 private:
  using Model::onEvent;  // the family's events, which QV4131's reuse
  inline bool onEvent(Event e);
  bool asleep() const {
    const periphery::Cells c = cells();
    return c.bit(kSleep.reg, kSleep.mask) && c.bit(kSleepToo.reg, kSleepToo.mask);
  }
  Pass sleepingPass(int32_t& pc);
  void eepromDone();
  void writeEepromControl(int value);
  void writeTimerRun(int value);
  void writePrescaler(int value, int old);
  void writePortCDirection(int value);
  void writePortC(int value);
  void writeSwbClock(int value, int old);
  void writeSwbData();
  void writeSwbControl(int value, int old);
  void automaticSwbStep();
  bool external() const { return latch_.test(kSwbExternal); }
  // In external mode, driven PC0 and PC1 carry the SWB's clock and data.
  void showSwbLines();
  void setPortCLevel(int p, bool high);
  void updateSwbRunning();
  void drawSwb(intptr_t parts);

  int clkSup_ = 0;        // suppressed clock pulses of the last nibble
  int divider_ = 0;       // external divider code
  int wakeUpCount_ = 0;   // sleeping passes until the wake-up
  int clockAdjust_ = 0;   // the six bits text 1066 shows
};

// ---- Hot paths.

inline void Qv4131::SwbStep(int selection) {
  if (selection != swbRunning_) [[likely]] return;
  Model::SwbStep(selection);
  showSwbLines();
  post(qv4115::kItemPortC, qv4115::kFirstPinButton[2]);
}

inline bool Qv4131::onEvent(Event e) {
  using Shared = qv4115::Event;
  switch (e) {
    case Event::ClockPB0: return Model::onEvent(Shared::ClockPB0);
    case Event::Swb3: SwbStep(3); break;
    case Event::Timer1: Timer_Step(1); break;
    case Event::Swb2: SwbStep(2); break;
    case Event::ClockPB1: return Model::onEvent(Shared::ClockPB1);
    case Event::Timer2: Timer_Step(2); break;
    case Event::Swb0: SwbStep(0); break;
    case Event::Prescaler4688Hz: raiseSystemRequest(kReq4688Hz); break;
    case Event::Swb1: SwbStep(1); break;
    case Event::Timer3: Timer_Step(3); break;
    case Event::ClockPB2: return Model::onEvent(Shared::ClockPB2);
    case Event::DetectorEvaluate: return Model::onEvent(Shared::DetectorEvaluate);
    case Event::Timer4: Timer_Step(4); break;
    case Event::Prescaler293Hz: raiseSystemRequest(kReq293Hz); break;
    case Event::DetectorStart: return Model::onEvent(Shared::DetectorStart);
    case Event::Timer5: Timer_Step(5); break;
    case Event::Timer6: Timer_Step(6); break;
    case Event::Prescaler057Hz: raiseSystemRequest(kReq057Hz); break;
    case Event::WatchdogStep: return Model::onEvent(Shared::WatchdogStep);
  }
  return true;
}

inline void Qv4131::Periphery_Tick() {
  if (eeprom_.tick()) [[unlikely]] eepromDone();
  const int carried = prescaler_.step();
  if (carried != periphery::kNothingDue) [[unlikely]] tickEvents(carried);
}

// The chip's pass: the pump; in a due round (the family's countdown, armed
// anew at the start, every round while asleep): asleep, only the sleep's
// work; else the tick (the SWB steps inside it), the stop of an overflowed sent text and the
// watchdog reset; the interrupt entry, then one instruction or, while
// halted, the automatic SWB or the interrupt enable. Every pass ends with
// the stop test.
inline int32_t Qv4131::RunLoop(int32_t mode) {
  runCountedRounds(
      mode, countdown_, [this](int32_t& pc) TAVIX_INLINE_ROUND { return pumpAll(pc); },
      [this](uint32_t before, int32_t& pc) TAVIX_INLINE_ROUND {
        prescaler_.advance(before);
        if (asleep()) [[unlikely]] {
          // Every round asleep is a due one; the sleep's work takes a copy
          // of the counter, so the loop's own never has its address taken.
          countdown_.dueNext();
          int32_t held = pc;
          const Pass pass = sleepingPass(held);
          pc = held;
          return pass;
        }
        Periphery_Tick();
        if (swb_.takeOverflow()) [[unlikely]] {
          countdown_.dueNext();
          stopFlags_ = k42::kStopError;
          return Pass::Stop;
        }
        if (watchdogRequest_) [[unlikely]] Periphery_Reset();
        reloadPcAfterReset(pc);
        rearm();
        return Pass::Rest;
      },
      [this, mode](int32_t& pc) TAVIX_INLINE_ROUND {
        if (!enterInterrupt(mode, pc)) [[unlikely]]
          return Pass::Stop;
        if (!halted()) [[likely]] {
          stepInstruction(pc);
          if (halted() && swb_.ready()) [[unlikely]] word(k42::kHalted) = 0;
        } else if (cells().bit(kQv4131.swb.automatic.reg, kQv4131.swb.automatic.mask)) {
          if (swb_.ready()) {
            word(k42::kHalted) = 0;
          } else {
            catchUp();
            automaticSwbStep();
            countdown_.dueNext();
          }
        } else {
          cells().setBits(kQv4131.irq.interruptEnable.reg, kQv4131.irq.interruptEnable.mask);
          latch_.set(kQv4131.irq.interruptEnable);
        }
        return Pass::Next;
      });
  return endRun();
}

}  // namespace qv4131
