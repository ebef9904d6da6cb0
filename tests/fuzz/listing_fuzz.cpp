// The listing reader on any lines: rows within the grid's limit, words within
// program memory and sixteen bits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "debug/code_load.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '\n')
      lines.emplace_back();
    else
      lines.back() += static_cast<char>(data[i]);
  }
  const monitor::Listing listing = monitor::LoadDebugInfo(lines);
  if (listing.rows.size() > static_cast<size_t>(monitor::kMaxListingRows)) std::abort();
  for (const monitor::ListingWord& word : listing.words)
    if (word.address < 0 || word.address > 0xFFF || word.word < 0 || word.word > 0xFFFF)
      std::abort();
  monitor::IsMacroLine(true, lines.front());
  monitor::IsMacroLine(false, lines.back());
  return 0;
}
