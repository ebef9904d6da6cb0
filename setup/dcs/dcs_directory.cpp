// Matching names against patterns, finding and listing entries, and the
// archive's own information.
#include <cctype>
#include <cstring>

#include "dcs_handle.h"

namespace dcs {
namespace {

const char* AfterLastBackslash(const char* s) {
  const char* cut = std::strrchr(s, '\\');
  return cut ? cut + 1 : s;
}

bool SameLetter(char a, char b) {
  return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

// '?' one character, '*' any run: a star is retried at every later position,
// going back only to the last star (which finds the same matches as trying
// every star's every position, in linear steps per star).
bool Wildcard(const char* p, const char* s) {
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*s) {
    if (*p == '*') {
      star = p++;
      resume = s;
    } else if (*p && (*p == '?' || SameLetter(*p, *s))) {
      ++p;
      ++s;
    } else if (star) {
      p = star + 1;
      s = ++resume;
    } else {
      return false;
    }
  }
  while (*p == '*') ++p;
  return *p == '\0';
}

bool EntryMatches(const DcsEntryInfo& e, const char* pattern) {
  if (DcsMatchName(pattern, e.shortName.c_str())) return true;
  return !e.shortName.empty() && DcsMatchName(pattern, e.longName.c_str());
}

}  // namespace

const Node* FindNode(const DcsArchive& archive, const std::string& pattern) {
  for (const Node& node : archive.directory) {
    if (node.recordSize == 0) break;
    if (EntryMatches(node.entry, pattern.c_str())) return &node;
  }
  return nullptr;
}

}  // namespace dcs

using namespace dcs;

bool DcsMatchName(const char* pattern, const char* name) {
  if (!pattern || !name) return false;
  if (!std::strchr(pattern, '\\') || !std::strchr(name, '\\')) {
    pattern = AfterLastBackslash(pattern);
    name = AfterLastBackslash(name);
  }
  return Wildcard(pattern, name);
}

const DcsEntryInfo* DcsFindEntry(DcsArchive* archive, const char* pattern) {
  DcsArchive* a = Checked(archive);
  if (!a) return nullptr;
  return Guarded<const DcsEntryInfo*>(nullptr, [&] {
    const Node* node = pattern ? FindNode(*a, pattern) : nullptr;
    if (!node) throw Failure{DCS_ERR_NO_MATCH};
    return &node->entry;
  });
}

int DcsEnumFiles(DcsArchive* archive, const char* pattern, DcsListCallback callback,
                 intptr_t user) {
  DcsArchive* a = Checked(archive);
  if (!a) return 0;
  if (a->state & kListing) return DcsSetLastError(DCS_ERR_BUSY), 0;
  a->state |= kListing;
  int result = Guarded(0, [&] {
    if (!pattern || !callback) throw Failure{DCS_ERR_NO_MATCH};
    int listed = 0;
    for (size_t i = 0; i < a->directory.size() && a->directory[i].recordSize != 0; ++i) {
      const DcsEntryInfo entry = a->directory[i].entry;  // a new volume replaces the directory
      if (!EntryMatches(entry, pattern) || (entry.flags & DCS_FLAG_HIDDEN)) continue;
      ++listed;
      const unsigned volume = a->volume;
      if (callback(&entry, user, 0) == 0) throw Failure{DCS_ERR_ABORTED};
      if (a->volume == volume) continue;
      // Another volume was opened: go on after the entry of the same name.
      size_t next = a->directory.size();
      for (size_t j = 0; j < a->directory.size(); ++j) {
        if (a->directory[j].recordSize != 0 && a->directory[j].entry.longName == entry.longName) {
          next = j;
          break;
        }
      }
      i = next;
    }
    if (listed == 0) throw Failure{DCS_ERR_NO_MATCH};
    return 1;
  });
  a->state &= ~kListing;
  return result;
}

int DcsGetArchiveInfo(DcsArchive* archive, DcsArchiveInfo* info) {
  DcsArchive* a = Checked(archive);
  if (!a) return 0;
  if (!info) return DcsSetLastError(DCS_ERR_HANDLE), 0;
  const ArchiveHeader& h = a->header;
  info->versionMade = h.versionMade;
  info->versionNeeded = h.versionNeeded;
  info->system = h.system;
  info->flags = h.flags;
  info->type = h.type;
  info->created = h.created;
  info->updated = h.updated;
  info->name = h.name;
  DcsSetLastError(DCS_OK);
  return 1;
}
