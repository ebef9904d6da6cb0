#pragma once
// Chip QV4114: QV4111 with port E, a choice of the buzzer pin, a comparator
// on PE1 with its own interrupt, a software reset and other detector levels.
// Only what differs from QV4111 is here; the rest is the family model.
#include "qv4111_model.h"
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
constexpr int kComparatorPeriod = 3;             // in 8192 Hz calls

class Qv4114 final : public qv4111::Qv4111Model<Qv4114, kQv4114> {
  using Base = qv4111::Qv4111Model<Qv4114, kQv4114>;

 public:
  static constexpr periphery::RegisterMap kRegisterMap =
      periphery::withRegisters(qv4111::Qv4111RegisterMap(kQv4114), kExtensions);
  static constexpr simcore::RegisterSet kPeriphery = periphery::PeripheryRegisters(kRegisterMap);
  static constexpr bool kHasFastStep = true;

  int onRead(int n);
  void onWrite(int n, int value, int old);
  bool extraInterrupt(const periphery::Cells& c) const {
    return test(c, kExtras.comparatorRequest);
  }
  void fastStep();
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
  int fastCalls_ = 0;  // 8192 Hz calls since the last reset, modulo the period
};

}  // namespace qv4114
