#pragma once
// What the main window's Edit commands reach of a debug view while it is the
// active child: the grid the views' search goes through and the controls
// Edit > Font sets. The control panel, the watch window and the RAM window
// declare theirs; the core never depends on the windows' own code.
#include <vector>

class QWidget;

namespace platform {
class GridControl;
}  // namespace platform

namespace monitor {

class DebugView {
 public:
  // The controls Edit > Font sets: `stored` takes the font first and is the
  // one whose font is stored, `preset` gives the font dialog its first font,
  // `others` follow `stored`.
  struct FontControls {
    QWidget* stored = nullptr;
    QWidget* preset = nullptr;
    std::vector<QWidget*> others;
  };

  virtual platform::GridControl* SearchGrid() const = 0;
  virtual FontControls FontTargets() const = 0;

 protected:
  ~DebugView() = default;
};

}  // namespace monitor
