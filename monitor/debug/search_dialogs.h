#pragma once
// Binds the find and go-to-label dialogs: their forms, and the operations the
// main window's Search menu and the code load call (ShowFindDialog,
// FindNextInView, FillLabelList, ClearLabelPrefix).
namespace monitor {

class MonitorState;

void RegisterSearchDialogs(MonitorState& state);

// Lists the labels again in the go-to-label dialog while it is loaded
// (shown or not); nothing while it is not.
void RefillOpenLabelList(MonitorState& state);

}  // namespace monitor
