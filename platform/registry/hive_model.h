#pragma once
// The in-memory tree of one hive.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace platform::hive {

struct Value {
  std::string name;  // first spelling; "" is the unnamed value
  uint32_t type = 0;
  std::string bytes;
};

struct Key {
  std::string name;                                      // first spelling
  std::vector<Value> values;                             // in the order they were first created
  std::map<std::string, std::unique_ptr<Key>> children;  // by upper-cased name: the file's order

  Value* FindValue(const std::string& valueName);
  Key* FindChild(const std::string& childName) const;
  // The child of that name, created when missing (`created` set then).
  Key& Child(const std::string& childName, bool& created);
  // Sets a value in place, or appends it. False when it held that already.
  bool SetValue(const std::string& valueName, uint32_t type, const std::string& bytes);
};

// ASCII letters upper-cased; every other byte unchanged.
std::string UpperAscii(const std::string& text);
bool EqualNoCase(const std::string& a, const std::string& b);

// Splits a key path at '\'. A trailing '\' is allowed and "" is the root;
// any other empty segment, or a control character in a name, gives false.
bool SplitKeyPath(const std::string& path, std::vector<std::string>& segments);

// The key at `segments` below `root`, or null.
Key* FindKey(Key& root, const std::vector<std::string>& segments);

}  // namespace platform::hive
