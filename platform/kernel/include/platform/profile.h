#pragma once
// Profile (INI) strings: sections and keys match without case, values are
// trimmed and lose one pair of enclosing quotes, ';' lines are comments,
// CR LF and LF both end a line, the first of duplicate keys wins.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// GetPrivateProfileString semantics. With a null key the buffer receives the
// section's keys, each ended by NUL, the list ended by a second NUL; with a
// null section it receives the section names likewise. A value longer than
// the buffer is cut to size-1 characters and the result is size-1 (size-2 for
// a list). Returns the number of characters copied, not counting the final NUL.
uint32_t GetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                                 char* buffer, uint32_t size, const std::string& file);

// The same, without the caller's buffer.
std::string ReadProfileString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& defaultValue = "");
std::vector<std::string> ProfileKeys(const std::string& file, const std::string& section);
std::vector<std::string> ProfileSections(const std::string& file);

// Writes key=value into the section, creating the file or the section when
// missing; keeps the rest of the file and its line ends. A null value deletes
// the key. The file is replaced atomically. Returns false when it cannot write.
bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const std::string& file);

}  // namespace platform
