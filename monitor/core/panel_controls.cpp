#include "core/panel_controls.h"

#include <QLineEdit>
#include <cassert>

#include "core/monitor_state.h"
#include "platform/controls.h"

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
  if (auto* window = dynamic_cast<QWidget*>(Panel(state))) window->setFocus(Qt::OtherFocusReason);
}

}  // namespace monitor
