#pragma once
// The positions a scroll bar of a periphery window moves to. The bar does not
// move by itself: the dialog procedure takes the scroll code and sets the
// new position, or leaves the bar alone when the code cannot move it.
#include <platform/dialog.h>

#include <algorithm>
#include <optional>

namespace simcore {

struct ScrollSteps {
  int minimum, maximum;
  int line = 1;
  int page = 10;
};

// Line steps move by `line`, page steps by `page` (to the end when fewer
// remain), thumb tracking to the thumb; a code that cannot move the bar (a
// step up at the minimum, down at the maximum) and every other code give
// nothing.
inline std::optional<int> ScrollTarget(const ScrollSteps& s, int position, uint16_t code, int thumb) {
  int next;
  switch (code) {
    case platform::SB_LINEUP: next = position - s.line; break;
    case platform::SB_LINEDOWN: next = position + s.line; break;
    case platform::SB_PAGEUP: next = position - s.page; break;
    case platform::SB_PAGEDOWN: next = position + s.page; break;
    case platform::SB_THUMBTRACK: next = thumb; break;
    default: return std::nullopt;
  }
  next = std::clamp(next, s.minimum, s.maximum);
  if (next == position) return std::nullopt;
  return next;
}

}  // namespace simcore
