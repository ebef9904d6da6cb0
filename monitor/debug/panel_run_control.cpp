// The panel's run buttons: Run, Step, Animate with its timer and Stop are the
// core's run commands, the same the keys call (run_commands.h), the Stop
// button's taken also with nothing to end; Reset and the Trace switch. A
// button shows its pressed picture while the mouse is down.
#include <functional>

#include "core/monitor_state.h"
#include "core/run_commands.h"
#include "core/vicectrl.h"
#include "core/view.h"
#include "debug/display.h"
#include "debug/iceview.h"
#include "debug/tracewin.h"
#include "platform/controls.h"
#include "platform/hooks.h"

namespace monitor {
namespace {

// A button's command when the mouse is released on it, whichever button it
// was, at the panel's command edge.
void OnUp(MonitorState& state, platform::ImageButton* image,
          std::function<void(int button, int shift)> handler) {
  image->onMouseUp = [&state, handler = std::move(handler)](int button, int shift, int, int) {
    PanelCommand(state, [&] { handler(button, shift); });
  };
}

// The pressed picture while the mouse is down.
void OnDown(platform::ImageButton* image, std::function<void(int button, int shift)> handler) {
  image->onMouseDown = [handler = std::move(handler)](int button, int shift, int, int) {
    platform::GuardedCall([&] { handler(button, shift); });
  };
}

}  // namespace

void IceView::BindRunControl() {
  OnDown(playimg, [this](int b, int s) { playimg_MouseDown(b, s); });
  OnUp(state_, playimg, [this](int b, int s) { playimg_MouseUp(b, s); });
  OnDown(stepimg, [this](int b, int s) { stepimg_MouseDown(b, s); });
  OnUp(state_, stepimg, [this](int b, int s) { stepimg_MouseUp(b, s); });
  OnDown(animimg, [this](int b, int s) { animimg_MouseDown(b, s); });
  OnUp(state_, animimg, [this](int b, int s) { animimg_MouseUp(b, s); });
  OnDown(stopimg, [this](int b, int s) { stopimg_MouseDown(b, s); });
  OnUp(state_, stopimg, [this](int b, int s) { stopimg_MouseUp(b, s); });
  OnDown(resetimg, [this](int b, int s) { resetimg_MouseDown(b, s); });
  OnUp(state_, resetimg, [this](int b, int s) { resetimg_MouseUp(b, s); });
  OnDown(trcimg, [this](int b, int s) { trcimg_MouseDown(b, s); });
  OnUp(state_, trcimg, [this](int b, int s) { trcimg_MouseUp(b, s); });
  timAnimate->onTimer = [this] { platform::GuardedCall([this] { timAnimate_Timer(); }); };
}

void IceView::ShowProgramCounterRow() {
  ShowProgramCounter(state_);
}

void IceView::RestorePeriphery() {
  Display* host = Host();
  if (host == nullptr) return;
  if (host->WindowState() == 1) host->SetWindowState(0);
  host->Outer()->raise();
}

void IceView::playimg_MouseDown(int, int) {
  playimg->SetPicture(Picture("playdispic"));
}

void IceView::playimg_MouseUp(int, int) {
  GoCommand(state_);
}

void IceView::stepimg_MouseDown(int, int) {
  stepimg->SetPicture(Picture("stepdispic"));
}

void IceView::stepimg_MouseUp(int, int) {
  StepCommand(state_);
}

void IceView::animimg_MouseDown(int, int) {
  animimg->SetPicture(Picture("animdispic"));
}

void IceView::animimg_MouseUp(int, int) {
  AnimateCommand(state_);
}

void IceView::timAnimate_Timer() {
  AnimateTick(state_);
}

void IceView::stopimg_MouseDown(int, int) {
  stopimg->SetPicture(Picture("stopdispic"));
}

void IceView::stopimg_MouseUp(int, int) {
  StopTarget(state_, true);
}

void IceView::resetimg_MouseDown(int, int) {
  resetimg->SetPicture(Picture("backdispic"));
}

void IceView::resetimg_MouseUp(int, int) {
  ResetTarget(state_, true);
}

void IceView::trcimg_MouseDown(int, int) {
  const bool on = state_.CpuState.word[k42::kTraceEnable] != 0;
  trcimg->SetPicture(Picture(on ? "ntrcuppic" : "trcuppic"));
  if (!on) LoadTraceWindow(state_);
}

void IceView::trcimg_MouseUp(int, int) {
  int32_t* words = state_.CpuState.word;
  const bool on = words[k42::kTraceEnable] != 0;
  words[k42::kTraceEnable] = on ? 0 : -1;
  words[k42::kTraceActive] = on ? 0 : -1;
  if (!on) LoadTraceWindow(state_);
  state_.CpuStateDirty = -1;
  ShowTraceEnable(state_);
}

}  // namespace monitor
