// The panel's run buttons: Run, Step, Animate with its timer, Stop, Reset and
// the Trace switch, on the active target: the simulated chip runs
// synchronously while it pumps events; the in-circuit emulator's commands
// return at once while the session carries on.
#include <functional>

#include "core/code_grid.h"
#include "core/monitor_state.h"
#include "core/run_commands.h"
#include "core/run_target.h"
#include "core/vicectrl.h"
#include "core/view.h"
#include "debug/display.h"
#include "debug/iceview.h"
#include "debug/tracewin.h"
#include "platform/controls.h"
#include "platform/hooks.h"

namespace monitor {
namespace {

constexpr long kRunColour = 128;  // dark red

// A button's command when the mouse is released on it, whichever button it
// was, inside the slot's error edge.
void OnUp(platform::ImageButton* image, std::function<void(int button, int shift)> handler) {
  image->onMouseUp = [handler = std::move(handler)](int button, int shift, int, int) {
    platform::GuardedCall([&] { handler(button, shift); });
  };
}

// The pressed picture while the mouse is down.
void OnDown(platform::ImageButton* image, std::function<void(int button, int shift)> handler) {
  image->onMouseDown = [handler = std::move(handler)](int button, int shift, int, int) {
    platform::GuardedCall([&] { handler(button, shift); });
  };
}

// A Run or Step command of the panel. It starts with RunActive 1, the
// animation off and the button disabled with its up picture; it ends on every
// exit, errors included, with RunActive 0, the run panel at "STOP" unless the
// emulator runs on, and the button as the display rule has it (enabled in
// simulation; on the emulator by its session state).
class RunCommand {
 public:
  RunCommand(MonitorState& state, PanelControls& panel, platform::ImageButton* button,
             const char* upPicture, void (*showButton)(MonitorState&))
      : state_(state), showButton_(showButton) {
    state_.RunActive = 1;
    panel.timAnimate->SetEnabled(false);
    button->setEnabled(false);
    button->SetPicture(panel.Picture(upPicture));
  }
  ~RunCommand() {
    state_.RunActive = 0;
    PanelControls* panel = Panel(state_);
    if (panel == nullptr) return;
    if (!emulatorRunsOn) {
      panel->wheelpnl->SetCaption("STOP");
      panel->wheelpnl->SetForeColor(0);
    }
    showButton_(state_);
  }
  RunCommand(const RunCommand&) = delete;
  RunCommand& operator=(const RunCommand&) = delete;

  bool emulatorRunsOn = false;

 private:
  MonitorState& state_;
  void (*showButton_)(MonitorState&);
};

}  // namespace

void IceView::BindRunControl() {
  OnDown(playimg, [this](int b, int s) { playimg_MouseDown(b, s); });
  OnUp(playimg, [this](int b, int s) { playimg_MouseUp(b, s); });
  OnDown(stepimg, [this](int b, int s) { stepimg_MouseDown(b, s); });
  OnUp(stepimg, [this](int b, int s) { stepimg_MouseUp(b, s); });
  OnDown(animimg, [this](int b, int s) { animimg_MouseDown(b, s); });
  OnUp(animimg, [this](int b, int s) { animimg_MouseUp(b, s); });
  OnDown(stopimg, [this](int b, int s) { stopimg_MouseDown(b, s); });
  OnUp(stopimg, [this](int b, int s) { stopimg_MouseUp(b, s); });
  OnDown(resetimg, [this](int b, int s) { resetimg_MouseDown(b, s); });
  OnUp(resetimg, [this](int b, int s) { resetimg_MouseUp(b, s); });
  OnDown(trcimg, [this](int b, int s) { trcimg_MouseDown(b, s); });
  OnUp(trcimg, [this](int b, int s) { trcimg_MouseUp(b, s); });
  timAnimate->onTimer = [this] { platform::GuardedCall([this] { timAnimate_Timer(); }); };
}

void IceView::ShowProgramCounterRow() {
  ShowProgramCounter(state_);
}

void IceView::playimg_MouseDown(int, int) {
  playimg->SetPicture(Picture("playdispic"));
}

void IceView::playimg_MouseUp(int, int) {
  if (state_.RunActive == 1) return;
  RunCommand command(state_, *this, playimg, "playuppic", ShowRunButton);
  wheelpnl->SetCaption("RUN");
  wheelpnl->SetForeColor(kRunColour);
  SetGridSelection(*grdProgram);
  if (Display* host = Host(); host != nullptr && host->WindowState() == 1) {
    host->SetWindowState(0);
  }
  if (!state_.ActiveTarget().Go()) {
    // The session reports the stop later through the poll step.
    command.emulatorRunsOn = true;
    return;
  }
  state_.RunActive = 0;
  RefreshPanel(state_);
}

void IceView::stepimg_MouseDown(int, int) {
  stepimg->SetPicture(Picture("stepdispic"));
}

void IceView::stepimg_MouseUp(int, int) {
  if (state_.RunActive == 1) return;
  RunCommand command(state_, *this, stepimg, "stepuppic", ShowStepButton);
  // The emulator's step ends later, through the poll step.
  command.emulatorRunsOn = !state_.ActiveTarget().Step();
}

void IceView::animimg_MouseDown(int, int) {
  animimg->SetPicture(Picture("animdispic"));
}

void IceView::animimg_MouseUp(int, int) {
  if (state_.RunActive == 1 || timAnimate->Enabled()) return;
  timAnimate->SetInterval(kAnimateInterval);
  timAnimate->SetEnabled(true);
  RefreshPanel(state_);
  state_.ActiveTarget().AnimateStep();
}

void IceView::timAnimate_Timer() {
  // A tick that arrives while a run pumps events is not a second command.
  if (state_.RunActive == 1) return;
  AnimateTick(state_);
}

void IceView::stopimg_MouseDown(int, int) {
  stopimg->SetPicture(Picture("stopdispic"));
}

void IceView::stopimg_MouseUp(int, int) {
  timAnimate->SetEnabled(false);
  state_.ActiveTarget().Stop();
  // A simulated run that was interrupted is still on the stack: it ends
  // itself and clears RunActive, so the panel cannot be closed under it
  // meanwhile.
  if (state_.SimulatorBusy != 0) return;
  state_.RunActive = 0;
  RefreshPanel(state_);
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
