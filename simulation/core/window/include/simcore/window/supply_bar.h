#pragma once
// The supply voltage bar of a periphery window: a vertical bar of range
// 0-500 (line 1, page 10) whose top is 5.00 V, and its text "%u.%02uV".
// The supply is kept in hundredths of a volt: supply = 500 - position.
#include <platform/dialog_items.h>

#include <cstdio>
#include <string>

#include "simcore/window/scroll_steps.h"

namespace simcore {

struct SupplyBar {
  int bar;   // the scroll bar's id
  int text;  // the text's id

  static constexpr int kMaximum = 500;

  static std::string Text(int supply) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%02uV", static_cast<unsigned>(supply / 100),
                  static_cast<unsigned>(supply % 100));
    return text;
  }

  // WM_INITDIALOG: range, position and text of `supply`.
  void init(platform::WindowHandle dialog, int supply) const {
    platform::WindowHandle b = platform::GetDlgItem(dialog, bar);
    platform::SetScrollRange(b, 0, kMaximum);
    platform::SetScrollPos(b, kMaximum - supply);
    platform::SetDlgItemText(dialog, text, Text(supply));
  }

  // A scroll message of bar `barId`: false when it is another bar; a code
  // that moves the bar sets the position, `supply` and the text.
  bool scroll(platform::WindowHandle dialog, int barId, uint16_t code, int thumb,
              int& supply) const {
    if (barId != bar) return false;
    platform::WindowHandle b = platform::GetDlgItem(dialog, bar);
    const std::optional<int> pos =
        ScrollTarget({0, kMaximum, 1, 10}, platform::GetScrollPos(b), code, thumb);
    if (pos) {
      platform::SetScrollPos(b, *pos);
      supply = kMaximum - *pos;
      platform::SetDlgItemText(dialog, text, Text(supply));
    }
    return true;
  }
};

// A byte as two hex digits, high nibble first ("%X%X").
inline std::string HexByteText(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%X%X", (value >> 4) & 15, value & 15);
  return text;
}

}  // namespace simcore
