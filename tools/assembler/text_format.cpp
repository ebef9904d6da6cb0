#include "text_format.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace k42asm {

std::string StrNumber(int64_t value) {
  return value < 0 ? std::to_string(value) : std::string(" ").append(std::to_string(value));
}

std::string FormatLineNumber(int64_t value, int width) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), '0');
  return value < 0 ? std::string("-").append(digits) : digits;
}

std::string FormatHex(int64_t value) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04X", static_cast<unsigned>(value & 0xFFFF));
  return buf;
}

PrintZoneLine& PrintZoneLine::NextZone() {
  // Zones start at columns 1, 15, 29, ...; the next one strictly after the
  // current print column, so a full 14-character field is still followed by
  // at least one blank.
  size_t target = (text_.size() / 14 + 1) * 14;
  text_.append(target - text_.size(), ' ');
  return *this;
}

std::string UpperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::string_view TrimLeft(std::string_view text) {
  size_t i = text.find_first_not_of(' ');
  return i == std::string_view::npos ? std::string_view() : text.substr(i);
}

std::string_view TrimRight(std::string_view text) {
  size_t i = text.find_last_not_of(' ');
  return i == std::string_view::npos ? std::string_view() : text.substr(0, i + 1);
}

std::string_view Trim(std::string_view text) {
  return TrimLeft(TrimRight(text));
}

std::string TrimLeft(const std::string& text) {
  return std::string(TrimLeft(std::string_view(text)));
}

std::string TrimRight(const std::string& text) {
  return std::string(TrimRight(std::string_view(text)));
}

std::string Trim(const std::string& text) {
  return std::string(Trim(std::string_view(text)));
}

std::string ListCursor::Next() {
  size_t comma = rest_.find(',');
  std::string field(TrimRight(rest_.substr(0, comma)));
  rest_ = comma == std::string_view::npos ? std::string_view() : TrimLeft(rest_.substr(comma + 1));
  return field;
}

std::string NextToken(std::string& text) {
  ListCursor cursor(text);
  std::string field = cursor.Next();
  text = std::string(cursor.rest());
  return field;
}

std::vector<std::string> SplitList(std::string_view text) {
  std::vector<std::string> fields;
  for (ListCursor cursor(text); !cursor.empty();) fields.push_back(cursor.Next());
  return fields;
}

double ValNumber(const std::string& text) {
  size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) return 0;
  if (i + 1 < text.size() && text[i] == '&' && (text[i + 1] == 'H' || text[i + 1] == 'h')) {
    uint64_t v = 0;
    size_t j = i + 2;
    for (; j < text.size() && std::isxdigit(static_cast<unsigned char>(text[j])); ++j)
      v = (v << 4) |
          static_cast<uint64_t>(std::isdigit(static_cast<unsigned char>(text[j]))
                                    ? text[j] - '0'
                                    : std::toupper(static_cast<unsigned char>(text[j])) - 'A' + 10);
    // Four digits or fewer stand for a 16-bit word, eight for a 32-bit one.
    if (j - (i + 2) <= 4) return static_cast<int16_t>(v & 0xFFFF);
    return static_cast<int32_t>(v & 0xFFFFFFFF);
  }
  size_t j = i;
  std::string number;
  if (text[j] == '+' || text[j] == '-') number += text[j++];
  bool digits = false;
  while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])))
    number += text[j++], digits = true;
  if (j < text.size() && text[j] == '.') {
    number += text[j++];
    while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])))
      number += text[j++], digits = true;
  }
  if (!digits) return 0;
  if (j < text.size() && (text[j] == 'E' || text[j] == 'e' || text[j] == 'D' || text[j] == 'd')) {
    size_t k = j + 1;
    std::string exponent = "e";
    if (k < text.size() && (text[k] == '+' || text[k] == '-')) exponent += text[k++];
    size_t start = k;
    while (k < text.size() && std::isdigit(static_cast<unsigned char>(text[k])))
      exponent += text[k++];
    if (k > start) number += exponent;
  }
  return std::strtod(number.c_str(), nullptr);
}

}  // namespace k42asm
