#include "platform/registry.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "hive_file.h"

namespace platform {
namespace {

using hive::HiveFile;
using hive::Key;

struct OpenKey {
  int hive;                           // 0 HKEY_CURRENT_USER, 1 HKEY_LOCAL_MACHINE
  std::vector<std::string> segments;  // the path below the root
  uint32_t access;
};

struct Registry {
  std::mutex mutex;
  HiveFile hives[2] = {HiveFile("HKEY_CURRENT_USER"), HiveFile("HKEY_LOCAL_MACHINE")};
  std::unordered_map<HKEY, OpenKey> handles;
  HKEY lastHandle = 0;

  HKEY Issue(OpenKey key) {
    // Handles count up and are never reused, so a closed one stays invalid.
    do ++lastHandle;
    while (lastHandle == 0 || lastHandle == HKEY_CURRENT_USER || lastHandle == HKEY_LOCAL_MACHINE ||
           handles.count(lastHandle));
    handles.emplace(lastHandle, std::move(key));
    return lastHandle;
  }

  // The open key behind a handle that carries `access`.
  int32_t Lookup(HKEY handle, uint32_t access, const OpenKey*& open) const {
    auto it = handles.find(handle);
    if (it == handles.end()) return ERROR_INVALID_HANDLE;
    if (!(it->second.access & access)) return ERROR_ACCESS_DENIED;
    open = &it->second;
    return ERROR_SUCCESS;
  }
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

int HiveOf(HKEY root) {
  if (root == HKEY_CURRENT_USER) return 0;
  if (root == HKEY_LOCAL_MACHINE) return 1;
  return -1;
}

// Opens the key at `subKey` below `root`; with `create`, missing keys along
// the path are created first.
int32_t OpenKeyAt(HKEY root, const std::string& subKey, uint32_t access, HKEY* result,
                  bool create) {
  if (result) *result = 0;
  int hiveIndex = HiveOf(root);
  if (hiveIndex < 0) return ERROR_INVALID_HANDLE;
  std::vector<std::string> segments;
  if (!result || !hive::SplitKeyPath(subKey, segments)) return ERROR_INVALID_PARAMETER;
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  HiveFile& hive = r.hives[hiveIndex];
  std::string folder = RegistryFolder();
  // An existing key needs no lock and no save.
  if (!hive::FindKey(hive.Current(folder), segments)) {
    if (!create) return ERROR_FILE_NOT_FOUND;
    int32_t status = hive.Change(folder, [&](Key& tree, bool& changed) {
      Key* key = &tree;
      for (const std::string& name : segments) key = &key->Child(name, changed);
      return ERROR_SUCCESS;
    });
    if (status != ERROR_SUCCESS) return status;
  }
  *result = r.Issue(OpenKey{hiveIndex, std::move(segments), access});
  return ERROR_SUCCESS;
}

}  // namespace

std::string RegistryFolder() {
  std::string folder;
  if (const char* dir = std::getenv("TAVIX_REGISTRY_DIR"); dir && *dir) {
    folder = dir;
  } else if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) {
    folder = std::string(config) + "/Corvane";
  } else {
    const char* home = std::getenv("HOME");
    folder = std::string(home && *home ? home : ".") + "/.config/Corvane";
  }
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

int32_t RegCreateKeyEx(HKEY root, const std::string& subKey, uint32_t access, HKEY* result) {
  return OpenKeyAt(root, subKey, access, result, true);
}

int32_t RegOpenKeyEx(HKEY root, const std::string& subKey, uint32_t access, HKEY* result) {
  return OpenKeyAt(root, subKey, access, result, false);
}

int32_t RegSetValueEx(HKEY key, const std::string& name, uint32_t type, const void* data,
                      uint32_t size) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  const OpenKey* open = nullptr;
  if (int32_t status = r.Lookup(key, KEY_SET_VALUE, open)) return status;
  if (!data && size) return ERROR_INVALID_PARAMETER;
  std::string bytes = data ? std::string(static_cast<const char*>(data), size) : std::string();
  return r.hives[open->hive].Change(RegistryFolder(), [&](Key& tree, bool& changed) {
    Key* k = hive::FindKey(tree, open->segments);
    if (!k) return ERROR_FILE_NOT_FOUND;
    changed = k->SetValue(name, type, bytes);
    return ERROR_SUCCESS;
  });
}

int32_t RegQueryValueEx(HKEY key, const std::string& name, uint32_t* type, void* data,
                        uint32_t* size) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  const OpenKey* open = nullptr;
  if (int32_t status = r.Lookup(key, KEY_QUERY_VALUE, open)) return status;
  if (data && !size) return ERROR_INVALID_PARAMETER;
  Key* k = hive::FindKey(r.hives[open->hive].Current(RegistryFolder()), open->segments);
  hive::Value* v = k ? k->FindValue(name) : nullptr;
  if (!v) return ERROR_FILE_NOT_FOUND;
  if (type) *type = v->type;
  uint32_t length = static_cast<uint32_t>(v->bytes.size());
  if (!data) {
    if (size) *size = length;
    return ERROR_SUCCESS;
  }
  bool fits = *size >= length;
  *size = length;
  if (!fits) return ERROR_MORE_DATA;
  std::memcpy(data, v->bytes.data(), length);
  return ERROR_SUCCESS;
}

int32_t RegCloseKey(HKEY key) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  return r.handles.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

}  // namespace platform
