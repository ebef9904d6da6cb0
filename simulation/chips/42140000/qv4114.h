#pragma once
// Chip QV4114: QV4111 with port E, a choice of the buzzer pin, a comparator
// on PE1 with its own interrupt, a software reset and other detector levels.
// Only what differs from QV4111 is here; the rest is the family model.
#include "qv4111/model.h"
#include "qv4114_layout.h"

namespace qv4114 {

constexpr int kPortEButton = 1050, kPortELed = 1113;
constexpr int kComparatorLed = 1118, kComparatorIrqLed = 1119;
constexpr simcore::PinGroup kPinsE{kQv4114.items.portE,
                                   kPortEButton,
                                   kPortELed,
                                   0,
                                   4,
                                   simcore::kEdgeMarkers,
                                   {"BUZ", "COMP", nullptr, nullptr}};
namespace comparatorItem {
constexpr int kActive = 1, kInterruptEnable = 2;
}
constexpr int kBeepFrequency = 39, kBeepMs = 1;  // when the buzzer is cleared
// The comparator is evaluated at every third 8192 Hz call since the last
// reset: every 6 ticks, the first 6 ticks after the reset when the chain's
// first /2 (kept by resets and restarts) stood at 0, else 5.
constexpr int kEvaluationTicks = 6;

class Qv4114 final : public qv4111::Qv4111Model<Qv4114, kQv4114> {
  using Base = qv4111::Qv4111Model<Qv4114, kQv4114>;

 public:
  static constexpr periphery::RegisterMap kRegisterMap =
      periphery::withRegisters(qv4111::Qv4111RegisterMap(kQv4114), kExtensions);
  static constexpr simcore::RegisterSet kPeriphery = periphery::PeripheryRegisters(kRegisterMap);

  int onRead(int n);
  void onWrite(int n, int value, int old);
  bool extraInterrupt(const periphery::Cells& c) const {
    return test(c, kExtras.comparatorRequest);
  }
  // While the comparator is on, every round is a due one; skipped ticks
  // count its evaluations down too (it does nothing while off).
  bool rareWork() const { return Base::rareWork() || comparator_.active; }
  void skipTicks(uint32_t ticks) {
    Base::skipTicks(ticks);
    const uint32_t left = static_cast<uint32_t>(evaluationCountdown_ - 1) + kEvaluationTicks -
                          ticks % kEvaluationTicks;
    evaluationCountdown_ = static_cast<int>(left % kEvaluationTicks) + 1;
  }
  // The comparator's evaluation every third 8192 Hz call, then the chain.
  void Periphery_Tick() {
    if (--evaluationCountdown_ == 0) [[unlikely]] {
      evaluationCountdown_ = kEvaluationTicks;
      evaluateComparator();
    }
    Base::Periphery_Tick();
  }
  void detectorStep();
  void resetExtras();
  void sampleExtraPorts() { SamplePortE(); }
  BuzzerPin buzzerPin();
  void buzzerReleased(BuzzerPin pin);

  static void addWindowControls(std::vector<platform::ControlTemplate>& c);
  void Window_Redraw(int item, intptr_t parts);
  void Window_RedrawAll();
  bool Window_Command(int id);

  void SamplePortE();

 private:
  void writeComparator(int value, int old);
  void writePortE(int value);
  void writePortEDirection(int value);

  periphery::Port portE_;
  int latchE_ = 0;
  // Zero at every reset.
  struct Comparator {
    bool active = false;           // 123 bits 0 and 1
    bool output = false;           // supply below the detector's level
    bool valid = false;            // a first evaluation was made
    bool interruptEnable = false;  // 109 bit 3
  } comparator_;
  void evaluateComparator();
  int evaluationCountdown_ = kEvaluationTicks;  // ticks to the next evaluation
};

}  // namespace qv4114
