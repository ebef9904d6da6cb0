// QV4234's controller options text: four hexadecimal words.
#include <cstdio>
#include <cstring>

#include "parameter_set.h"

namespace qv4234 {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// One "%x" field: blanks, an optional sign, an optional 0x, at least one
// digit. A value above 32 bits stays at 0xFFFFFFFF (no overflow).
bool ReadHex(const char*& p, uint32_t& out) {
  while (IsBlank(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && HexDigit(p[2]) >= 0) p += 2;
  if (HexDigit(*p) < 0) return false;
  uint64_t v = 0;
  for (int d; (d = HexDigit(*p)) >= 0; ++p) v = v > 0xFFFFFFFFu ? v : v * 16 + d;
  const uint32_t value = v > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(v);
  out = negative ? 0u - value : value;
  return true;
}

bool Parse(const char* text, uint32_t (&words)[4]) {
  const char* p = text;
  for (int i = 0; i < 4; ++i) {
    if (i > 0 && *p++ != ',') return false;
    if (!ReadHex(p, words[i])) return false;
  }
  return true;
}

}  // namespace

void ControllerOptions::set(const char* text) {
  uint32_t parsed[4] = {0, 0, 0, 0};
  for (uint32_t& w : word) w = 0;
  if (text != nullptr && Parse(text, parsed))
    word[3] = parsed[3];
  else
    changed = true;
  word[3] &= kOptMask;
}

int32_t ControllerOptions::get(int32_t length, char* buffer) {
  if (!changed || buffer == nullptr) return -1;
  char text[64];
  const int n = std::snprintf(text, sizeof text, "%X,%X,%X,%X", word[0], word[1], word[2], word[3]);
  if (n < 0 || length <= n) return -1;
  std::memcpy(buffer, text, static_cast<size_t>(n) + 1);
  changed = false;
  return n;
}

}  // namespace qv4234
