#pragma once
// The periphery host window Display: the frame FrameDisp that the control
// panel hands to the chip module (InitInterface), scroll bars that move the
// frame when the window is smaller than it, and a status bar shown only with
// both bars. It refuses to close while the panel holds it.
#include <QRect>
#include <QScrollBar>
#include <optional>

#include "platform/forms.h"

namespace monitor {

class MonitorState;

// The scroll-bar layout of the host, all in twips: W and H the window's inner
// size, fw and fh the frame's size, vw the vertical bar's width and hh the
// horizontal bar's height.
struct HostGeometry {
  int W = 0, H = 0, fw = 0, fh = 0, vw = 0, hh = 0;
};

struct BarPlace {
  bool visible = false;
  int left = 0, top = 0, length = 0;  // width of HScroll, height of VScroll
  int maximum = 0;
};

struct HostLayout {
  BarPlace h, v;
  bool statusBar = false;
  // New values for the bars (which move the frame through their Change), and
  // a frame offset to set directly; unset where the layout keeps them.
  std::optional<int> hValue, vValue, frameLeft, frameTop;
};

// The four cases: everything fits; only a vertical bar; only a horizontal
// bar; both. Maxima are never negative.
HostLayout LayOutHost(const HostGeometry& geometry);

// Where the host window goes in an MDI area beside the panel's window (all in
// the area's pixels): to its right, else below it, else to its left, else
// above it, the first place where it fits inside the area without touching
// the panel; where none does (a maximized panel), the area's bottom right
// corner, away from the panel's buttons.
QPoint PlaceBesidePanel(const QRect& area, const QRect& panel, const QSize& host);

class Display : public platform::Form {
 public:
  explicit Display(MonitorState& state);

  QWidget* FrameDisp;
  QScrollBar* HScroll;
  QScrollBar* VScroll;
  QWidget* StatusBar;

  void OnQueryUnload(bool& cancel) override;
  void OnResize() override;
  // Moves the window beside the panel's (PlaceBesidePanel).
  void PlaceBeside(const platform::Form& panel);

 private:
  MonitorState& state_;
};

}  // namespace monitor
