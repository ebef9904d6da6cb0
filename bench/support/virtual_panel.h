#pragma once
// The monitor started offscreen with its control panel open on QV4128 in
// simulation: its own link and registry folders, the program folder of the
// build, message boxes told on standard error, no beeps, no poll timer.
#include <QTemporaryDir>

#include "core/monitor_state.h"

namespace benchsupport {

struct VirtualPanel {
  VirtualPanel();
  QTemporaryDir folder, registry;
  monitor::MonitorState state;
};

}  // namespace benchsupport
