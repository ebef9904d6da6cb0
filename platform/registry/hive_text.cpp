#include "hive_text.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace platform::hive {
namespace {

const char kHeader[] = "; Tavix registry hive ";
const char kHexDigits[] = "0123456789abcdef";

// Length of the valid UTF-8 sequence that starts at `i` (a byte below 0x80
// counts as one), or 0 when the bytes there are not valid UTF-8.
size_t Utf8Length(const std::string& s, size_t i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) return 1;
  size_t n;
  uint32_t cp;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    cp = c & 0x07;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    unsigned char b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = cp << 6 | (b & 0x3F);
  }
  if (n == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) return 0;
  if (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) return 0;
  return n;
}

void AppendHexByte(std::string& out, unsigned char b) {
  out += kHexDigits[b >> 4];
  out += kHexDigits[b & 15];
}

void AppendQuoted(std::string& out, const std::string& text) {
  out += '"';
  for (size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    const char* escape = nullptr;
    switch (c) {
      case '\\':
        escape = "\\\\";
        break;
      case '"':
        escape = "\\\"";
        break;
      case '\r':
        escape = "\\r";
        break;
      case '\n':
        escape = "\\n";
        break;
      case '\t':
        escape = "\\t";
        break;
      case '\0':
        escape = "\\0";
        break;
    }
    if (escape) {
      out += escape;
      ++i;
      continue;
    }
    size_t n = c < 0x20 || c == 0x7F ? 0 : Utf8Length(text, i);
    if (n == 0) {
      out += "\\x";
      AppendHexByte(out, c);
      ++i;
    } else {
      out.append(text, i, n);
      i += n;
    }
  }
  out += '"';
}

void AppendValue(std::string& out, const Value& v) {
  if (v.name.empty())
    out += '@';
  else
    AppendQuoted(out, v.name);
  out += '=';
  if (v.type == 1) {
    out += "sz:";
    AppendQuoted(out, v.bytes);
  } else if (v.type == 4 && v.bytes.size() == 4) {
    out += "dword:";
    for (int i = 3; i >= 0; --i) AppendHexByte(out, static_cast<unsigned char>(v.bytes[i]));
  } else {
    out += "hex(" + std::to_string(v.type) + "):";
    for (size_t i = 0; i < v.bytes.size(); ++i) {
      if (i) out += ',';
      AppendHexByte(out, static_cast<unsigned char>(v.bytes[i]));
    }
  }
  out += '\n';
}

void AppendKey(std::string& out, const Key& key, const std::string& path) {
  out += "\n[" + path + "]\n";
  for (const Value& v : key.values) AppendValue(out, v);
}

