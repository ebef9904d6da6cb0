#include "workbench/error_line.h"

#include <QTextBlock>
#include <QTextDocument>
#include <cctype>
#include <cmath>

namespace monitor {

double LeadingNumber(const std::string& text) {
  size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) return 0;
  double sign = 1;
  if (text[i] == '+' || text[i] == '-') {
    if (text[i] == '-') sign = -1;
    ++i;
  }
  double value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0; ++i)
    value = value * 10 + (text[i] - '0');
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0; ++i) {
      value += (text[i] - '0') * scale;
      scale /= 10;
    }
  }
  return sign * value;
}

int64_t RoundedNumber(const std::string& text, int64_t low, int64_t high) {
  const double value = std::nearbyint(LeadingNumber(text));  // the default mode: halves to even
  if (!(value >= static_cast<double>(low))) return low;
  if (value > static_cast<double>(high)) return high;
  return static_cast<int64_t>(value);
}

int16_t ParseProgramSize(const std::string& line) {
  const std::string digits = line.size() > 10 ? line.substr(10, 4) : "";
  return static_cast<int16_t>(RoundedNumber(digits, INT16_MIN, INT16_MAX));
}

std::optional<ErrorItem> ParseErrorItem(const std::string& item) {
  const size_t error = item.find("ERROR");
  // The file name is what stands before the blank in front of "ERROR".
  if (error == std::string::npos || error < 2) return std::nullopt;
  ErrorItem parsed{item.substr(0, error - 1), std::nullopt};
  const size_t line = item.find("line");
  if (line != std::string::npos) {
    const std::string digits = line + 5 < item.size() ? item.substr(line + 5, 4) : "";
    parsed.line = static_cast<int16_t>(RoundedNumber(digits, INT16_MIN, INT16_MAX));
  }
  return parsed;
}

TextSelection ErrorLineSelection(const QTextDocument& text, int line) {
  if (line < 0) return {};
  const QTextBlock block = text.findBlockByNumber(line);
  if (!block.isValid()) return {};
  return {block.position(), block.length() - 1};
}

}  // namespace monitor
