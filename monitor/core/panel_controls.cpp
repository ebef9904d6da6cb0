#include "core/panel_controls.h"

#include <QLineEdit>
#include <cassert>

#include "core/monitor_state.h"
#include "platform/controls.h"

namespace monitor {

PanelControls::~PanelControls() = default;

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
  return dynamic_cast<PanelControls*>(state.Forms.Get("IceView"));
}

}  // namespace monitor
