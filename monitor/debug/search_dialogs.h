#pragma once
// Binds the find and go-to-label dialogs: their forms, and the operations the
// main window's Search menu and the code load call (ShowFindDialog,
// FindNextInView, FillLabelList, ClearLabelPrefix).
namespace monitor {

class MonitorState;

void RegisterSearchDialogs(MonitorState& state);

// Whether the go-to-label dialog is loaded (shown or not).
bool GoLabelDialogOpen(const MonitorState& state);

}  // namespace monitor
