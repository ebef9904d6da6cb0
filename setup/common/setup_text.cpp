#include "setup/setup_text.h"

namespace setup {

std::string FormatText(const std::string& format, const std::vector<std::string>& arguments) {
  std::string out;
  size_t next = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 == format.size()) {
      out += format[i];
      continue;
    }
    size_t j = i + 1;
    if (format[j] == 'l') ++j;
    if (j < format.size() && (format[j] == 's' || format[j] == 'd' || format[j] == 'u')) {
      if (next < arguments.size()) out += arguments[next];
      ++next;
      i = j;
    } else if (format[j] == '%') {
      out += '%';
      i = j;
    } else {
      out += '%';
    }
  }
  return out;
}

std::vector<std::string> SplitCommandLine(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  bool quoted = false, inWord = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

}  // namespace setup
