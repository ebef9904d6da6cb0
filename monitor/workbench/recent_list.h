#pragma once
// A recent list of four entries, newest first, kept in a registry key as the
// values "<prefix>1" … "<prefix>4" below HKEY_CURRENT_USER. An entry is free
// when it is empty or begins with "Not Used". Names compare exactly, case
// included: two paths that differ in case are two files.
//
// The working copy of the list is a set of four captions (the main window's
// menu items), reached through RecentCaptions.
#include <array>
#include <string>

namespace monitor {

class RecentCaptions {
 public:
  virtual ~RecentCaptions() = default;
  // Entry 1 to 4.
  virtual std::string Caption(int entry) const = 0;
  virtual void SetCaption(int entry, const std::string& caption) = 0;
};

class RecentList {
 public:
  static constexpr int kEntries = 4;

  RecentList(std::string key, std::string prefix)
      : key_(std::move(key)), prefix_(std::move(prefix)) {}

  static bool IsFree(const std::string& entry);

  // Records `name` as the newest entry: moved to the top of the captions
  // when it is one of them (and the four written), otherwise inserted at the
  // top of the stored list, the oldest entry falling out.
  void Add(const std::string& name, RecentCaptions* captions) const;

  // Moves `name` to the top of the captions and writes all four; false (and
  // nothing changed) when no caption equals it.
  bool MoveToTop(const std::string& name, RecentCaptions& captions) const;
  // Shifts the stored entries down (a free one is not copied) and stores
  // `name` as the first.
  void Insert(const std::string& name) const;

  // The stored entries 1 to 4 (index 0 is entry 1).
  std::array<std::string, kEntries> Entries() const;

 private:
  std::string Read(int entry) const;
  void Write(int entry, const std::string& value) const;

  std::string key_, prefix_;
};

}  // namespace monitor
