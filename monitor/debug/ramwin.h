#pragma once
// The RAM window: all 128 register cells with their symbol labels, addresses
// and values; a value is changed in place in the Data column.
#include <QString>
#include <cstdint>

#include "core/debug_view.h"
#include "platform/edit_box.h"
#include "platform/forms.h"
#include "platform/grid_control.h"

namespace monitor {

class MonitorState;

class RAMWin : public platform::Form, public DebugView {
 public:
  static constexpr int kLabel = 0, kAddress = 1, kData = 2;

  explicit RAMWin(MonitorState& state);

  platform::GridControl* grdRAM;
  platform::EditBox* RAMEditBox;

  platform::GridControl* SearchGrid() const override { return grdRAM; }
  FontControls FontTargets() const override { return {grdRAM, grdRAM, {RAMEditBox}}; }

  int16_t EditRow = 0;
  QString EditText;
  int16_t MouseX = 0, MouseY = 0;

  void OnLoad() override;
  void OnUnload() override;
  void OnResize() override;

  void InitRamWindowSettings();
  void SetupRamGrid();
  // The register cells' values into the Data column.
  void DrawValues();
  // The value in EditText into the cell of the current row (row - 1).
  void WriteRamCell();

  void grdRAM_DblClick();
  // Enter applies the edit, any other close drops it.
  void ApplyEdit();
  void DropEdit();

 private:
  MonitorState& state_;
};

// Labels, addresses and values of the RAM window, loading it; the labels
// come from the watch window's symbols.
void FillRamWindow(MonitorState& state);

}  // namespace monitor
