// The symbol reader and the watch conditions on any text: labels of the 128
// cells, and every condition within its modes, read back from its own texts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "debug/watch_logic.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace monitor;
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '\n')
      lines.emplace_back();
    else
      lines.back() += static_cast<char>(data[i]);
  }
  RamLabels(ReadSymbols(lines));
  for (const std::string& line : lines) {
    const WatchCondition c = ParseCondition(line);
    if (c.mode < 1 || c.mode > 7 || c.compare < 0 || c.compare > 15) std::abort();
    const WatchCondition again = ParseCondition(RelationText(c.mode) + c.match);
    if (again.mode != c.mode || again.compare != c.compare) std::abort();
  }
  return 0;
}
