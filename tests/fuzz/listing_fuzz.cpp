// The listing reader on any lines: rows within the grid's limit, words within
// program memory and sixteen bits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "debug/code_load.h"
#include "fuzz_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> lines = FuzzLines(data, size);
  const monitor::Listing listing = monitor::LoadDebugInfo(lines);
  if (listing.rows.size() > static_cast<size_t>(monitor::kMaxListingRows)) std::abort();
  for (const monitor::ListingWord& word : listing.words)
    if (word.address < 0 || word.address > 0xFFF || word.word < 0 || word.word > 0xFFFF)
      std::abort();
  monitor::IsMacroLine(true, lines.front());
  monitor::IsMacroLine(false, lines.back());
  return 0;
}
