// Run, step, animate and stop on the active target, for the panel's keys and
// its buttons alike.
#include "core/run_commands.h"

#include "core/code_grid.h"
#include "core/monitor_state.h"
#include "core/panel_controls.h"
#include "core/view.h"
#include "platform/controls.h"
#include "platform/grid_control.h"

namespace monitor {
namespace {

constexpr long kRunColour = 128;  // dark red

void StopAnimation(MonitorState& state) {
  if (PanelControls* panel = Panel(state)) panel->timAnimate->SetEnabled(false);
}

bool Animating(const MonitorState& state) {
  const PanelControls* panel = Panel(state);
  return panel != nullptr && panel->timAnimate->Enabled();
}

// A go or a step. It starts with RunActive 1, the animation off and the
// command's button disabled with its released picture; it ends on every
// exit, errors included, with RunActive 0, so that the next command is not
// refused for ever, the run panel at "STOP" unless the target runs on, and
// the button as the display rule has it (enabled in simulation; on the
// emulator by its session state), Stop with it, since the animation it may
// have ended kept Stop live.
class RunBracket {
 public:
  RunBracket(MonitorState& state, platform::ImageButton* PanelControls::*button,
             const char* releasedPicture, void (*showButton)(MonitorState&))
      : state_(state), showButton_(showButton) {
    state_.RunActive = 1;
    StopAnimation(state_);
    if (PanelControls* panel = Panel(state_)) {
      (panel->*button)->setEnabled(false);
      (panel->*button)->SetPicture(panel->Picture(releasedPicture));
    }
  }
  ~RunBracket() {
    state_.RunActive = 0;
    PanelControls* panel = Panel(state_);
    if (panel == nullptr) return;
    if (!runsOn) {
      panel->wheelpnl->SetCaption("STOP");
      panel->wheelpnl->SetForeColor(0);
    }
    showButton_(state_);
    ShowStopButton(state_);
  }
  RunBracket(const RunBracket&) = delete;
  RunBracket& operator=(const RunBracket&) = delete;

  // The target runs on after the command; its stop arrives through the poll
  // step.
  bool runsOn = false;

 private:
  MonitorState& state_;
  void (*showButton_)(MonitorState&);
};

}  // namespace

void GoCommand(MonitorState& state) {
  if (state.RunActive == 1) return;
  RunBracket run(state, &PanelControls::playimg, "playuppic", ShowRunButton);
  if (PanelControls* panel = Panel(state)) {
    panel->wheelpnl->SetCaption("RUN");
    panel->wheelpnl->SetForeColor(kRunColour);
    SetGridSelection(*panel->grdProgram);
  }
  run.runsOn = !state.ActiveTarget().Go();
  state.RunActive = 0;
  RefreshPanel(state);
}

void StepCommand(MonitorState& state) {
  if (state.RunActive != 0) return;
  RunBracket run(state, &PanelControls::stepimg, "stepuppic", ShowStepButton);
  run.runsOn = !state.ActiveTarget().Step();
}

void AnimateCommand(MonitorState& state) {
  if (state.RunActive == 1 || Animating(state)) return;
  state.RunActive = 0;
  if (PanelControls* panel = Panel(state)) panel->timAnimate->SetEnabled(true);
  RefreshPanel(state);
  state.ActiveTarget().AnimateStep();
}

void StopCommand(MonitorState& state) {
  StopTarget(state, false);
}

void StopTarget(MonitorState& state, bool evenIdle) {
  RunTarget& target = state.ActiveTarget();
  if (!evenIdle && !target.CanStop(Animating(state))) return;
  StopAnimation(state);
  target.Stop();
  // A simulated run that was interrupted is still on the stack: it ends
  // itself and clears RunActive, so that the panel cannot be closed, nor a
  // second run started, under it meanwhile.
  if (state.SimulatorBusy != 0) return;
  state.RunActive = 0;
  RefreshPanel(state);
}

void AnimateTick(MonitorState& state) {
  // A tick that arrives while a run pumps events is not a second command.
  if (state.RunActive == 1) return;
  state.ActiveTarget().AnimateTick();
}

}  // namespace monitor
