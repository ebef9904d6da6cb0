// The hive reader and writer: any text parses, and what is written reads
// back to the same tree (the second write equals the first).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "hive_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace platform::hive;
  const ParsedHive first = ParseHive(std::string(reinterpret_cast<const char*>(data), size));
  const std::string written = FormatHive(first.root, "HKEY_CURRENT_USER");
  const ParsedHive again = ParseHive(written);
  if (again.badLine != 0 || FormatHive(again.root, "HKEY_CURRENT_USER") != written) std::abort();
  return 0;
}
