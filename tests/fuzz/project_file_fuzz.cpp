// The project file: any bytes read as at most seven lines, and the lines
// written read back as they were.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "workbench/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace monitor;
  const auto lines = ReadProjectLines(std::string_view(reinterpret_cast<const char*>(data), size));
  if (lines.size() > kProjectLines) std::abort();
  ProjectLines values{};
  for (size_t i = 0; i < lines.size(); ++i) values[i] = lines[i];
  const auto back = ReadProjectLines(WriteProjectLines(values));
  if (back.size() != kProjectLines) std::abort();
  for (size_t i = 0; i < kProjectLines; ++i)
    if (back[i] != values[i]) std::abort();
  return 0;
}
