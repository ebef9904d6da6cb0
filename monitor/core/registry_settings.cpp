#include "core/registry_settings.h"

#include <sstream>

#include "core/services.h"
#include "settings/load_settings.h"
#include "settings/mdl_registry.h"

namespace monitor {

void BindRegistrySettings(SettingsServices& settings) {
  using platform::HKEY_CURRENT_USER;
  settings.LoadSettings = [] { LoadSettings(); };
  settings.TipsWanted = [] {
    bool wanted = false;
    CheckShowTips(0, [&wanted] { wanted = true; });
    return wanted;
  };
  settings.GetDword = [](const std::string& key,
                         const std::string& name) -> std::optional<int32_t> {
    RegValue value = RegGetSetting(HKEY_CURRENT_USER, key, name);
    if (value.IsEmpty()) return std::nullopt;
    return value.AsNumber();
  };
  settings.SetString = [](const std::string& key, const std::string& name,
                          const std::string& value) {
    RegSetSetting(HKEY_CURRENT_USER, key, name, RegValue(value), platform::REG_SZ);
  };
  // The registry layer rounds a fractional number written as text (a font
  // size of 8.5, say) the way the stored DWORD expects.
  settings.SetDword = [](const std::string& key, const std::string& name, double value) {
    std::ostringstream text;
    text.precision(15);
    text << value;
    RegSetSetting(HKEY_CURRENT_USER, key, name, RegValue(text.str()), platform::REG_DWORD);
  };
}

}  // namespace monitor
