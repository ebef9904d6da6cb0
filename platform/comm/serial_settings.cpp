// The settings text of a serial port, in either of its two forms.
#include <cctype>
#include <string>
#include <vector>

#include "platform/tty.h"

namespace platform {
namespace {

constexpr int kRates[] = {110,  300,   600,   1200,  2400,  4800,
                          9600, 14400, 19200, 38400, 57600, 115200};

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

// A decimal number of at most 9 digits; -1 otherwise.
int Number(const std::string& s) {
  if (s.empty() || s.size() > 9) return -1;
  int v = 0;
  for (char c : s) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
    v = v * 10 + (c - '0');
  }
  return v;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Checks and stores the four fields, still as text.
bool Fill(const std::string& baud, const std::string& parity, const std::string& data,
          const std::string& stop, SerialFormat& out) {
  SerialFormat f;
  f.baud = Number(baud);
  bool rateKnown = false;
  for (int r : kRates) rateKnown = rateKnown || r == f.baud;
  if (!rateKnown || parity.size() != 1) return false;
  f.parity = static_cast<char>(std::toupper(static_cast<unsigned char>(parity[0])));
  if (f.parity != 'N' && f.parity != 'E' && f.parity != 'O') return false;
  f.dataBits = Number(data);
  f.stopBits = Number(stop);
  if (f.dataBits < 5 || f.dataBits > 8 || (f.stopBits != 1 && f.stopBits != 2)) return false;
  out = f;
  return true;
}

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t at = s.find(sep, start);
    parts.push_back(Trim(s.substr(start, at - start)));
    if (at == std::string::npos) return parts;
    start = at + 1;
  }
}

}  // namespace

bool ParseSerialSettings(const std::string& text, SerialFormat& out) {
  std::string t = Trim(text);
  if (t.find(',') != std::string::npos) {
    std::vector<std::string> f = Split(t, ',');
    return f.size() == 4 && Fill(f[0], f[1], f[2], f[3], out);
  }
  // Keyed form: every blank-separated field is key=value, each key once.
  std::string baud, parity, data, stop;
  size_t i = 0;
  while (i < t.size()) {
    size_t end = i;
    while (end < t.size() && !std::isspace(static_cast<unsigned char>(t[end]))) ++end;
    std::string field = t.substr(i, end - i);
    size_t eq = field.find('=');
    if (eq == std::string::npos) return false;
    std::string key = Lower(field.substr(0, eq)), value = field.substr(eq + 1);
    std::string* slot = key == "baud"     ? &baud
                        : key == "parity" ? &parity
                        : key == "data"   ? &data
                        : key == "stop"   ? &stop
                                          : nullptr;
    if (!slot || !slot->empty() || value.empty()) return false;
    *slot = value;
    i = end;
    while (i < t.size() && std::isspace(static_cast<unsigned char>(t[i]))) ++i;
  }
  return Fill(baud, parity, data, stop, out);
}

}  // namespace platform
