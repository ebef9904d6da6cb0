#pragma once
// The gated chips of the QV4117 family (QV4119 here, QV4123 over it in
// 42230000): the QV4117 model plus a CPU clock of 32, 64 or 128 kHz chosen in
// the window, whose two gate counters let the periphery step every 1st, 2nd
// or 4th pass; register 108 stored, which makes the sleep of the run loop
// reachable; a 1 Hz stage whose blink and 1 Hz requests alternate, each every
// two seconds; and a "CPU" box in the window.
#include <platform/dialog_items.h>

#include "periphery/clock_gate.h"
#include "qv4117/model.h"

namespace qv4119 {

// The family's layout with the blink at the first of the two 1 Hz taps.
constexpr qv4124::Qv4124Layout GatedLayout(const simcore::lcd::LcdModule& module) {
  qv4124::Qv4124Layout l = qv4117::FamilyLayout(module);
  l.prescaler.blinkTap = 14;
  return l;
}

// The CPU box: radio buttons of the clock selector and its text.
constexpr int kCpuGroup = 1051, kClockText = 1052;
constexpr int k32kHz = 1131, k64kHz = 1132, k128kHz = 1133;
constexpr int kSelectors[3] = {1, 2, 4};
constexpr const char* kClockTexts[3] = {"32 kHz", "64 kHz", "128 kHz"};

// The window of the family's boxes with the CPU box at (cpuX, 1).
platform::DialogTemplate GatedWindow(int width, int cpuX);

template <class Self, const qv4124::Qv4124Layout& L, const qv4117::Options& O>
class Qv4119Model : public qv4117::Qv4117Model<Self, L, O> {
  using Family = qv4117::Qv4117Model<Self, L, O>;

 public:
  // One flag decides the common pass: at 32 kHz with no clock of every
  // step, the gate passes and only the time base counts. Otherwise the gate
  // first: at 64 and 128 kHz most passes step nothing.
  [[gnu::always_inline]] void Periphery_Tick() {
    if (timeBaseOnly_) [[likely]] {
      gate_.passOpen();
      this->advanceBase();
    } else if (gate_.pass()) {
      Family::Periphery_Tick();
    }
  }
  void refreshActivity() {
    Family::refreshActivity();
    refreshTimeBaseOnly();
  }
  void reset(qv4124::ResetKind kind) {
    Family::reset(kind);
    gate_.reset();
  }

  void onWrite(int n, int v, int old) {
    // Stored, and only a changed value acts (bit 3 clears the watchdog): as
    // in QV4124.
    if (n == L.power.sleepWatchdog.reg)
      qv4124::Qv4124Model<Self, L>::onWrite(n, v, old);
    else
      Family::onWrite(n, v, old);
  }

  // The 1 Hz stage: the blink request while the following stage is at 0,
  // the 1 Hz request while it is at 1, alternating.
  [[gnu::always_inline]] bool onEvent(qv4117::Event e) {
    if (e == qv4117::Event::Blink) {
      if (this->timeBase_.stageBits(14, 1) == 1) this->raise(Family::kRequestsB, qv4124::kReqBlink);
      return true;
    }
    if (e == qv4117::Event::Request1Hz) {
      if (this->timeBase_.stageBits(14, 1) == 0) this->raise(Family::kRequestsB, qv4124::kReq1Hz);
      return true;
    }
    return Family::onEvent(e);
  }

  void Window_Init(platform::WindowHandle d) {
    Family::Window_Init(d);
    selectClock(d, k32kHz);
  }
  bool Window_Command(int id) {
    if (id < k32kHz || id > k128kHz) return Family::Window_Command(id);
    selectClock(this->dialog(), id);
    return true;
  }

  int selector() const { return gate_.selector(); }

 private:
  // A radio button (or the window's creation) sets the selector at once,
  // also during a run.
  void selectClock(platform::WindowHandle d, int id) {
    gate_.setSelector(kSelectors[id - k32kHz]);
    refreshTimeBaseOnly();
    if (d == nullptr) return;
    platform::CheckRadioButton(d, k32kHz, k128kHz, id);
    platform::SetDlgItemText(d, kClockText, kClockTexts[id - k32kHz]);
  }

  void refreshTimeBaseOnly() { timeBaseOnly_ = gate_.selector() == 1 && !this->everyStep_; }

  periphery::ClockGate gate_;
  bool timeBaseOnly_ = true;  // the selector at 1 and no clock of every step
};

}  // namespace qv4119
