#pragma once
// What the monitor core sets and reads of the emulator control panel
// IceView: its register boxes, flags, stack-level options, stop-cause and run
// panels, image buttons with their picture holders, the animation timer and
// the program grid. The panel form derives from this and attaches itself to
// the state while it is loaded; the core reads it there (Panel) and never
// depends on the form's own code.
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace platform {
class GridControl;
class ImageButton;
class Panel3D;
class PictureHolder;
class Timer;
}  // namespace platform

namespace monitor {

class MonitorState;

class PanelControls {
 public:
  virtual ~PanelControls();

  QLineEdit *AccText = nullptr, *IndexText = nullptr, *Pc1Text = nullptr, *Pc2Text = nullptr,
            *Pc3text = nullptr;
  QCheckBox *CarryCheck = nullptr, *CarryIntCheck = nullptr, *ZeroCheck = nullptr,
            *InterruptCheck = nullptr, *HaltCheck = nullptr;
  QRadioButton *Pc1option = nullptr, *Pc2Option = nullptr, *Pc3Option = nullptr;
  platform::Panel3D *instrbrkpnl = nullptr, *databrkpnl = nullptr, *trcbrkpnl = nullptr,
                    *wheelpnl = nullptr, *dravstatepnl = nullptr;
  platform::ImageButton *playimg = nullptr, *stepimg = nullptr, *stopimg = nullptr,
                        *resetimg = nullptr, *animimg = nullptr, *connectimg = nullptr,
                        *brkimg = nullptr, *datimg = nullptr, *trcimg = nullptr, *Intimg = nullptr,
                        *intmuximg = nullptr, *pintimg = nullptr, *tv1muximg = nullptr,
                        *ptv1img = nullptr, *tv2muximg = nullptr, *ptv2img = nullptr,
                        *tv3muximg = nullptr, *ptv3img = nullptr, *Loadcodeimg = nullptr,
                        *Downloadimg = nullptr;
  platform::Timer* timAnimate = nullptr;
  // Ends the Download button's hold-off after a connect.
  platform::Timer* RefreshTimer = nullptr;
  platform::GridControl* grdProgram = nullptr;

  // Set at MouseDown of the program grid when the trace column was clicked.
  int16_t TraceColumnFlag = 0;

  // A hidden picture holder by name ("playuppic"); every name the displays use
  // exists.
  const platform::PictureHolder& Picture(const std::string& name) const;

  // The project the panel was opened for (ProjectSerial at its load): the
  // chip's options go back only to it.
  uint32_t ProjectAtLoad = 0;

  // The host of the simulated chip's periphery window. OpenPeriphery loads
  // it, its frame titled like the main window, and gives the frame the chip
  // module draws into (null without a host); FitPeriphery then sizes the
  // host to what the module drew. PeripheryFrame is the frame while the
  // host is loaded. A simulated run shows the window: restored to normal
  // size when it is minimized, and in front of the panel. Nothing where the
  // panel hosts none.
  virtual void* OpenPeriphery() { return nullptr; }
  virtual void FitPeriphery() {}
  virtual void* PeripheryFrame() const { return nullptr; }
  virtual void RestorePeriphery() {}

 protected:
  // Panel(state) is this panel from Attach until Withdraw or its end: the
  // panel attaches first thing in its load and withdraws first thing in its
  // unload.
  void Attach(MonitorState& state);
  void Withdraw();

  std::map<std::string, platform::PictureHolder*> pictures_;

 private:
  MonitorState* attachedTo_ = nullptr;
};

// A text box's fore colour as a long colour value (red + green * 256 + blue
// * 65536).
long TextForeColor(const QLineEdit& box);
void SetTextForeColor(QLineEdit& box, long color);

// The loaded control panel, or null.
PanelControls* Panel(const MonitorState& state);

// Gives the loaded control panel the keyboard focus, with its periphery
// window in front of it.
void FocusPanel(const MonitorState& state);

// Runs a command of the panel's buttons or keys inside the slot's error
// edge; when it showed a modal dialog, window or box, the panel takes the
// keyboard back once that has closed (FocusPanel).
void PanelCommand(MonitorState& state, const std::function<void()>& command);

}  // namespace monitor
