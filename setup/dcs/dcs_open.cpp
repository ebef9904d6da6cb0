// Opening an archive (locating it inside a file, its header and directory),
// creating a new empty one, and closing it.
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "dcs_handle.h"
#include "platform/filenames.h"
#include "platform/wallclock.h"

namespace dcs {
namespace {

inline constexpr size_t kHeadSearch = 16;    // an archive at the start lies within these bytes
inline constexpr size_t kTailSearch = 1023;  // a trailer lies within these last bytes

int g_lastError = 0;

// The default extension is added only to a name without one that does not
// exist as given: programs here usually have no extension.
std::string WithDefaultExtension(const std::string& path) {
  if (platform::FileName(path).find('.') != std::string::npos) return path;
  struct stat info;
  if (stat(path.c_str(), &info) == 0) return path;
  return path + ".DCS";
}

void ReadExactly(DcsStream& s, void* data, size_t size) {
  if (s.Read(data, size) != size) throw Failure{DCS_ERR_READ};
}

void SeekTo(DcsStream& s, int64_t offset) {
  if (!s.Seek(offset, SEEK_SET)) throw Failure{DCS_ERR_READ};
}

// A NUL-terminated name of at most kMaxName bytes.
std::string ReadName(DcsStream& s) {
  std::string name;
  for (;;) {
    char c;
    ReadExactly(s, &c, 1);
    if (c == '\0') return name;
    if (name.size() == kMaxName) throw Failure{DCS_ERR_READ};
    name.push_back(c);
  }
}

// Writes a new archive header and trailer at `offset`.
void StartNewArchive(DcsArchive& a, int64_t offset) {
  const uint32_t now = static_cast<uint32_t>(platform::WallClockSeconds());
  a.header = ArchiveHeader{};
  a.header.name = platform::FileName(a.path);
  a.header.created = a.header.updated = now;
  a.header.volume = static_cast<uint16_t>(a.volume);
  if (a.mode & DCS_MODE_MARK_FLAGS) a.header.flags |= 0x0001;
  std::string header = EncodeArchiveHeader(a.header);
  std::string bytes = header + EncodeTrailer(static_cast<uint32_t>(header.size()));
  if (!a.stream->Seek(offset, SEEK_SET) ||
      a.stream->Write(bytes.data(), bytes.size()) != bytes.size() || !a.stream->Flush()) {
    throw Failure{DCS_ERR_WRITE};
  }
  a.start = offset;
  a.header.crc = ArchiveHeaderCrc(a.header);
  Node trailer;
  trailer.entryPos = offset + static_cast<int64_t>(header.size());
  a.directory.assign(1, trailer);
}

// The archive's start: "RVCF" within the first 16 bytes, else the trailer
// within the last 1,023 bytes; -1 when neither holds a usable record.
int64_t Locate(DcsStream& s, int64_t size) {
  std::string head(static_cast<size_t>(std::min<int64_t>(size, kHeadSearch)), '\0');
  SeekTo(s, 0);
  ReadExactly(s, head.data(), head.size());
  if (size_t at = head.find(std::string_view(kMagic, 4)); at != std::string::npos) return at;

  const int64_t tailStart = std::max<int64_t>(0, size - static_cast<int64_t>(kTailSearch));
  std::string tail(static_cast<size_t>(size - tailStart), '\0');
  SeekTo(s, tailStart);
  ReadExactly(s, tail.data(), tail.size());
  const size_t at = tail.rfind(std::string_view(kMagic, 4));
  if (at == std::string::npos) return -1;
  const int64_t trailerPos = tailStart + static_cast<int64_t>(at);
  if (trailerPos + static_cast<int64_t>(kTrailerSize) > size) return -1;
  const auto* t = reinterpret_cast<const unsigned char*>(tail.data() + at);
  if (Be16(t + 4) != 0) return -1;
  // The offset must lead back into the file, to an archive header.
  const int64_t start = trailerPos - static_cast<int64_t>(Be32(t + 6));
  if (start < 0) return -1;
  char magic[4];
  SeekTo(s, start);
  ReadExactly(s, magic, 4);
  return std::memcmp(magic, kMagic, 4) == 0 ? start : -1;
}

void ReadArchiveHeader(DcsArchive& a, int64_t size) {
  unsigned char fixed[kArchiveFixedSize];
  SeekTo(*a.stream, a.start);
  ReadExactly(*a.stream, fixed, sizeof fixed);
  a.header = DecodeArchiveFixed(fixed);
  const uint16_t nameLength = Be16(fixed + 26);
  if (a.start + static_cast<int64_t>(kArchiveFixedSize + nameLength + 4) > size)
    throw Failure{DCS_ERR_READ};
  a.header.name.resize(nameLength);
  ReadExactly(*a.stream, a.header.name.data(), nameLength);
  unsigned char crc[4];
  ReadExactly(*a.stream, crc, 4);
  a.header.crc = Be32(crc);
  if (a.header.crc != ArchiveHeaderCrc(a.header)) throw Failure{DCS_ERR_HEADER_CRC};
}

// Record after record until the trailer; every header checked, every packed
// size checked against the file.
void ReadDirectory(DcsArchive& a, int64_t size) {
  DcsStream& s = *a.stream;
  int64_t pos = a.start + static_cast<int64_t>(kArchiveFixedSize + a.header.name.size() + 4);
  a.directory.clear();
  for (;;) {
    Node node;
    node.entryPos = pos;
    unsigned char fixed[kEntryFixedSize];
    SeekTo(s, pos);
    ReadExactly(s, fixed, 6);
    if (std::memcmp(fixed, kMagic, 4) != 0) throw Failure{DCS_ERR_READ};
    if (Be16(fixed + 4) == 0) {
      a.directory.push_back(node);
      return;
    }
    ReadExactly(s, fixed + 6, sizeof fixed - 6);
    node.entry = DecodeEntryFixed(fixed, &node.recordSize);
    if (node.entry.flags & DCS_FLAG_EXTRA) {
      unsigned char extra[4];
      ReadExactly(s, extra, 4);
      node.entry.extra = Be32(extra);
    }
    node.entry.shortName = ReadName(s);
    node.entry.longName = ReadName(s);
    node.entry.comment = ReadName(s);
    unsigned char crc[4];
    ReadExactly(s, crc, 4);
    node.headerCrc = Be32(crc);
    if (node.headerCrc != EntryHeaderCrc(node.entry, node.recordSize))
      throw Failure{DCS_ERR_HEADER_CRC};
    node.entry.index = static_cast<uint32_t>(a.directory.size());
    node.dataPos = s.Tell();
    if (node.dataPos < 0 || node.dataPos + node.entry.packedSize > size)
      throw Failure{DCS_ERR_READ};
    pos = node.dataPos + node.entry.packedSize;
    a.directory.push_back(std::move(node));
  }
}

}  // namespace

void OpenInto(DcsArchive& a, const std::string& path, unsigned mode) {
  a.path = WithDefaultExtension(path);
  a.mode = mode;
  bool created = false;
  if (!(mode & DCS_MODE_CREATE_ONLY)) {
    a.stream.reset(DcsStream::Open(a.path, (mode & DCS_MODE_READ_ONLY) ? "rb" : "r+b"));
  }
  if (!a.stream && !(mode & DCS_MODE_NO_CREATE)) {
    a.stream.reset(DcsStream::Open(a.path, "w+b"));
    created = true;
  }
  if (!a.stream) throw Failure{DCS_ERR_OPEN};
  a.opened = static_cast<time_t>(platform::WallClockSeconds());
  if (created) return StartNewArchive(a, 0);

  const int64_t size = a.stream->Size();
  if (size < 0) throw Failure{DCS_ERR_READ};
  a.start = Locate(*a.stream, size);
  if (a.start < 0) {
    if (!(mode & DCS_MODE_APPEND_NEW)) throw Failure{DCS_ERR_NO_ARCHIVE};
    return StartNewArchive(a, size);
  }
  ReadArchiveHeader(a, size);
  ReadDirectory(a, size);
}

namespace {

void Free(DcsArchive* a) {
  a->magic = 0;
  delete a;
}

}  // namespace

DcsArchive* Checked(DcsArchive* archive) {
  if (archive && archive->magic == kHandleMagic) return archive;
  DcsSetLastError(DCS_ERR_HANDLE);
  return nullptr;
}

int CallBack(DcsArchive& archive, int code, void* record) {
  return archive.callback ? archive.callback(code, record, archive.user) : 1;
}

}  // namespace dcs

