#include "settings/load_settings.h"

#include "settings/mdl_registry.h"
#include "settings/registry_layout.h"

namespace monitor {

void LoadSettings() {
  for (const char* key : {"Recent Files", "Recent Projects", "monitor window", "editor window"}) {
    try {
      EnsureLayoutKey(key);
    } catch (...) {
      // The next key is still created.
    }
  }
}

void CheckShowTips(int32_t mainWindowState, const std::function<void()>& showTipModal) {
  RegValue stored = RegGetSetting(platform::HKEY_CURRENT_USER, kTavixKey, "Show Tips at Startup");
  if (stored.AsNumber() == 0 && mainWindowState != kWindowMinimized && showTipModal) showTipModal();
}

}  // namespace monitor
