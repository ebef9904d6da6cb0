#pragma once
// A small chip with a periphery window, for the window framework's tests:
// one input port with a pin button group, a tick counter shown in a text box
// (its box posted on every tick), a supply scroll bar with its text, and an
// LED that shows an enable register.
#include <simcore/periphery_window.h>
#include <simcore/simcore.h>

#include <cstdint>

#include "periphery/port.h"

namespace winchip {

// Control ids.
constexpr int kPortGroup = 1019;
constexpr int kFirstButton = 1035;   // pin buttons 1035-1038
constexpr int kFirstLed = 1085;      // pin LEDs 1085-1088
constexpr int kFirstMarker = 1093;   // edge markers 1093-1096
constexpr int kCounterText = 1130;
constexpr int kSupplyBar = 1044;
constexpr int kSupplyText = 1045;
constexpr int kEnableLed = 1107;

// Redraw items and their parts.
constexpr int kItemPort = 0;         // lParam: the first button id
constexpr int kItemStatus = 6;
constexpr intptr_t kPartEnableLed = 2;
constexpr intptr_t kPartCounter = 512;

constexpr int kSupplyMax = 360;

class WindowChip : public simcore::PeripheryChip<WindowChip> {
 public:
  static constexpr const char* kCaption = "QV4100 Periphery";
  static constexpr int kRequest = 120;  // bit 0: a port pin changed; read clears
  static constexpr int kEnable = 121;   // bit 3: shown by the enable LED
  static constexpr int kPort = 122;     // pin levels, sampled
  static constexpr simcore::RegisterSet kPeriphery{kRequest, kEnable, kPort};

  static const platform::DialogTemplate& WindowTemplate();
  static constexpr simcore::PinGroup kPins{kItemPort, kFirstButton, kFirstLed, kFirstMarker};

  // ---- Model.
  int32_t Periphery_Read(int32_t n) {
    RegisterCell& cell = registers_[n];
    if (n == kRequest) {
      const int32_t v = cell.value & 15;
      cell.value &= ~15;
      return v;
    }
    return cell.value & 15;
  }
  void Periphery_Write(int32_t n, int32_t value) {
    if (n != kEnable) return;
    storeValue(n, value);
    enable_ = value & 15;
    postRedraw(kItemStatus, kPartEnableLed);
  }
  void Periphery_Tick() {
    ++ticks_;
    postRedraw(kItemStatus, kPartCounter);
    if (ticks_ == breakAtTick_) Instruction_Break(k42::kStopStep);
  }
  void Periphery_Reset() {
    ticks_ = 0;
    enable_ = 0;
    for (int n = kRequest; n <= kPort; ++n) storeValue(n, 0);
    port_.reset(periphery::pin::kMarker | periphery::pin::kTextShown | periphery::pin::kRefresh);
    postRedraw(kItemPort, kFirstButton);
    postRedraw(kItemStatus, kPartEnableLed | kPartCounter);
  }
  void SamplePorts() { SamplePort(); }
  void SamplePort() {
    if (registers_ == nullptr) return;
    ++samples_;
    if (busy() != 0) ++busySamples_;
    port_.takeEdges([](const periphery::PinEdge&) {});
    const int32_t old = registers_[kPort].value & 15;
    storeValue(kPort, port_.levels());
    if (old != port_.levels()) registers_[kRequest].value |= 1;
  }
  bool InterruptRequested() const { return false; }

  // ---- Window.
  void Window_Init(platform::WindowHandle dialog);
  void Window_Redraw(int item, intptr_t parts);
  void Window_RedrawAll();
  bool Window_Command(int id);
  bool Window_Scroll(int barId, uint16_t code, int thumb);

  // ---- What the tests read.
  int32_t draws(int item) const { return item == kItemPort ? portDraws_ : item == kItemStatus ? statusDraws_ : 0; }
  int32_t samples() const { return samples_; }
  int32_t busySamples() const { return busySamples_; }
  int32_t supply() const { return supply_; }
  uint64_t ticks() const { return ticks_; }
  void breakAtTick(uint64_t tick) { breakAtTick_ = tick; }
  platform::WindowHandle dialogHandle() const { return dialog(); }
  // The pin a test drives as an output (a click then changes nothing).
  void drivePin(int pin, bool level) {
    if (port_.drive(pin, level)) postRedraw(kItemPort, kFirstButton);
  }

 private:
  periphery::Port port_;
  uint64_t ticks_ = 0;
  uint64_t breakAtTick_ = 0;
  int32_t enable_ = 0;  // copy of register 121: the LED draws from it after a run
  int32_t supply_ = kSupplyMax;  // hundredths of a volt
  int32_t portDraws_ = 0, statusDraws_ = 0, samples_ = 0, busySamples_ = 0;
};

}  // namespace winchip
