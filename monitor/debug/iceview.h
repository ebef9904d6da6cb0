#pragma once
// The emulator control panel IceView: an MDI child with the register boxes,
// flags, stop-cause panels, image buttons and the program grid. Loading it in
// simulation binds the project's controller through STDK42XX and opens the
// chip's periphery window in the host Display; closing it hands the
// controller options back to the project and unloads the chip module. Its
// window settings live under the registry key "code window".
#include <QLabel>
#include <QPointer>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/debug_view.h"
#include "core/panel_controls.h"
#include "platform/forms.h"

class QMdiSubWindow;

namespace monitor {

class Display;
class MonitorState;

// The registry key of the panel's settings, below HKEY_CURRENT_USER.
inline constexpr const char* kCodeWindowKey = "SOFTWARE\\Corvane\\Tavix\\code window";

// The program grid's columns: registry names, headers and default widths.
inline constexpr int kCodeColumns = 9;
inline constexpr std::array<const char*, kCodeColumns> kCodeColumnValues = {
    "breakcol", "tracecol", "linecol", "addrcol", "codecol",
    "labcol",   "instcol",  "argcol",  "remcol"};
inline constexpr std::array<const char*, kCodeColumns> kCodeColumnHeaders = {
    "B", "T", "Line", "Addr", "Code", "Label", "Instr", "Operand", "Remarks"};
inline constexpr std::array<int, kCodeColumns> kCodeColumnDefaults = {225,  225, 735,  530, 530,
                                                                      2015, 600, 3100, 3940};

class IceView : public platform::Form, public PanelControls, public DebugView {
 public:
  explicit IceView(MonitorState& state);

  QLabel* lblBreak;
  QLabel* lblProgram;

  // Search and font go to the program grid.
  platform::GridControl* SearchGrid() const override;
  FontControls FontTargets() const override;

  void OnLoad() override;
  void OnQueryUnload(bool& cancel) override;
  void OnUnload() override;
  void OnResize() override;
  void OnRestored() override;
  void OnKeyDown(int& keyCode, int shift) override;

  // Writes the marker and every default when the key lacks its marker.
  void LoadCodeWindowSettings();
  // The nine columns' widths from the registry and their headers.
  void SetupProgramGrid();

  // Run control (panel_run_control.cpp). MouseDown shows a button's pressed
  // picture, MouseUp runs its command on the selected target.
  void playimg_MouseDown(int button, int shift);
  void playimg_MouseUp(int button, int shift);
  void stepimg_MouseDown(int button, int shift);
  void stepimg_MouseUp(int button, int shift);
  void animimg_MouseDown(int button, int shift);
  void animimg_MouseUp(int button, int shift);
  void timAnimate_Timer();
  void stopimg_MouseDown(int button, int shift);
  void stopimg_MouseUp(int button, int shift);
  void resetimg_MouseDown(int button, int shift);
  void resetimg_MouseUp(int button, int shift);
  void connectimg_MouseUp(int button, int shift);
  void HoldDownloadButton();
  void RefreshTimer_Timer();
  void trcimg_MouseDown(int button, int shift);
  void trcimg_MouseUp(int button, int shift);
  // The program grid's row of the current program counter, selected.
  void ShowProgramCounterRow();
  void* OpenPeriphery() override;
  void FitPeriphery() override;
  void* PeripheryFrame() const override;
  void RestorePeriphery() override;

  // Register editing (panel_registers.cpp): user edits only; the displays
  // set these controls without reaching the handlers.
  void AccText_Change();
  void IndexText_KeyDown(int keyCode);
  void Pc1Text_KeyDown(int keyCode);
  void Pc2Text_KeyDown(int keyCode);
  void Pc3text_KeyDown(int keyCode);
  void Pc1option_Click();
  void Pc2Option_Click();
  void Pc3Option_Click();
  void CarryCheck_Click();
  void CarryIntCheck_Click();
  void ZeroCheck_Click();
  void InterruptCheck_Click();
  void HaltCheck_Click();
  void brkimg_MouseDown(int button, int shift);
  void brkimg_MouseUp(int button, int shift);
  void datimg_MouseDown(int button, int shift);
  void datimg_MouseUp(int button, int shift);
  void Intimg_MouseDown(int button, int shift);
  void Intimg_MouseUp(int button, int shift);
  void intmuximg_MouseDown(int button, int shift);
  void intmuximg_MouseUp(int button, int shift);
  void tv1muximg_MouseDown(int button, int shift);
  void tv1muximg_MouseUp(int button, int shift);
  void tv2muximg_MouseDown(int button, int shift);
  void tv2muximg_MouseUp(int button, int shift);
  void tv3muximg_MouseDown(int button, int shift);
  void tv3muximg_MouseUp(int button, int shift);
  void pintimg_Click();
  void ptv1img_Click();
  void ptv2img_Click();
  void ptv3img_Click();

 private:
  void BuildControls();
  // The periphery host beside the panel, while the panel hosts one.
  void PlacePeripheryBeside();
  // Connect the handlers above and the grid's, Load's, Download's and
  // Connect's to their controls; each is defined beside its handlers.
  void BindProgramGrid();
  void BindCodeLoad();
  void BindConnect();
  void BindRunControl();
  void BindRegisterEditing();
  // A program-counter box on Enter: words 3..5, redrawn by `display` when
  // the entry is refused.
  void PcText_KeyDown(QLineEdit* box, int word, void (*display)(MonitorState&), int keyCode);
  void StackLevel_Click(int level);
  void Flag_Click(QCheckBox* box, int word);
  // A picture switch of a CpuState word: the pressed picture of the state it
  // is to take, then the toggle and its display.
  void Switch_MouseDown(platform::ImageButton* image, int word, const char* setStem,
                        const char* clearStem);
  void Switch_MouseUp(int word, bool marksDirty, void (*display)(MonitorState&));
  // An option switch of the emulator: its command bit toggled, then the
  // dispatch when the emulator runs.
  void PortOption_Click(int bit, void (*display)(MonitorState&));
  void ApplyColumns(const std::vector<double>& widths);
  // The periphery host the panel loaded, while it is loaded.
  Display* Host() const;

  // The windows in front of the panel (panel_front_windows.cpp). A press
  // that activates the panel raises it over them; the Load button brings
  // those that stood in front before its press back in front once it has
  // loaded.
  using Windows = std::vector<QPointer<QMdiSubWindow>>;
  // The visible windows stacked in front of the panel, back to front.
  Windows WindowsInFront() const;
  // Those in front of it before the press being handled.
  Windows WindowsInFrontBeforePress() const;
  // Raises `front` again, in its order, when one of them is behind the panel.
  void BringBackInFront(const Windows& front) const;
  // Notes the windows in front at each activation of the panel.
  void TrackActivation();

  MonitorState& state_;
  QPointer<Display> host_;
  // Noted while the event that activates the panel is handled.
  std::optional<Windows> frontAtActivation_;
  // Noted at the Load button's press.
  Windows frontAtLoad_;
  // The columns' widths as the last resize computed them, in twips.
  std::vector<double> exactWidths_;
};

}  // namespace monitor
