#pragma once
// Start-up settings: the keys every window relies on, and the tips decision.
#include <cstdint>
#include <functional>

namespace monitor {

// The window state a minimized main window reports.
inline constexpr int32_t kWindowMinimized = 1;

// Creates "Recent Files", "Recent Projects", "monitor window" and "editor
// window" with their markers and defaults where the marker is missing. A
// step that fails is skipped; when every key is present nothing is written.
void LoadSettings();

// Shows the tips (`showTipModal`, which returns when the user closes them)
// when "Show Tips at Startup" is missing or 0 and the main window is not
// minimized.
void CheckShowTips(int32_t mainWindowState, const std::function<void()>& showTipModal);

}  // namespace monitor
