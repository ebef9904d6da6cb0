#include "settings/link_settings.h"

#include "settings/mdl_registry.h"
#include "settings/registry_layout.h"

namespace monitor {
namespace {

std::string PathOf(const std::string& key) {
  return FindLayoutKey(key)->path;
}

}  // namespace

LinkSettings ReadLinkSettings(const std::string& key) {
  const std::string path = PathOf(key);
  const auto read = [&](const char* name) {
    return RegGetSetting(platform::HKEY_LOCAL_MACHINE, path, name).AsNumber();
  };
  LinkSettings settings;
  settings.com = read("Com");
  settings.baud = read("Baud Rate");
  settings.buffered = read("Buffed");
  return settings;
}

void CreateLinkSettingsKey(const std::string& key) {
  RegCreateKeyPath(platform::HKEY_LOCAL_MACHINE, PathOf(key));
}

void StoreLinkSettings(const std::string& key, const LinkSettingTexts& texts) {
  const std::string path = PathOf(key);
  RegCreateKeyPath(platform::HKEY_LOCAL_MACHINE, path);
  const auto store = [&](const char* name, const std::string& text) {
    RegSetSetting(platform::HKEY_LOCAL_MACHINE, path, name, text, platform::REG_SZ);
  };
  store("Buffed", texts.buffered);
  store("Baud Rate", texts.baud);
  store("Com", texts.com);
}

}  // namespace monitor
