// The slow path of the run pump, and the test script that replaces it.
#include <dlfcn.h>

#include <memory>

#include "platform/clock.h"
#include "platform/messages.h"

namespace platform {
namespace {

PumpScript& LocalScript() {
  static PumpScript script;
  return script;
}

using ScriptLookup = const void* (*)();

}  // namespace
}  // namespace platform

// Exported by every executable linking platform_ui: the script of the test
// program, found by the modules it loads. Null when there is none.
extern "C" __attribute__((visibility("default"))) const void* TavixRunPumpScript() {
  const platform::PumpScript& script = platform::LocalScript();
  return script ? &script : nullptr;
}

namespace platform {
namespace {

const PumpScript* FindScript() {
  if (LocalScript()) return &LocalScript();
  auto lookup = reinterpret_cast<ScriptLookup>(dlsym(RTLD_DEFAULT, "TavixRunPumpScript"));
  if (lookup == nullptr || lookup == &TavixRunPumpScript) return nullptr;
  return static_cast<const PumpScript*>(lookup());
}

}  // namespace

void NotifyRunPumpOfPost() {
  if (RunPump::countdown_ > 1) {
    RunPump::armed_ -= RunPump::countdown_ - 1;
    RunPump::countdown_ = 1;
  }
}

void RunPump::BeginRun() {
  script_ = FindScript();
  round_ = 0;
  countdown_ = armed_ = untilClock_ = 1;
  forceNative_ = true;
}

void RunPump::Slow() {
  if (script_ != nullptr) {
    (*script_)(round_++);
    DispatchOnePostedMessage();
    countdown_ = armed_ = 1;
    return;
  }
  untilClock_ -= armed_;
  DispatchOnePostedMessage();
  if (untilClock_ <= 0) {
    int64_t now = MonotonicMicros();
    if (forceNative_ || now - lastNative_ >= kNativeIntervalMicros) {
      forceNative_ = false;
      lastNative_ = now;
      ProcessNativeEvents();
    }
    untilClock_ = kCountdown;
  }
  armed_ = PendingPostedMessageCount() > 0 ? 1 : untilClock_;
  countdown_ = armed_;
}

void RunPump::SetScript(PumpScript action) { LocalScript() = std::move(action); }

void RunPump::SetScriptAtRound(uint64_t round, std::function<void()> action) {
  SetScript([round, action = std::move(action)](uint64_t r) {
    if (r == round) action();
  });
}

}  // namespace platform
