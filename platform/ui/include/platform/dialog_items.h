#pragma once
// The item calls of template dialogs, addressing a control by its id.
#include <string>

#include "platform/dialog.h"
#include "platform/pictures.h"

namespace platform {

constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;

bool SetDlgItemText(WindowHandle dialog, int id, const std::string& text);
std::string GetDlgItemText(WindowHandle dialog, int id);
// As Win32: at most `size` - 1 characters and a terminating zero; returns
// the number of characters copied (0 for an unknown item).
int GetDlgItemText(WindowHandle dialog, int id, char* buffer, int size);
bool SetDlgItemInt(WindowHandle dialog, int id, unsigned value, bool isSigned);
// The most characters an edit item takes from the user; false when the item
// is not an edit box.
bool SetEditLimit(WindowHandle dialog, int id, int characters);

// Scroll bars (the control's handle, as in WM_HSCROLL/WM_VSCROLL lParam or
// GetDlgItem). The position is kept within the range.
bool SetScrollRange(WindowHandle bar, int minimum, int maximum);
bool GetScrollRange(WindowHandle bar, int& minimum, int& maximum);
bool SetScrollPos(WindowHandle bar, int position);
int GetScrollPos(WindowHandle bar);

// Radio buttons and check boxes. Programmatic changes send no WM_COMMAND.
bool CheckRadioButton(WindowHandle dialog, int firstId, int lastId, int checkId);
bool CheckDlgButton(WindowHandle dialog, int id, int state);
int IsDlgButtonChecked(WindowHandle dialog, int id);

// Picture places: the picture drawn in the place's rectangle.
bool SetDlgItemPicture(WindowHandle dialog, int id, Picture picture);
Picture GetDlgItemPicture(WindowHandle dialog, int id);

}  // namespace platform
