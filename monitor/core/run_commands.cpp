// Run, step, animate and stop on the active target.
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

// An image shown pressed: disabled with its dis picture.
void Press(MonitorState& state, platform::ImageButton* PanelControls::*image, const char* picture) {
  if (PanelControls* panel = Panel(state)) {
    (panel->*image)->setEnabled(false);
    (panel->*image)->SetPicture(panel->Picture(picture));
  }
}

// RunActive back to 0 when a command leaves through an error, so that the
// next command is not refused for ever.
struct RunActiveGuard {
  MonitorState& state;
  ~RunActiveGuard() { state.RunActive = 0; }
};

}  // namespace

void GoCommand(MonitorState& state) {
  if (state.RunActive == 1) return;
  state.RunActive = 1;
  RunActiveGuard guard{state};
  StopAnimation(state);
  Press(state, &PanelControls::playimg, "playdispic");
  if (PanelControls* panel = Panel(state)) {
    panel->wheelpnl->SetCaption("RUN");
    panel->wheelpnl->SetForeColor(kRunColour);
    SetGridSelection(*panel->grdProgram);
  }
  state.ActiveTarget().Go();
  state.RunActive = 0;
  RefreshPanel(state);
}

void StepCommand(MonitorState& state) {
  if (state.RunActive != 0) return;
  state.RunActive = 1;
  struct Restore {
    MonitorState& state;
    ~Restore() {
      state.RunActive = 0;
      if (PanelControls* panel = Panel(state)) {
        panel->stepimg->setEnabled(true);
        panel->stepimg->SetPicture(panel->Picture("stepuppic"));
      }
    }
  } restore{state};
  StopAnimation(state);
  Press(state, &PanelControls::stepimg, "stepdispic");
  state.ActiveTarget().Step();
}

void AnimateCommand(MonitorState& state) {
  if (state.RunActive == 1 || Animating(state)) return;
  state.RunActive = 0;
  if (PanelControls* panel = Panel(state)) panel->timAnimate->SetEnabled(true);
  RefreshPanel(state);
  state.ActiveTarget().AnimateStep();
}

void StopCommand(MonitorState& state) {
  RunTarget& target = state.ActiveTarget();
  if (!target.CanStop(Animating(state))) return;
  StopAnimation(state);
  target.Stop();
  state.RunActive = 0;
  RefreshPanel(state);
}

void AnimateTick(MonitorState& state) {
  state.ActiveTarget().AnimateTick();
}

}  // namespace monitor
