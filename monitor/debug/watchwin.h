#pragma once
// The watch window: the user's watch list (grdData) with each cell's value,
// marks and data-breakpoint condition, and the program's register symbols
// (grdSymbols) beside it. The window keeps the monitor's WatchList in step
// with its grids and draws the values the core puts into it.
#include <QLabel>
#include <QString>
#include <cstdint>

#include "core/debug_view.h"
#include "platform/edit_box.h"
#include "platform/forms.h"
#include "platform/grid_control.h"

namespace monitor {

class MonitorState;

class Watchwin : public platform::Form, public DebugView {
 public:
  // grdData's columns.
  static constexpr int kLabel = 0, kAddr = 1, kData = 2, kRead = 3, kWrite = 4, kIo = 5, kRel = 6,
                       kMatch = 7;

  explicit Watchwin(MonitorState& state);
  ~Watchwin() override;

  QLabel* lblData;
  platform::GridControl* grdData;
  QLabel* lblSymbols;
  platform::GridControl* grdSymbols;
  platform::EditBox* Text1;     // Data
  platform::EditBox* Text2;     // Addr
  platform::EditBox* txtInput;  // Rel/Match

  // Search goes through the symbols; the font is the watch list's, preset
  // from the input box.
  platform::GridControl* SearchGrid() const override { return grdSymbols; }
  FontControls FontTargets() const override {
    return {grdData, txtInput, {grdSymbols, txtInput, Text1, Text2}};
  }

  // The window's own state.
  int16_t EditRow = 0;
  QString EditText;
  bool Text1Open = false, Text2Open = false, InputOpen = false;
  QString PendingLabel, PendingValue;
  int16_t SelectedRow = 0;
  int16_t MouseX = 0, MouseY = 0;

  void OnLoad() override;
  void OnUnload() override;
  void OnResize() override;

  void LoadWatchWindowSettings();
  void SetupDataGrid();
  void SetupSymbolGrid();
  // The condition in EditText onto the current row (grid and cell).
  void ApplyWatchInput();
  // The value in EditText into the current row's cell.
  void WriteWatchValue();
  // The address in EditText into the current row.
  void ApplyWatchAddress();
  // Toggles the mark of the current cell (8 R, 16 W, 32 IO).
  void ToggleWatchMark(int32_t mask);

  void grdData_DblClick();
  void grdData_KeyDown(int& keyCode, int shift);
  void grdSymbols_DblClick();

  // An editor closed by Enter applies its text; any other close drops it.
  void ApplyEdit(platform::EditBox* editor);
  void DropEdit(platform::EditBox* editor);

 private:
  // The grid's rows and current row into the monitor's WatchList, after
  // every change the window makes.
  void KeepList();
  // The list's rows and current row into the grid.
  void DrawList();
  // The list emptied and its drawing dropped, as the window goes.
  void ForgetList();
  void EditorKeyDown(platform::EditBox* editor, int& keyCode);
  void EditorLostFocus(platform::EditBox* editor);
  void OpenEditor(platform::EditBox* editor, int row, int col);
  bool& OpenFlag(platform::EditBox* editor);
  int32_t RowAddress(int row) const;
  void SelectRow(int row);

  MonitorState& state_;
};

// The rest of a cell write from either window: on the emulator the index
// register follows cells 110/111 and the data memory is read back; then the
// watch, RAM and index displays.
void FinishCellWrite(MonitorState& state, int32_t address);

}  // namespace monitor
