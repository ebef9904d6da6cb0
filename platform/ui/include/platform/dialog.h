#pragma once
// Dialogs built from templates: a table of controls laid out in dialog units,
// and a dialog procedure that receives the Win32 message numbers. The dialog
// is a Qt widget; its handle (the widget as a pointer-sized value) is a
// target of PostMessage, so a model can post redraw requests to it.
//
// Messages the procedure receives:
//   WM_INITDIALOG  once, from CreateDialog, before the dialog is shown (lParam: the param)
//   WM_COMMAND     a button, radio button or check box was clicked:
//                  wParam = MAKEWPARAM(id, BN_CLICKED), lParam = the control's handle
//   WM_HSCROLL / WM_VSCROLL  a scroll bar was operated: wParam = MAKEWPARAM(SB_ code,
//                  thumb position), lParam = the bar's handle. The bar does not
//                  move by itself: the procedure sets its position (SetScrollPos).
//   WM_PAINT       the dialog became visible again (shown, restored): redraw everything
//   WM_USER + n    posted by the program (PostMessage, PostCoalescedMessage)
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "platform/messages.h"
#include "platform/window.h"

namespace platform {

constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_INITDIALOG = 0x0110;
constexpr uint32_t WM_COMMAND = 0x0111;
constexpr uint32_t WM_HSCROLL = 0x0114;
constexpr uint32_t WM_VSCROLL = 0x0115;

constexpr uint16_t BN_CLICKED = 0;

// Scroll codes (LOWORD of wParam of the scroll messages).
enum ScrollCode : uint16_t {
  SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1,
  SB_PAGEUP = 2, SB_PAGELEFT = 2, SB_PAGEDOWN = 3, SB_PAGERIGHT = 3,
  SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5, SB_TOP = 6, SB_LEFT = 6,
  SB_BOTTOM = 7, SB_RIGHT = 7, SB_ENDSCROLL = 8,
};

constexpr uintptr_t MAKEWPARAM(uint16_t low, uint16_t high) {
  return static_cast<uintptr_t>(low) | (static_cast<uintptr_t>(high) << 16);
}
constexpr uint16_t LOWORD(uintptr_t value) { return static_cast<uint16_t>(value & 0xFFFF); }
constexpr uint16_t HIWORD(uintptr_t value) { return static_cast<uint16_t>((value >> 16) & 0xFFFF); }

// The id of controls nobody addresses.
constexpr int IDC_STATIC = -1;

enum class ControlKind {
  GroupBox,     // a frame with a caption, behind the controls inside it
  Text,         // static text
  Place,        // a picture place (LEDs, markers): see SetDlgItemPicture
  PushButton,
  RadioButton,  // automatic: a click checks it and clears the others of its group
  CheckBox,     // automatic: a click toggles it
  Edit,         // single-line edit
  List,         // read-only multi-line edit with a vertical scroll bar; lines end in "\r\n"
  VScroll,
  HScroll,
};

// Control styles of the template (ours, not Win32 bits).
enum ControlStyle : unsigned {
  kAlignLeft = 0x0,
  kAlignCenter = 0x1,
  kAlignRight = 0x2,
  kGroupStart = 0x10,  // a radio button that starts a new group
  kHidden = 0x20,      // created hidden (ShowWindow shows it)
  kDisabled = 0x40,
};

struct ControlTemplate {
  int id;
  ControlKind kind;
  const char* text;
  int x, y, width, height;  // dialog units
  unsigned style = 0;
};

struct DialogTemplate {
  const char* name;
  int width, height;              // dialog units
  const char* fontFamily = nullptr;  // null: the application's font
  int fontPoints = 8;
  std::vector<ControlTemplate> controls;
};

// Creates the dialog as a child of `parent` (a QWidget handle), builds its
// controls, and calls `procedure` with WM_INITDIALOG (lParam = `param`) before
// returning. The dialog stays hidden until ShowWindow; showing never
// activates it. Returns null for a null parent.
WindowHandle CreateDialog(const DialogTemplate& dialogTemplate, WindowHandle parent,
                          WindowProcedure procedure, intptr_t param = 0);

// Destroys a dialog at once (never deferred), with its pending messages.
bool DestroyWindow(WindowHandle dialog);

// Calls the dialog's procedure directly. Returns 0 for a handle that is no
// dialog.
intptr_t SendMessage(WindowHandle dialog, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Dialog units to pixels with the dialog's font (x: a quarter of the average
// character width, y: an eighth of the character height).
bool MapDialogRect(WindowHandle dialog, Rect& rect);

}  // namespace platform
