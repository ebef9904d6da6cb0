#pragma once
// A small chip for the framework's tests: a clear-on-read request register,
// one port with a sampler, a tick counter with a periodic request, and an
// interrupt condition. Built into the tests and as a module loaded by name.
#include <simcore/simcore.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace testchip {

class TestChip : public simcore::ChipCore<TestChip> {
 public:
  static constexpr int kRequest = 120;  // bit 0 port change, bit 1 timer; read clears, 1 written clears
  static constexpr int kEnable = 121;   // plain; bit 3 enables the interrupt
  static constexpr int kPort = 122;     // pin levels, sampled at the start of a run
  static constexpr int kPeriod = 123;   // timer period in ticks (0 off)
  static constexpr int kTickNibble = 124;  // low four bits of the tick counter, read only
  static constexpr simcore::RegisterSet kPeriphery{kRequest, kPort, kPeriod, kTickNibble};

  int32_t Periphery_Read(int32_t n) {
    RegisterCell& cell = registers_[n];
    switch (n) {
      case kRequest: {
        ++requestReads_;
        const int32_t v = cell.value & 15;
        cell.value &= ~15;
        return v;
      }
      case kTickNibble: return static_cast<int32_t>(ticks_ & 15);
      default: return cell.value & 15;
    }
  }

  void Periphery_Write(int32_t n, int32_t value) {
    RegisterCell& cell = registers_[n];
    switch (n) {
      case kRequest: cell.value &= ~(value & 15); break;
      case kPeriod:
        storeValue(n, value);
        countdown_ = value & 15;
        break;
      default: break;  // the port is an input, the tick nibble read only
    }
  }

  void Periphery_Tick() {
    ++ticks_;
    if (countdown_ != 0 && --countdown_ == 0) {
      registers_[kRequest].value |= 2;
      countdown_ = registers_[kPeriod].value & 15;
    }
    if (ticks_ == breakAtTick_) Instruction_Break(k42::kStopStep);
  }

  void Periphery_Reset() {
    ticks_ = 0;
    countdown_ = 0;
    for (int n = kRequest; n <= kTickNibble; ++n) storeValue(n, 0);
  }

  void SamplePorts() { SamplePort(); }

  void SamplePort() {
    if (registers_ == nullptr) return;
    const int32_t old = registers_[kPort].value & 15;
    storeValue(kPort, pins_);
    if (old != (pins_ & 15)) registers_[kRequest].value |= 1;
  }

  bool InterruptRequested() const {
    return (registers_[kEnable].value & 8) != 0 && (registers_[kRequest].value & 15) != 0;
  }

  int32_t SetControllerOptions(const char* options) {
    options_ = options != nullptr ? options : "";
    return 0;
  }
  int32_t GetControllerOptions(int32_t length, char* buffer) {
    if (buffer == nullptr || length <= 0) return -1;
    const size_t n = std::min(options_.size(), static_cast<size_t>(length) - 1);
    std::memcpy(buffer, options_.data(), n);
    buffer[n] = '\0';
    return static_cast<int32_t>(n);
  }

  // Test controls.
  void setPins(int32_t pins) { pins_ = pins & 15; }
  uint64_t ticks() const { return ticks_; }
  void breakAtTick(uint64_t tick) { breakAtTick_ = tick; }
  int32_t requestReads() const { return requestReads_; }

 private:
  uint64_t ticks_ = 0;
  uint64_t breakAtTick_ = 0;
  int32_t countdown_ = 0;
  int32_t pins_ = 0;
  int32_t requestReads_ = 0;
  std::string options_;
};

}  // namespace testchip
