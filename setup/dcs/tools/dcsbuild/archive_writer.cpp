#include "archive_writer.h"

#include <bzlib.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <limits>

#include "dcs_records.h"
#include "platform/atomic_write.h"
#include "platform/read_file.h"

namespace dcsbuild {
namespace {

std::string Upper(const std::string& text) {
  std::string upper;
  for (char c : text)
    upper.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  return upper;
}

// One component's 8.3 parts: the upper-cased base without dots and blanks,
// and the extension after its last dot.
void SplitComponent(const std::string& name, std::string& base, std::string& ext) {
  const std::string upper = Upper(name);
  const size_t dot = upper.rfind('.');
  ext = dot == std::string::npos ? "" : upper.substr(dot + 1, 3);
  base.clear();
  for (char c : upper.substr(0, dot)) {
    if (c != '.' && c != ' ') base.push_back(c);
  }
}

std::string Joined(const std::string& base, const std::string& ext) {
  return ext.empty() ? base : base + "." + ext;
}

}  // namespace

std::string ShortNames::Of(const std::string& longName) {
  std::string shortPath, longPath;
  size_t begin = 0;
  for (;;) {
    const size_t cut = longName.find('\\', begin);
    const bool last = cut == std::string::npos;
    const std::string component = longName.substr(begin, last ? cut : cut - begin);
    longPath += Upper(component);
    const auto known = folders_.find(longPath);
    if (!last && known != folders_.end()) {
      shortPath = known->second;
    } else {
      std::string base, ext;
      SplitComponent(component, base, ext);
      std::string candidate = Joined(base.substr(0, 8), ext);
      // A name that had to be cut, or one already given, takes the first free "~N".
      if (candidate != Upper(component) || taken_.count(shortPath + candidate)) {
        for (unsigned n = 1;; ++n) {
          const std::string tail = "~" + std::to_string(n);
          candidate = Joined(base.substr(0, 8 - std::min<size_t>(8, tail.size())) + tail, ext);
          if (!taken_.count(shortPath + candidate)) break;
        }
      }
      shortPath += candidate;
      taken_.insert(shortPath);
      if (!last) folders_[longPath] = shortPath;
    }
    if (last) return shortPath;
    shortPath += '\\';
    longPath += '\\';
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
  ShortNames shortNames;
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
    entry.shortName = shortNames.Of(file.longName);
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
