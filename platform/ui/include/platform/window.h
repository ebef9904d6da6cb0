#pragma once
// Calls on window handles: a QWidget carried as a pointer-sized handle (a
// host window, a dialog or one of its controls).
#include <string>

#include "platform/messages.h"

namespace platform {

// A rectangle in pixels (dialog units before MapDialogRect).
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

enum ShowCommand : int {
  SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3,
  SW_SHOWNOACTIVATE = 4, SW_SHOW = 5, SW_MINIMIZE = 6, SW_SHOWMINNOACTIVE = 7,
  SW_SHOWNA = 8, SW_RESTORE = 9,
};

// The window text: a control's text, or the title of any other window.
bool SetWindowText(WindowHandle window, const std::string& text);
std::string GetWindowText(WindowHandle window);
// As Win32: copies at most `size` - 1 characters and a terminating zero;
// returns the number of characters copied.
int GetWindowText(WindowHandle window, char* buffer, int size);

// Moves and resizes without activating or raising anything.
bool MoveWindow(WindowHandle window, int x, int y, int width, int height);
// Screen coordinates of the whole window, and its client area from (0, 0).
Rect GetWindowRect(WindowHandle window);
Rect GetClientRect(WindowHandle window);

// Shows, hides, minimizes or restores. Minimize and restore act on the
// window's frame: the window itself when it is a top-level window or an MDI
// sub-window, or the MDI sub-window holding it. Showing never activates.
bool ShowWindow(WindowHandle window, int command);
// True when the window is not on the screen because it, or a frame holding
// it, is hidden or minimized.
bool IsIconic(WindowHandle window);
bool IsWindowVisible(WindowHandle window);
bool EnableWindow(WindowHandle window, bool enable);
bool IsWindowEnabled(WindowHandle window);

// A dialog's control by id (null when there is none), and a control's id.
WindowHandle GetDlgItem(WindowHandle dialog, int id);
int GetDlgCtrlID(WindowHandle control);

}  // namespace platform
