#pragma once
// The QV4111 family model: four ports (A inputs with edge interrupts, B with
// per-pin direction and the buzzer on PB0, C and D with one direction bit
// each, C with edge interrupts), the request summary 112, an 8-bit
// down-counting reload timer, a 14-stage prescaler with a selectable
// interrupt tap, a level detector, a 1 Hz watchdog and a serial output on
// PD0/PD1 with an automatic mode. 16384 ticks are one second.
//
// The model is a template over the most-derived chip (`Self`) and its layout
// `L` (layout.h), on the family's time-base model (time_base_model.h) with
// QV4111's time base. A chip of the family is
//   class Qv4111 final : public Qv4111Model<Qv4111, kQv4111> {};
// and a member with more units another layout plus a subclass that hides
// these hooks (defaults do nothing):
//   kRegisterMap, kPeriphery        its registers over the family's table
//   onRead, onWrite                 its registers, then the model's
//   extraInterrupt(cells)           an interrupt request of its own
//   Periphery_Tick()                its units besides the chain (calling the model's)
//   rareWork(), skipTicks(ticks)    its per-tick units (calling the model's)
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

#include "periphery/cells.h"
#include "periphery/pin_rules.h"
#include "periphery/port.h"
#include "periphery/reset_table.h"
#include "periphery/write_buffer.h"
#include "periphery/write_routes.h"
#include "qv4111/layout.h"
#include "qv4111/time_base_model.h"
#include "qv4111/window_ids.h"

namespace qv4111 {

// QV4111's time base. Every 2^carries ticks; the chain divides by 2, 2, 2,
// 2, 2, 2, 4, 4, 4, 8: one binary counter of 14 bits. A restart (125 bit 2)
// and a reset clear every stage but the first /2; the watchdog resets at
// the third 1 Hz step after a clear.
struct Qv4111TimeBase {
  // clang-format off
  static constexpr periphery::Tap<Tick> kTicks[] = {
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
  static constexpr int kStages = 14;
  static constexpr periphery::PrescalerConfig kChain{kStages, 0, 0x3FFEu, 0};
  static constexpr periphery::WatchdogConfig kWatchdog{3};
  static constexpr periphery::CountDirection kTimerCount = periphery::CountDirection::DownToZero;
  static constexpr periphery::LowWhen kDetectorLow = periphery::LowWhen::AtOrBelow;
};
static_assert(periphery::tapsInOrder(Qv4111TimeBase::kTicks));

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
class Qv4111Model : public TimeBaseModel<Self, L, Qv4111TimeBase> {
  using Base = TimeBaseModel<Self, L, Qv4111TimeBase>;

 public:
  using typename Base::Pass;
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

  // ---- Framework hooks (the reads, writes, tick and loop are the time
  // base's).
  void Periphery_Reset();
  void SamplePorts();
  bool InterruptRequested() const;
  // Power-on: the timer's reload and count are 0, then the reset.
  int32_t Instruction_Reset(CpuState* cpu, ProgramCell* program, RegisterCell* registers,
                            TraceEntry* trace);

  // ---- Register handlers (called by the register table).
  int onRead(int n);
  void onWrite(int n, int value, int old);

  // ---- Hooks of the time base.
  // Work in every tick, whatever the chain has due: every round is a due one.
  bool rareWork() const { return serialSelection_ == 3 || Base::rareWork(); }
  // A falling serial clock edge on the pass clock holds the pass.
  bool passHeld() { return !serialStep(3); }
  // One half period of the serial clock when it runs on `selection`; false
  // ("hold") on a falling edge.
  inline bool serialStep(int selection);
  int serialSelection() const { return serialSelection_; }
  void timerCounted(bool terminal);
  void prescalerRequest() { cells().setBits(L.irq.requests.reg, kReqPrescaler); }
  void detectorTick() {
    detectorEvaluate();
    self().detectorStep();
  }
  void watchdogStep();
  // The interrupt entry; then the instruction, or, while halted, the
  // automatic serial output.
  [[gnu::always_inline]] Pass instructionPass(int32_t mode, int32_t& pc);

  // ---- Default hooks of a family member.
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
  void Window_Redraw(int item, intptr_t parts);
  void Window_RedrawAll();
  bool Window_Command(int id);

  // ---- The chip's own operations.
  void SamplePortA();
  void SamplePortB();
  void SamplePortC();
  void SamplePortD();

 protected:
  using Base::cells;
  using Base::self;
  using Base::countdown_;
  using Base::detector_;
  using Base::prescaler_;
  using Base::resetRequest_;
  using Base::showState;
  using Base::showTimerCount;
  using Base::supply_;
  using Base::tap_;
  using Base::timer_;
  using Base::timerSource_;
  using Base::timerStep;
  using Base::updateDue;
  using Base::watchdog_;
  static bool test(const periphery::Cells& c, simcore::Field f) { return c.bit(f.reg, f.mask); }
  // A redraw request (nothing without a dialog).
  void post(int item, intptr_t parts) { this->postRedraw(item, parts); }
  void postPort(int item, int firstButton) { post(item, firstButton); }

  void detectorEvaluate();
  void updateSerialSelection();
  bool automaticRunning() const;
  bool automaticStep(int32_t& pc);
  void followSerialPins();

  // The write handlers of the family's blocks, one per block of its table.
  void writeTimer(int n, int v, int old);
  void writeSerial(int n, int v, int old);
  void writeDetector(int n, int v, int old);
  void writeIrq(int n, int v, int old);
  void writeWatchdog(int n, int v, int old);
  void writePorts(int n, int v, int old);
  void writePrescaler(int n, int v, int old);
  void writeBuzzer(int n, int v, int old);

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
  bool irqLed_ = false;
  int threshold_ = 0;  // of the last level chosen
  periphery::SerialWriteBuffer serial_{kSerial};
  int serialSelection_ = -1;  // the stage the serial clock runs on, -1 while off
  bool serialMode_ = false;   // 104 bit 3: PD0/PD1 belong to the serial output
  bool buzzerOn_ = false;
  BuzzerPin buzzer_{};
};

// ---- Hot paths: the serial step, the instruction pass.

template <class Self, const Qv4111Layout& L>
inline bool Qv4111Model<Self, L>::serialStep(int selection) {
  if (selection != serialSelection_) [[likely]]
    return true;
  periphery::Cells c = cells();
  const periphery::SerialWriteBuffer::Half h = serial_.halfStep(c.value(L.serial.data.reg));
  if (h.stop) {
    c.clearBits(L.serial.start.reg, L.serial.start.mask);
    serial_.stopped();
    updateSerialSelection();
  }
  followSerialPins();
  return !h.hold;
}

template <class Self, const Qv4111Layout& L>
inline typename Qv4111Model<Self, L>::Pass Qv4111Model<Self, L>::instructionPass(int32_t mode,
                                                                                 int32_t& pc) {
  if (!this->enterInterrupt(mode, pc)) [[unlikely]]
    return Pass::Stop;
  if (!this->halted()) [[likely]]
    this->stepInstruction(pc);
  else if (automaticRunning()) {
    // The step takes a copy of the counter, so the loop's own never has its
    // address taken.
    showState();
    int32_t held = pc;
    const bool going = automaticStep(held);
    pc = held;
    if (!going) return Pass::Stop;
  }
  return Pass::Next;
}

}  // namespace qv4111

#include "qv4111/model_bodies.h"
#include "qv4111/window_bodies.h"
