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
  // Also SB_THUMBPOSITION (to the thumb), SB_TOP and SB_BOTTOM (to the ends).
  bool ends = false;
};

// Line steps move by `line`, page steps by `page` (to the end when fewer
// remain), thumb tracking to the thumb (with `ends` also the thumb position
// and the two ends); a code that cannot move the bar (a
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
    case platform::SB_THUMBPOSITION:
      if (!s.ends) return std::nullopt;
      next = thumb;
      break;
    case platform::SB_TOP:
      if (!s.ends) return std::nullopt;
      next = s.minimum;
      break;
    case platform::SB_BOTTOM:
      if (!s.ends) return std::nullopt;
      next = s.maximum;
      break;
    default: return std::nullopt;
  }
  next = std::clamp(next, s.minimum, s.maximum);
  if (next == position) return std::nullopt;
  return next;
}

}  // namespace simcore
