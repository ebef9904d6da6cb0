#include "workbench/recent_list.h"

#include "settings/mdl_registry.h"

namespace monitor {

bool RecentList::IsFree(const std::string& entry) {
  return entry.empty() || entry.rfind("Not Used", 0) == 0;
}

std::string RecentList::Read(int entry) const {
  return RegGetSetting(platform::HKEY_CURRENT_USER, key_, prefix_ + std::to_string(entry)).AsText();
}

void RecentList::Write(int entry, const std::string& value) const {
  RegSetSetting(platform::HKEY_CURRENT_USER, key_, prefix_ + std::to_string(entry), RegValue(value),
                platform::REG_SZ);
}

void RecentList::Add(const std::string& name, RecentCaptions* captions) const {
  if (captions == nullptr || !MoveToTop(name, *captions)) Insert(name);
}

bool RecentList::MoveToTop(const std::string& name, RecentCaptions& captions) const {
  int position = 0;
  for (int i = 1; i <= kEntries && position == 0; ++i) {
    if (captions.Caption(i) == name) position = i;
  }
  if (position == 0) return false;
  // Each caption above the name moves down one; the name goes first.
  std::string carry = name;
  for (int i = 1; i < position; ++i) {
    std::string old = captions.Caption(i);
    captions.SetCaption(i, carry);
    carry = std::move(old);
  }
  captions.SetCaption(position, carry);
  for (int i = 1; i <= kEntries; ++i) Write(i, captions.Caption(i));
  return true;
}

void RecentList::Insert(const std::string& name) const {
  for (int i = kEntries - 1; i >= 1; --i) {
    const std::string entry = Read(i);
    if (!IsFree(entry)) Write(i + 1, entry);
  }
  Write(1, name);
}

std::array<std::string, RecentList::kEntries> RecentList::Entries() const {
  std::array<std::string, kEntries> entries;
  for (int i = 1; i <= kEntries; ++i) entries[static_cast<size_t>(i - 1)] = Read(i);
  return entries;
}

}  // namespace monitor
