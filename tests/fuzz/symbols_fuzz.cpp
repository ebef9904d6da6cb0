// The symbol reader and the watch conditions on any text: labels of the 128
// cells, and every condition within its modes, read back from its own texts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "debug/watch_logic.h"
#include "fuzz_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace monitor;
  const std::vector<std::string> lines = FuzzLines(data, size);
  RamLabels(ReadSymbols(lines));
  for (const std::string& line : lines) {
    const WatchCondition c = ParseCondition(line);
    if (c.mode < 1 || c.mode > 7 || c.compare < 0 || c.compare > 15) std::abort();
    const WatchCondition again = ParseCondition(RelationText(c.mode) + c.match);
    if (again.mode != c.mode || again.compare != c.compare) std::abort();
  }
  return 0;
}
