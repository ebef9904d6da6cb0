#pragma once
// Writes a whole archive: header, entries with their packed data, trailer.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace dcsbuild {

struct InputFile {
  std::string path;      // the file to pack
  std::string longName;  // its name in the archive, folders separated by '\'
  uint16_t method = 0;
  uint32_t time = 0;
  bool hidden = false;
};

// The 8.3 names of one archive's entries, folder by folder and unique: the
// upper-cased name when it fits and is free, else the base cut so that "~N"
// follows it within 8 characters ("SETUP0~1.DLL", "SETUP0~2.DLL"), with the
// first N not yet given in that folder. A folder keeps its first short name.
class ShortNames {
 public:
  std::string Of(const std::string& longName);

 private:
  std::map<std::string, std::string> folders_;  // upper-cased long folder -> short folder
  std::set<std::string> taken_;                 // short paths given
};

// Packs `data` with a method (0, 4 or 5); false for an unknown method.
bool Pack(uint16_t method, const std::string& data, std::string& packed);

// Writes the archive to `output` (replaced only when complete). On failure
// `error` says why.
bool WriteArchive(const std::string& output, const std::string& archiveName, uint32_t archiveTime,
                  const std::vector<InputFile>& files, std::string& error);

}  // namespace dcsbuild
