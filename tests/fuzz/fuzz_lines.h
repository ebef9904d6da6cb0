#pragma once
// The fuzz input as lines split at LF (a CR stays in its line).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline std::vector<std::string> FuzzLines(const uint8_t* data, size_t size) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '\n')
      lines.emplace_back();
    else
      lines.back() += static_cast<char>(data[i]);
  }
  return lines;
}
