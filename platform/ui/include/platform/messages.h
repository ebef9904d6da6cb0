#pragma once
// The thread's message queue: window handles, posted messages, and the pump
// that a simulation run calls between instructions. Everything here belongs
// to the GUI thread.
//
// Each module loaded by name has its own copy of the queue, holding the
// windows it registered; messages posted outside a run are dispatched by the
// Qt event loop of the program (the queue asks for that on its first post),
// messages posted during a run by the run's pump.
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
bool IsWindowRegistered(WindowHandle window);

// Frees this module copy's queue and dialog list. A module calls it last when
// it is unloaded, after its own windows are gone.
void ReleaseWindowLayer();

// Queues a message. Returns false for an unknown window.
bool PostMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Queues a notification whose lParam is a bit mask (a redraw request): a
// notification already pending for the same (window, message, wParam) takes
// the new bits (OR) and keeps its place in the queue. Notifications wait for
// the toolkit (the program's event loop, or a run's pump when it lets the
// toolkit run, at most every few milliseconds), never for a run's next round,
// so any number of posts between two turns of the toolkit give one call,
// which shows the state at that time.
bool PostCoalescedMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Removes at most one pending message (of either kind) and dispatches it.
// Returns true when one was dispatched.
bool DispatchOneMessage();
// The same for the oldest plain message only (a run's pump).
bool DispatchOnePostedMessage();

// Number of messages waiting (tests), and of the plain ones among them.
int PendingMessageCount();
int PendingPostedMessageCount();

// Lets the GUI toolkit process its own pending events (no-op without one).
void ProcessNativeEvents();

// A test script replacing the pump: called once per round with the round
// number, counted from 0 at BeginRun.
using PumpScript = std::function<void(uint64_t round)>;

// Called by the queue on every post: brings the running pump's slow path to
// the next round.
void NotifyRunPumpOfPost();

// The pump a run loop calls every round. The common case is one decrement
// and a not-taken branch. The slow path runs when the countdown ends: it
// dispatches one of our plain posted messages when there is one (a post
// shortens the countdown to the next round), and every kCountdown rounds
// reads the clock and lets the toolkit run when kNativeIntervalMicros have
// passed (which delivers the notifications).
//
// With a script installed (SetScript, in the program or in the test program
// hosting a module), every round calls the script and dispatches our own
// plain messages, and the toolkit is never pumped: runs are deterministic,
// and notifications wait until the script or the test lets the toolkit run.
class RunPump {
 public:
  static constexpr int kCountdown = 4096;
  static constexpr int64_t kNativeIntervalMicros = 5000;

  // Call at the start of a run: the first Pump() of a run always pumps.
  void BeginRun();

  // The countdown alone: true when this round's pump is due (then call
  // RunEvents), so a caller can prepare for events first.
  inline bool Due() { return --countdown_ <= 0; }
  void RunEvents() { Slow(); }
  // True when the slow path ran, i.e. when events may have run.
  inline bool Pump() {
    if (!Due()) [[likely]]
      return false;
    Slow();
    return true;
  }

  // Installs the script of this program (empty removes it). Modules loaded
  // by name find the script of the program hosting them at BeginRun.
  static void SetScript(PumpScript action);
  // Convenience: `action` runs once, at round `round` of the next runs.
  static void SetScriptAtRound(uint64_t round, std::function<void()> action);

 private:
  friend void NotifyRunPumpOfPost();
  void Slow();

  // Shared by every pump of this module copy: a post reaches the running
  // pump through them.
  static inline int countdown_ = 1;
  static inline int armed_ = 1;       // what countdown_ was last set to
  static inline int untilClock_ = 1;  // rounds left until the next clock read, from the last arming
  static inline bool forceNative_ = true;
  static inline int64_t lastNative_ = 0;
  static inline uint64_t round_ = 0;
  static inline const PumpScript* script_ = nullptr;
};

}  // namespace platform
