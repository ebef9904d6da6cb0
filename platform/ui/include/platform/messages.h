#pragma once
// The thread's message queue: window handles, posted messages, and the pump
// that a simulation run calls between instructions.
#include <cstdint>
#include <functional>

namespace platform {

using WindowHandle = void*;
using WindowProcedure =
    std::function<intptr_t(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)>;

constexpr uint32_t WM_USER = 0x0400;

// Makes `window` a target of posted messages, dispatched to `procedure`.
void RegisterWindow(WindowHandle window, WindowProcedure procedure);
// Forgets the window and drops its pending messages.
void UnregisterWindow(WindowHandle window);

// Queues a message. Returns false for an unknown window.
bool PostMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Queues a notification whose lParam is a bit mask: a message already pending
// for the same (window, message, wParam) takes the new bits (OR) and keeps its
// place in the queue.
bool PostCoalescedMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Removes at most one pending message and dispatches it. Returns true when
// one was dispatched.
bool DispatchOneMessage();

// Number of messages waiting (tests).
int PendingMessageCount();

// Lets the GUI toolkit process its own pending events (no-op without one).
void ProcessNativeEvents();

// The pump a run loop calls every round. The common case is one decrement
// and a not-taken branch; every kCountdown calls it reads the clock and lets
// the toolkit run when at least kNativeIntervalMicros have passed. Each call
// dispatches one of our own posted messages when there is one.
class RunPump {
 public:
  static constexpr int kCountdown = 4096;
  static constexpr int64_t kNativeIntervalMicros = 5000;

  // Call at the start of a run: the first Pump() of a run always pumps.
  void BeginRun() { countdown_ = 0; lastNative_ = 0; }

  inline void Pump() {
    if (queueNonEmpty_ != 0) DispatchOneMessage();
    if (--countdown_ > 0) return;
    Slow();
  }

  // Tests replace the pump: `action(round)` runs at every call instead.
  static void SetScript(std::function<void(uint64_t round)> action);

 private:
  void Slow();
  int countdown_ = 0;
  int64_t lastNative_ = 0;

 public:
  // Non-zero while our queue holds messages (kept by the queue).
  static inline volatile int queueNonEmpty_ = 0;
};

}  // namespace platform