// Every key below `root` in file order, without recursion.
void AppendTree(std::string& out, const Key& root) {
  std::vector<std::pair<const Key*, std::string>> pending;
  const auto pushChildren = [&pending](const Key& key, const std::string& path) {
    for (auto it = key.children.rbegin(); it != key.children.rend(); ++it) {
      const Key& child = *it->second;
      pending.emplace_back(&child, path.empty() ? child.name : path + '\\' + child.name);
    }
  };
  pushChildren(root, "");
  while (!pending.empty()) {
    auto [key, path] = std::move(pending.back());
    pending.pop_back();
    AppendKey(out, *key, path);
    pushChildren(*key, path);
  }
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ReadHexByte(const std::string& s, size_t& pos, unsigned char& b) {
  if (pos + 2 > s.size()) return false;
  int hi = HexValue(s[pos]), lo = HexValue(s[pos + 1]);
  if (hi < 0 || lo < 0) return false;
  b = static_cast<unsigned char>(hi << 4 | lo);
  pos += 2;
  return true;
}

// Reads a quoted text starting at the quote at `pos`; `pos` ends past the
// closing quote.
bool ReadQuoted(const std::string& s, size_t& pos, std::string& text) {
  if (pos >= s.size() || s[pos] != '"') return false;
  text.clear();
  for (++pos; pos < s.size(); ++pos) {
    char c = s[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c != '\\') {
      text += c;
      continue;
    }
    if (++pos >= s.size()) return false;
    switch (s[pos]) {
      case '\\':
        text += '\\';
        break;
      case '"':
        text += '"';
        break;
      case 'r':
        text += '\r';
        break;
      case 'n':
        text += '\n';
        break;
      case 't':
        text += '\t';
        break;
      case '0':
        text += '\0';
        break;
      case 'x': {
        unsigned char b;
        size_t p = pos + 1;
        if (!ReadHexByte(s, p, b)) return false;
        text += static_cast<char>(b);
        pos = p - 1;
        break;
      }
      default:
        return false;
    }
  }
  return false;
}

bool StartsWith(const std::string& s, size_t pos, const char* prefix) {
  return s.compare(pos, std::char_traits<char>::length(prefix), prefix) == 0;
}

// The data after "name=".
bool ReadData(const std::string& s, size_t pos, Value& v) {
  if (StartsWith(s, pos, "sz:")) {
    pos += 3;
    v.type = 1;
    return ReadQuoted(s, pos, v.bytes) && pos == s.size();
  }
  if (StartsWith(s, pos, "dword:")) {
    pos += 6;
    if (s.size() - pos != 8) return false;
    v.type = 4;
    v.bytes.assign(4, '\0');
    for (int i = 3; i >= 0; --i) {
      unsigned char b;
      if (!ReadHexByte(s, pos, b)) return false;
      v.bytes[i] = static_cast<char>(b);
    }
    return true;
  }
  if (!StartsWith(s, pos, "hex(")) return false;
  pos += 4;
  uint64_t type = 0;
  size_t digits = 0;
  for (; pos < s.size() && s[pos] >= '0' && s[pos] <= '9' && digits < 10; ++pos, ++digits)
    type = type * 10 + static_cast<uint64_t>(s[pos] - '0');
  if (digits == 0 || type > UINT32_MAX || !StartsWith(s, pos, "):")) return false;
  v.type = static_cast<uint32_t>(type);
  pos += 2;
  v.bytes.clear();
  while (pos < s.size()) {
    if (!v.bytes.empty() && s[pos++] != ',') return false;
    unsigned char b;
    if (!ReadHexByte(s, pos, b)) return false;
    v.bytes += static_cast<char>(b);
  }
  return true;
}

bool ReadValueLine(const std::string& s, Value& v) {
  size_t pos = 0;
  if (s[0] == '@') {
    v.name.clear();
    pos = 1;
  } else if (!ReadQuoted(s, pos, v.name)) {
    return false;
  }
  if (pos >= s.size() || s[pos] != '=') return false;
  return ReadData(s, pos + 1, v);
}

}  // namespace

std::string FormatHive(const Key& root, const std::string& rootName) {
  std::string out = kHeader + rootName + "\n";
  if (!root.values.empty()) AppendKey(out, root, "");
  AppendTree(out, root);
  return out;
}

ParsedHive ParseHive(const std::string& text) {
  ParsedHive parsed;
  Key* current = nullptr;
  int lineNumber = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t nl = text.find('\n', start);
    size_t end = nl == std::string::npos ? text.size() : nl;
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos || line[0] == ';') continue;

    bool ok = false;
    if (line[0] == '[' && line.back() == ']') {
      // The values below a key line that does not parse are skipped with it.
      current = nullptr;
      std::vector<std::string> segments;
      if (SplitKeyPath(line.substr(1, line.size() - 2), segments)) {
        current = &parsed.root;
        bool created = false;
        for (const std::string& name : segments) current = &current->Child(name, created);
        ok = true;
      }
    } else if (current) {
      Value v;
      if (ReadValueLine(line, v)) {
        current->SetValue(v.name, v.type, v.bytes);
        ok = true;
      }
    }
    if (!ok && parsed.badLine == 0) parsed.badLine = lineNumber;
  }
  return parsed;
}

}  // namespace platform::hive
