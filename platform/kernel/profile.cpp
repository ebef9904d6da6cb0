#include "platform/profile.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <unordered_set>

#include "platform/atomic_write.h"
#include "platform/filenames.h"
#include "platform/read_file.h"

namespace platform {
namespace {

struct Line {
  std::string text;  // without its line end
  const char* end;   // "\r\n", "\n" or "" for a last line without an end
};

std::vector<Line> ReadLines(const std::string& file) {
  std::vector<Line> lines;
  // A folder, like any file that cannot be read, reads as a missing file.
  std::string all;
  if (!ReadWholeFile(ResolvePathNoCase(file), all)) return lines;
  size_t start = 0;
  while (start < all.size()) {
    size_t nl = all.find('\n', start);
    Line l{"", ""};
    if (nl == std::string::npos) {
      l.text = all.substr(start);
      start = all.size();
    } else {
      l.text = all.substr(start, nl - start);
      l.end = "\n";
      start = nl + 1;
    }
    if (!l.text.empty() && l.text.back() == '\r') {
      l.text.pop_back();
      l.end = *l.end ? "\r\n" : "\r";
    }
    lines.push_back(std::move(l));
  }
  return lines;
}

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

// "[name]" gives the section name; anything else gives false.
bool SectionName(const std::string& text, std::string& name) {
  std::string t = Trim(text);
  if (t.size() < 2 || t.front() != '[') return false;
  size_t close = t.find(']');
  if (close == std::string::npos) return false;
  name = Trim(t.substr(1, close - 1));
  return true;
}

// "key=value" gives the trimmed key and value; a line without '=' gives false.
bool KeyValue(const std::string& text, std::string& key, std::string& value) {
  std::string t = Trim(text);
  if (t.empty() || t[0] == ';') return false;
  size_t eq = t.find('=');
  if (eq == std::string::npos) return false;
  key = Trim(t.substr(0, eq));
  value = Trim(t.substr(eq + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return true;
}

// The name as EqualsNoCase compares it, so that a set finds it in one look-up.
std::string Folded(const std::string& name) {
  std::string folded = name;
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

struct Parsed {
  std::vector<std::string> sections;                       // in file order, first spelling
  std::vector<std::pair<std::string, std::string>> pairs;  // of the wanted section
  bool sectionFound = false;
};

// One pass over the file: a name already seen is found in a set, so a read
// stays linear however many sections or keys the file holds.
Parsed Parse(const std::string& file, const char* wantedSection) {
  Parsed p;
  std::unordered_set<std::string> seenSections, seenKeys;
  bool inSection = false;
  for (const Line& l : ReadLines(file)) {
    std::string name;
    if (SectionName(l.text, name)) {
      inSection = wantedSection && EqualsNoCase(name, wantedSection);
      if (inSection) p.sectionFound = true;
      if (!wantedSection && seenSections.insert(Folded(name)).second) p.sections.push_back(name);
      continue;
    }
    std::string key, value;
    if (inSection && KeyValue(l.text, key, value) && seenKeys.insert(Folded(key)).second)
      p.pairs.emplace_back(key, value);
  }
  return p;
}

// Copies a NUL-separated list, ended by a second NUL, truncated as Windows does.
uint32_t CopyList(const std::vector<std::string>& items, char* buffer, uint32_t size) {
  if (size == 0) return 0;
  if (size < 2) {
    buffer[0] = '\0';
    return 0;
  }
  uint32_t pos = 0;
  for (const std::string& item : items) {
    for (char c : item) {
      if (pos + 2 >= size) {
        buffer[pos] = '\0';
        buffer[pos + 1] = '\0';
        return size - 2;
      }
      buffer[pos++] = c;
    }
    if (pos + 2 >= size) {
      buffer[pos] = '\0';
      buffer[pos + 1] = '\0';
      return size - 2;
    }
    buffer[pos++] = '\0';
  }
  buffer[pos] = '\0';
  return pos;
}

uint32_t CopyString(const std::string& value, char* buffer, uint32_t size) {
  if (size == 0) return 0;
  uint32_t n = static_cast<uint32_t>(std::min<size_t>(value.size(), size - 1));
  std::memcpy(buffer, value.data(), n);
  buffer[n] = '\0';
  return n;
}

}  // namespace

uint32_t GetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                                 char* buffer, uint32_t size, const std::string& file) {
  if (!buffer) return 0;
  if (!section) return CopyList(ProfileSections(file), buffer, size);
  if (!key) return CopyList(ProfileKeys(file, section), buffer, size);
  return CopyString(ReadProfileString(file, section, key, defaultValue ? defaultValue : ""), buffer,
                    size);
}

std::string ReadProfileString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& defaultValue) {
  Parsed p = Parse(file, section.c_str());
  for (const auto& kv : p.pairs)
    if (EqualsNoCase(kv.first, key)) return kv.second;
  return Trim(defaultValue);
}

std::vector<std::string> ProfileKeys(const std::string& file, const std::string& section) {
  std::vector<std::string> keys;
  for (const auto& kv : Parse(file, section.c_str()).pairs) keys.push_back(kv.first);
  return keys;
}

std::vector<std::string> ProfileSections(const std::string& file) {
  return Parse(file, nullptr).sections;
}

bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const std::string& file) {
  if (!section) return false;
  std::string path = FindOrKeepPath(file);
  std::vector<Line> lines = ReadLines(path);
  const char* eol = "\r\n";
  for (const Line& l : lines)
    if (*l.end) {
      eol = l.end;
      break;
    }

  // Find the section and, in it, the key.
  long sectionLine = -1, keyLine = -1, lastInSection = -1;
  bool inSection = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string name, k, v;
    if (SectionName(lines[i].text, name)) {
      if (inSection) break;
      inSection = EqualsNoCase(name, section);
      if (inSection) sectionLine = lastInSection = static_cast<long>(i);
      continue;
    }
    if (!inSection) continue;
    if (!Trim(lines[i].text).empty()) lastInSection = static_cast<long>(i);
    if (key && keyLine < 0 && KeyValue(lines[i].text, k, v) && EqualsNoCase(k, key))
      keyLine = static_cast<long>(i);
  }

  if (!key) {
    // A null key deletes the whole section.
    if (sectionLine < 0) return true;
    size_t end = sectionLine + 1;
    while (end < lines.size()) {
      std::string name;
      if (SectionName(lines[end].text, name)) break;
      ++end;
    }
    lines.erase(lines.begin() + sectionLine, lines.begin() + end);
  } else if (keyLine >= 0) {
    std::string existing, ignored;
    KeyValue(lines[keyLine].text, existing, ignored);
    if (value)
      lines[keyLine].text = existing + "=" + value;
    else
      lines.erase(lines.begin() + keyLine);
  } else if (value) {
    Line entry{std::string(key) + "=" + value, eol};
    if (sectionLine < 0) {
      if (!lines.empty() && !*lines.back().end) lines.back().end = eol;
      lines.push_back(Line{std::string("[") + section + "]", eol});
      lines.push_back(entry);
    } else {
      if (!*lines[lastInSection].end) lines[lastInSection].end = eol;
      entry.end = lines[lastInSection].end;
      lines.insert(lines.begin() + lastInSection + 1, entry);
    }
  } else {
    return true;  // deleting a key that is not there
  }

  std::string out;
  for (const Line& l : lines) out += l.text + l.end;
  return WriteFileAtomically(path, out);
}

}  // namespace platform
