#include "setup/option_scanner.h"

namespace setup {

std::vector<ScannedOption> ScanOptions(const std::vector<std::string>& words,
                                       const std::string& optionString) {
  std::vector<ScannedOption> found;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "//") break;
    if (word.size() < 2 || word[0] != '/') continue;
    const size_t at = optionString.find(word[1]);
    if (word[1] == ':' || at == std::string::npos) continue;
    ScannedOption option;
    option.letter = word[1];
    if (at + 1 < optionString.size() && optionString[at + 1] == ':') {
      if (word.size() > 2) {
        option.value = word.substr(2);
      } else if (i + 1 < words.size()) {
        option.value = words[++i];
      }
    }
    found.push_back(option);
  }
  return found;
}

}  // namespace setup
