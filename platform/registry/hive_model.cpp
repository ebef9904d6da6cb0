#include "hive_model.h"

namespace platform::hive {

std::string UpperAscii(const std::string& text) {
  std::string upper = text;
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

Key::~Key() {
  std::vector<std::unique_ptr<Key>> pending;
  for (auto& [upper, child] : children) pending.push_back(std::move(child));
  children.clear();
  while (!pending.empty()) {
    std::unique_ptr<Key> key = std::move(pending.back());
    pending.pop_back();
    for (auto& [upper, child] : key->children) pending.push_back(std::move(child));
    key->children.clear();
  }
}

Value* Key::FindValue(const std::string& valueName) {
  auto it = valueIndex_.find(UpperAscii(valueName));
  return it == valueIndex_.end() ? nullptr : &values[it->second];
}

Key* Key::FindChild(const std::string& childName) const {
  auto it = children.find(UpperAscii(childName));
  return it == children.end() ? nullptr : it->second.get();
}

Key& Key::Child(const std::string& childName, bool& created) {
  auto& slot = children[UpperAscii(childName)];
  if (!slot) {
    slot = std::make_unique<Key>();
    slot->name = childName;
    created = true;
  }
  return *slot;
}

bool Key::SetValue(const std::string& valueName, uint32_t type, const std::string& bytes) {
  if (Value* v = FindValue(valueName)) {
    if (v->type == type && v->bytes == bytes) return false;
    v->type = type;
    v->bytes = bytes;
    return true;
  }
  valueIndex_.emplace(UpperAscii(valueName), values.size());
  values.push_back(Value{valueName, type, bytes});
  return true;
}

bool SplitKeyPath(const std::string& path, std::vector<std::string>& segments) {
  segments.clear();
  size_t start = 0;
  while (start < path.size()) {
    size_t sep = path.find('\\', start);
    size_t end = sep == std::string::npos ? path.size() : sep;
    if (end == start) return false;  // "\\" at the start or twice in a row
    if (segments.size() == kMaxKeyDepth) return false;
    std::string name = path.substr(start, end - start);
    for (unsigned char c : name)
      if (c < 0x20 || c == 0x7F) return false;
    segments.push_back(std::move(name));
    start = end + 1;  // past a trailing '\' the loop ends
  }
  return true;
}

Key* FindKey(Key& root, const std::vector<std::string>& segments) {
  Key* key = &root;
  for (const std::string& s : segments) {
    key = key->FindChild(s);
    if (!key) return nullptr;
  }
  return key;
}

}  // namespace platform::hive
