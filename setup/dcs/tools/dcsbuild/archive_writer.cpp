#include "archive_writer.h"

#include <bzlib.h>
#include <zlib.h>

#include <cctype>
#include <limits>

#include "dcs_records.h"
#include "platform/atomic_write.h"
#include "platform/read_file.h"

namespace dcsbuild {
namespace {

std::string ShortComponent(const std::string& name) {
  std::string upper;
  for (char c : name)
    upper.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  const size_t dot = upper.rfind('.');
  std::string base = dot == std::string::npos ? upper : upper.substr(0, dot);
  std::string ext = dot == std::string::npos ? "" : upper.substr(dot + 1);
  std::string cleanBase;
  for (char c : base) {
    if (c != '.' && c != ' ') cleanBase.push_back(c);
  }
  cleanBase = cleanBase.substr(0, 8);
  ext = ext.substr(0, 3);
  return ext.empty() ? cleanBase : cleanBase + "." + ext;
}

}  // namespace

std::string ShortName(const std::string& longName) {
  std::string out;
  size_t begin = 0;
  for (;;) {
    const size_t cut = longName.find('\\', begin);
    out += ShortComponent(longName.substr(begin, cut == std::string::npos ? cut : cut - begin));
    if (cut == std::string::npos) return out;
    out += '\\';
    begin = cut + 1;
  }
}

bool Pack(uint16_t method, const std::string& data, std::string& packed) {
  const auto* in = reinterpret_cast<const unsigned char*>(data.data());
  switch (method) {
    case DCS_METHOD_STORED:
      packed = data;
      return true;
    case DCS_METHOD_ZLIB: {
      uLongf size = compressBound(static_cast<uLong>(data.size()));
      packed.resize(size);
      if (compress2(reinterpret_cast<Bytef*>(packed.data()), &size, in,
                    static_cast<uLong>(data.size()), 9) != Z_OK)
        return false;
      packed.resize(size);
      return true;
    }
    case DCS_METHOD_BZIP2: {
      unsigned size = static_cast<unsigned>(data.size() + data.size() / 100 + 600);
      packed.resize(size);
      if (BZ2_bzBuffToBuffCompress(packed.data(), &size, const_cast<char*>(data.data()),
                                   static_cast<unsigned>(data.size()), 9, 0, 0) != BZ_OK)
        return false;
      packed.resize(size);
      return true;
    }
    default:
      return false;
  }
}

bool WriteArchive(const std::string& output, const std::string& archiveName, uint32_t archiveTime,
                  const std::vector<InputFile>& files, std::string& error) {
  dcs::ArchiveHeader header;
  header.name = archiveName;
  header.created = header.updated = archiveTime;
  platform::AtomicFile out;
  if (!out.Open(output)) return error = "cannot create " + output, false;
  uint64_t offset = 0;
  auto put = [&](const std::string& bytes) {
    offset += bytes.size();
    return out.Write(bytes);
  };
  if (!put(dcs::EncodeArchiveHeader(header))) return error = "cannot write " + output, false;
  for (const InputFile& file : files) {
    std::string data, packed;
    if (!platform::ReadWholeFile(file.path, data)) return error = "cannot read " + file.path, false;
    if (data.size() > std::numeric_limits<uint32_t>::max())
      return error = file.path + " is too large", false;
    if (!Pack(file.method, data, packed)) return error = "cannot pack " + file.path, false;
    DcsEntryInfo entry;
    entry.flags = file.hidden ? DCS_FLAG_HIDDEN : 0;
    entry.method = file.method;
    entry.time = file.time;
    entry.packedSize = static_cast<uint32_t>(packed.size());
    entry.unpackedSize = static_cast<uint32_t>(data.size());
    entry.dataCrc = dcs::StoredCrc(data.data(), data.size());
    entry.attributes = DCS_ATTR_ARCHIVE;
    entry.longName = file.longName;
    entry.shortName = ShortName(file.longName);
    if (!put(dcs::EncodeEntryHeader(entry)) || !put(packed))
      return error = "cannot write " + output, false;
  }
  if (offset > std::numeric_limits<uint32_t>::max())
    return error = "the archive exceeds 4 GiB", false;
  if (!put(dcs::EncodeTrailer(static_cast<uint32_t>(offset))) || !out.Commit())
    return error = "cannot write " + output, false;
  return true;
}

}  // namespace dcsbuild
