#pragma once
// The monitor's registry layout: every key with its root, its marker and the
// defaults written with the marker. Each default exists here once; the
// windows that own a key create it through `EnsureLayoutKey` when they load.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace monitor {

inline constexpr char kTavixKey[] = "SOFTWARE\\Corvane\\Tavix";
inline constexpr char kProgrammerKey[] = "SOFTWARE\\Corvane\\PELTO Programmer";

struct LayoutDefault {
  const char* name;   // "" for the unnamed value
  int32_t type;       // REG_SZ or REG_DWORD
  const char* value;  // as text; numbers are converted when stored
};

struct LayoutKey {
  const char* name;  // the key's own name ("code window", "MTPCOMM", ...)
  platform::HKEY root;
  std::string path;                     // full path below the root
  const char* marker;                   // what the unnamed value begins with; "" for none
  std::vector<LayoutDefault> defaults;  // written, in this order, after the marker
};

// Every key of the layout, in a fixed order.
const std::vector<LayoutKey>& RegistryLayout();

// The key of that name (without case), or null.
const LayoutKey* FindLayoutKey(const std::string& name);

// Creates the key when its unnamed value does not begin with its marker, and
// writes the marker and its defaults; values already there are kept unless a
// default replaces them. A key without a marker is only created. False when
// the name is not in the layout.
bool EnsureLayoutKey(const std::string& name);

}  // namespace monitor
