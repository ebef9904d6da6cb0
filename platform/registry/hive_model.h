#pragma once
// The in-memory tree of one hive.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform::hive {

struct Value {
  std::string name;  // first spelling; "" is the unnamed value
  uint32_t type = 0;
  std::string bytes;
};

// The deepest key path the registry keeps: deeper lines do not parse and
// deeper paths are invalid parameters.
inline constexpr size_t kMaxKeyDepth = 512;

struct Key {
  std::string name;                                      // first spelling
  std::vector<Value> values;                             // in the order they were first created
  std::map<std::string, std::unique_ptr<Key>> children;  // by upper-cased name: the file's order

  Key() = default;
  Key(Key&&) = default;
  Key& operator=(Key&&) = default;
  // Frees the subtree without recursion, however deep it is.
  ~Key();

  Value* FindValue(const std::string& valueName);
  Key* FindChild(const std::string& childName) const;
  // The child of that name, created when missing (`created` set then).
  Key& Child(const std::string& childName, bool& created);
  // Sets a value in place, or appends it. False when it held that already.
  bool SetValue(const std::string& valueName, uint32_t type, const std::string& bytes);

 private:
  std::unordered_map<std::string, size_t> valueIndex_;  // upper-cased name -> place in `values`
};

// ASCII letters upper-cased; every other byte unchanged.
std::string UpperAscii(const std::string& text);
bool EqualNoCase(const std::string& a, const std::string& b);

// Splits a key path at '\'. A trailing '\' is allowed and "" is the root;
// any other empty segment, a control character in a name, or more than
// kMaxKeyDepth segments give false.
bool SplitKeyPath(const std::string& path, std::vector<std::string>& segments);

// The key at `segments` below `root`, or null.
Key* FindKey(Key& root, const std::vector<std::string>& segments);

}  // namespace platform::hive
