#include "core/panel_controls.h"

#include <QLineEdit>
#include <cassert>

#include "core/monitor_state.h"
#include "platform/controls.h"
#include "platform/grid_control.h"
#include "platform/hooks.h"

namespace monitor {

PanelControls::~PanelControls() {
  Withdraw();
}

void PanelControls::Attach(MonitorState& state) {
  attachedTo_ = &state;
  state.LoadedPanel = this;
}

void PanelControls::Withdraw() {
  if (attachedTo_ != nullptr && attachedTo_->LoadedPanel == this)
    attachedTo_->LoadedPanel = nullptr;
  attachedTo_ = nullptr;
}

const platform::PictureHolder& PanelControls::Picture(const std::string& name) const {
  auto it = pictures_.find(name);
  assert(it != pictures_.end() && "unknown picture holder");
  return *it->second;
}

long TextForeColor(const QLineEdit& box) {
  return platform::LongFromColor(box.palette().color(QPalette::Text));
}

void SetTextForeColor(QLineEdit& box, long color) {
  QPalette palette = box.palette();
  palette.setColor(QPalette::Text, platform::ColorFromLong(color));
  box.setPalette(palette);
}

PanelControls* Panel(const MonitorState& state) {
  return state.LoadedPanel;
}

void FocusPanel(const MonitorState& state) {
  PanelControls* panel = Panel(state);
  if (panel == nullptr) return;
  // A control that takes the keyboard: focus on the panel's window itself
  // would pass to its MDI frame, past the panel's keys, once the main window
  // is active again. The focus brings the panel to the front, so the
  // periphery window goes back in front of it.
  panel->grdProgram->setFocus(Qt::OtherFocusReason);
  panel->RestorePeriphery();
}

void PanelCommand(MonitorState& state, const std::function<void()>& command) {
  const int modals = platform::ModalCount();
  platform::GuardedCall(command);
  if (platform::ModalCount() != modals) FocusPanel(state);
}

}  // namespace monitor
