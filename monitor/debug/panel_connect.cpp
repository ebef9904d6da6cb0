#include "debug/panel_connect.h"

#include "core/data_cells.h"
#include "core/monitor_state.h"
#include "core/run_target.h"
#include "debug/iceview.h"
#include "platform/controls.h"
#include "platform/hooks.h"

namespace monitor {

namespace {

constexpr int kDownloadHoldMs = 1000;
constexpr uint16_t kLastDataCell = 127;

}  // namespace

void HoldDownloadButton(MonitorState& state) {
  PanelControls* panel = Panel(state);
  if (panel == nullptr) return;
  panel->Downloadimg->setEnabled(false);
  panel->Downloadimg->SetPicture(panel->Picture("Dnloaddispic"));
  panel->RefreshTimer->SetInterval(kDownloadHoldMs);
  panel->RefreshTimer->SetEnabled(true);
}

void ConnectCommand(MonitorState& state) {
  PanelControls* panel = Panel(state);
  if (panel == nullptr || !panel->connectimg->isEnabled()) return;
  panel->connectimg->setEnabled(false);
  RunTarget& target = state.ActiveTarget();
  if (state.TargetState == kEmulatorNotConnected) {
    panel->connectimg->SetPicture(panel->Picture("cntuppic"));
    target.Connect();
    state.DataLower = 0;
    state.DataUpper = kLastDataCell;
    InitDataMemory(state);
    HoldDownloadButton(state);
  } else if (state.TargetState == kEmulatorHalted) {
    panel->connectimg->SetPicture(panel->Picture("dcntuppic"));
    target.Stop();
    state.RunActive = 0;
    panel->timAnimate->SetEnabled(false);
    target.Disconnect();
  }
  // The session may have unloaded the panel (a closing frame): look again.
  if (PanelControls* still = Panel(state)) still->connectimg->setEnabled(true);
}

void IceView::connectimg_MouseUp(int, int) {
  ConnectCommand(state_);
}

void IceView::HoldDownloadButton() {
  monitor::HoldDownloadButton(state_);
}

void IceView::RefreshTimer_Timer() {
  RefreshTimer->SetEnabled(false);
  Downloadimg->setEnabled(true);
  Downloadimg->SetPicture(Picture("downloaduppic"));
}

// The Connect button and the refresh timer to the panel's handlers.
void IceView::BindConnect() {
  IceView& panel = *this;
  panel.connectimg->onMouseUp = [&panel](int button, int shift, int, int) {
    PanelCommand(panel.state_, [&] { panel.connectimg_MouseUp(button, shift); });
  };
  panel.RefreshTimer->onTimer = [&panel] { panel.RefreshTimer_Timer(); };
}

}  // namespace monitor
