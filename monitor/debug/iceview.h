#pragma once
// The emulator control panel IceView: an MDI child with the register boxes,
// flags, stop-cause panels, image buttons and the program grid. Loading it in
// simulation binds the project's controller through STDK42XX and opens the
// chip's periphery window in the host Display; closing it hands the
// controller options back to the project and unloads the chip module. Its
// window settings live under the registry key "code window".
#include <QLabel>
#include <array>
#include <cstdint>
#include <vector>

#include "core/panel_controls.h"
#include "platform/forms.h"

namespace monitor {

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


class IceView : public platform::Form, public PanelControls {
 public:
  explicit IceView(MonitorState& state);

  QLabel* lblBreak;
  QLabel* lblProgram;

  void OnLoad() override;
  void OnQueryUnload(bool& cancel) override;
  void OnUnload() override;
  void OnResize() override;
  void OnKeyDown(int& keyCode, int shift) override;

  // Writes the marker and every default when the key lacks its marker.
  void LoadCodeWindowSettings();
  // The nine columns' widths from the registry and their headers.
  void SetupProgramGrid();

 private:
  void BuildControls();
  void BindController();
  void ApplyColumns(const std::vector<double>& widths);

  MonitorState& state_;
  // The project the panel was opened for: its options go back only there.
  uint32_t projectAtLoad_ = 0;
  // The columns' widths as the last resize computed them, in twips.
  std::vector<double> exactWidths_;
};

}  // namespace monitor
