#include "emulator/comm_settings.h"

#include <string>

#include "core/settings/mdl_registry.h"
#include "core/settings/registry_layout.h"

namespace monitor {
namespace {

std::string CommunicationsKey() {
  return FindLayoutKey("Communications")->path;
}

}  // namespace

CommSettings ReadCommSettings() {
  const std::string key = CommunicationsKey();
  CommSettings settings;
  settings.com = RegGetSetting(platform::HKEY_LOCAL_MACHINE, key, "Com").AsNumber();
  settings.baud = RegGetSetting(platform::HKEY_LOCAL_MACHINE, key, "Baud Rate").AsNumber();
  settings.buffered = RegGetSetting(platform::HKEY_LOCAL_MACHINE, key, "Buffed").AsNumber();
  return settings;
}

void StoreCommSettings(const CommSettings& settings) {
  const std::string key = CommunicationsKey();
  // Nothing else creates the key, and a value is never stored into a missing one.
  RegCreateKeyPath(platform::HKEY_LOCAL_MACHINE, key);
  const auto store = [&](const char* name, int32_t value) {
    RegSetSetting(platform::HKEY_LOCAL_MACHINE, key, name, std::to_string(value), platform::REG_SZ);
  };
  store("Buffed", settings.buffered);
  store("Baud Rate", settings.baud);
  store("Com", settings.com);
}

}  // namespace monitor
