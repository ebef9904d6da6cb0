#pragma once
// The monitor as the panel's benchmarks start it: registry and link folders
// in temporary folders, no end of program, beeps silent, boxes printed, the
// monitor's poll stopped and the control panel loaded on QV4128 in
// simulation, offscreen.
#include <QTemporaryDir>
#include <functional>

#include "core/main_module.h"
#include "core/monitor_state.h"

namespace monitor {
class IceView;
}

namespace benchpanel {

struct LoadedPanel {
  LoadedPanel();
  virtual ~LoadedPanel() = default;

  QTemporaryDir link, registry;
  monitor::MonitorState state;
  monitor::MainModule mainModule{state};
  monitor::IceView* panel = nullptr;  // null when the panel did not load
};

// Runs the benchmarks in an offscreen application; `release` drops what the
// benchmarks made before the application ends.
int RunOffscreen(int argc, char** argv, const std::function<void()>& release);

}  // namespace benchpanel
