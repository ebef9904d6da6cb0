#pragma once
// Writes a whole archive: header, entries with their packed data, trailer.
#include <cstdint>
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

// The 8.3 form of a long name, folder by folder: the upper-cased name when it
// fits, else its base cut to 8 characters and its extension to 3.
std::string ShortName(const std::string& longName);

// Packs `data` with a method (0, 4 or 5); false for an unknown method.
bool Pack(uint16_t method, const std::string& data, std::string& packed);

// Writes the archive to `output` (replaced only when complete). On failure
// `error` says why.
bool WriteArchive(const std::string& output, const std::string& archiveName, uint32_t archiveTime,
                  const std::vector<InputFile>& files, std::string& error);

}  // namespace dcsbuild
