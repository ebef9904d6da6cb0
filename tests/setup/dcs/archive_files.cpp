#include "archive_files.h"

#include "dcs_records.h"
#include "platform/process.h"

namespace dcstest {

std::string GoldenArchive() {
  const char* hex =  // header, entry with its data, trailer
      "52564346002401500130030000020000000000000000000100000005542e444353c63ebc38"
      "5256434600480150013003000000000000000000000000090000000"
      "92dfd2d8800000020"
      "412e54585400412e54585400"
      "00733bfe7b313233343536373839"
      "52564346000000000063";
  std::string bytes;
  for (const char* p = hex; p[0] && p[1]; p += 2) {
    bytes.push_back(static_cast<char>(std::stoi(std::string(p, 2), nullptr, 16)));
  }
  return bytes;
}

bool RunBuilder(const std::vector<std::string>& arguments) {
  platform::ProcessResult r = platform::StartProcess(DCSBUILD, arguments, true);
  return r.started && r.exitCode == 0;
}

std::string EntryRecord(const DcsEntryInfo& entry, const std::string& packed) {
  return dcs::EncodeEntryHeader(entry) + packed;
}

std::string Archive(const std::string& name, const std::string& records) {
  dcs::ArchiveHeader header;
  header.name = name;
  std::string head = dcs::EncodeArchiveHeader(header);
  return head + records + dcs::EncodeTrailer(static_cast<uint32_t>(head.size() + records.size()));
}

DcsArchive* OpenForReading(const std::string& path) {
  return DcsOpenArchive(path.c_str(), DCS_MODE_READ_ONLY | DCS_MODE_NO_CREATE, nullptr);
}

}  // namespace dcstest
