#include "settings/registry_layout.h"

#include "settings/mdl_registry.h"

namespace monitor {

using platform::HKEY_CURRENT_USER;
using platform::HKEY_LOCAL_MACHINE;

namespace {

constexpr int32_t SZ = platform::REG_SZ;
constexpr int32_t DW = platform::REG_DWORD;

std::string Below(const char* name) {
  return std::string(kTavixKey) + "\\" + name;
}

// A debug view's key: its window state and font.
LayoutKey ViewKey(const char* name) {
  return {name,
          HKEY_CURRENT_USER,
          Below(name),
          "Default",
          {{"windowstate", DW, "2"}, {"fontname", SZ, "Courier New"}, {"fontsize", DW, "8"}}};
}

std::vector<LayoutKey> MakeLayout() {
  return {
      {"Tavix", HKEY_CURRENT_USER, kTavixKey, "", {}},
      {"Recent Files", HKEY_CURRENT_USER, Below("Recent Files"), "Not Used", {}},
      {"Recent Projects", HKEY_CURRENT_USER, Below("Recent Projects"), "Not Used", {}},
      {"monitor window",
       HKEY_CURRENT_USER,
       Below("monitor window"),
       "Default",
       {{"windowstate", DW, "2"}}},
      {"editor window",
       HKEY_CURRENT_USER,
       Below("editor window"),
       "Default",
       {{"fontname", SZ, "Courier New"}, {"fontsize", DW, "8"}}},
      {"code window",
       HKEY_CURRENT_USER,
       Below("code window"),
       "Default",
       {{"windowstate", DW, "2"},
        {"height", DW, "6600"},
        {"width", DW, "12000"},
        {"top", DW, "0"},
        {"left", DW, "0"},
        {"fontname", SZ, "Courier New"},
        {"fontsize", DW, "8"},
        {"breakcol", DW, "225"},
        {"tracecol", DW, "225"},
        {"linecol", DW, "735"},
        {"addrcol", DW, "530"},
        {"codecol", DW, "530"},
        {"labcol", DW, "2015"},
        {"instcol", DW, "600"},
        {"argcol", DW, "3100"},
        {"remcol", DW, "3940"}}},
      ViewKey("watch window"),
      ViewKey("trace window"),
      ViewKey("ram window"),
      {"Communications", HKEY_LOCAL_MACHINE, Below("Communications"), "", {}},
      {"MTPCOMM", HKEY_LOCAL_MACHINE, Below("MTPCOMM"), "", {}},
      {"PELTO Programmer", HKEY_CURRENT_USER, kProgrammerKey, "", {}},
  };
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
  for (size_t i = 0; i < a.size(); ++i)
    if (upper(a[i]) != upper(b[i])) return false;
  return true;
}

}  // namespace

const std::vector<LayoutKey>& RegistryLayout() {
  static const std::vector<LayoutKey> layout = MakeLayout();
  return layout;
}

const LayoutKey* FindLayoutKey(const std::string& name) {
  for (const LayoutKey& key : RegistryLayout())
    if (EqualNoCase(key.name, name)) return &key;
  return nullptr;
}

bool EnsureLayoutKey(const std::string& name) {
  const LayoutKey* key = FindLayoutKey(name);
  if (!key) return false;
  std::string marker = key->marker;
  if (marker.empty()) {
    RegCreateKeyPath(key->root, key->path);
    return true;
  }
  std::string current = RegGetSetting(key->root, key->path, "").AsText();
  if (current.compare(0, marker.size(), marker) == 0) return true;
  RegCreateKeyPath(key->root, key->path);
  RegSetSetting(key->root, key->path, "", marker, SZ);
  for (const LayoutDefault& d : key->defaults)
    RegSetSetting(key->root, key->path, d.name, d.value, d.type);
  return true;
}

}  // namespace monitor
