#pragma once
// Binds the workbench's small windows into the monitor: the forms
// "Dissassamble_params", "frmAbout" and "frmTip", and the main window's
// commands DisassembleBinary and ConvertCodToBin. The program calls it before
// Main, so the menus that need them are enabled. Any window opens them by
// name: Forms.Load("Dissassamble_params"), Forms.ShowModal("frmAbout") or
// Forms.ShowModal("frmTip").
namespace monitor {

class MonitorState;

void BindWorkbenchTools(MonitorState& state);

}  // namespace monitor