using namespace dcs;

int DcsSetLastError(int code) {
  return std::exchange(g_lastError, code);
}
int DcsGetLastError() {
  return g_lastError;
}

DcsArchive* DcsOpenArchive(const char* path, unsigned mode, DcsCallback callback) {
  if (mode & DCS_MODE_UNSUPPORTED) {
    DcsSetLastError(DCS_ERR_MODE);
    return nullptr;
  }
  return DcsOpenArchiveEx(path, mode, callback, -1, nullptr);
}

DcsArchive* DcsOpenArchiveEx(const char* path, unsigned mode, DcsCallback callback, intptr_t user,
                             DcsArchive* reuse) {
  if (reuse && !Checked(reuse)) return nullptr;
  if (reuse && reuse->state != 0) return DcsSetLastError(DCS_ERR_BUSY), nullptr;
  DcsArchive* a = reuse ? reuse : new (std::nothrow) DcsArchive;
  if (!a) return DcsSetLastError(DCS_ERR_EXCEPTION), nullptr;
  if (reuse) {
    DcsArchive kept;
    kept.volume = reuse->volume;
    kept.callback = reuse->callback;
    kept.user = reuse->user;
    kept.userWord = reuse->userWord;
    *a = std::move(kept);
  } else {
    a->callback = callback;
    a->user = user;
    a->volume = 1;
  }
  a->magic = kHandleMagic;
  DcsArchive* result = Guarded<DcsArchive*>(nullptr, [&] {
    if (!path) throw Failure{DCS_ERR_OPEN};
    OpenInto(*a, path, mode);
    return a;
  });
  if (!result) Free(a);
  return result;
}

int DcsCloseArchive(DcsArchive* archive) {
  DcsArchive* a = Checked(archive);
  if (!a) return 0;
  // Closing from a callback of a running listing or extraction would pull
  // the handle from under it.
  if (a->state & (kExtracting | kListing)) return DcsSetLastError(DCS_ERR_BUSY), 0;
  bool ok = !a->stream || a->stream->Close();
  Free(a);
  DcsSetLastError(ok ? DCS_OK : DCS_ERR_WRITE);
  return ok ? 1 : 0;
}

int DcsSetUserWord(DcsArchive* archive, intptr_t value) {
  DcsArchive* a = Checked(archive);
  if (!a) return 0;
  a->userWord = value;
  DcsSetLastError(DCS_OK);
  return 1;
}

intptr_t DcsGetUserWord(DcsArchive* archive) {
  DcsArchive* a = Checked(archive);
  if (!a) return 0;
  DcsSetLastError(DCS_OK);
  return a->userWord;
}
