#pragma once
// The hive file format: line-based UTF-8, LF line ends (CR LF read too).
//
//   ; Tavix registry hive HKEY_CURRENT_USER
//
//   [SOFTWARE\Corvane\Tavix\editor window]
//   @=sz:"Default"
//   "fontsize"=dword:00000008
//   "blob"=hex(3):01,ff
//
// Keys are written sorted by path, a parent before its children, each after
// one empty line; values in the order they were created.
#include <string>

#include "hive_model.h"

namespace platform::hive {

std::string FormatHive(const Key& root, const std::string& rootName);

struct ParsedHive {
  Key root;
  int badLine = 0;  // the first line that did not parse (1-based), 0 when all did
};

// Keeps every line that parses; lines that do not are skipped.
ParsedHive ParseHive(const std::string& text);

}  // namespace platform::hive
