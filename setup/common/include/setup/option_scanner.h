#pragma once
// The setup programs' option scanner: options begin with '/', the option
// string names the letters ("l:L:": a ':' after a letter means it takes a
// value, given in the same word or as the next one). Words that do not begin
// with '/' are skipped, other letters are ignored, and "//" ends the scan.
#include <string>
#include <vector>

namespace setup {

struct ScannedOption {
  char letter = 0;
  std::string value;
};

std::vector<ScannedOption> ScanOptions(const std::vector<std::string>& words,
                                       const std::string& optionString);

}  // namespace setup
