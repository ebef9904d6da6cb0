#pragma once

namespace monitor {

struct SettingsServices;

// Binds the settings operations of the core to the registry (HKEY_CURRENT_USER,
// keys named by their full path).
void BindRegistrySettings(SettingsServices& settings);

}  // namespace monitor
