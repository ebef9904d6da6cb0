#pragma once
// The DCS archive library: finds an archive inside a file (at its start, or
// appended to a program and found through its trailer), reads its directory
// with every header check, lists and finds entries by wildcard pattern, and
// extracts them (stored, zlib or bzip2 streams) with progress and data CRC
// checks. Every operation returns non-zero (or a handle) for success and 0
// (or null) for failure, and sets the last error (0 on success).
#include <cstdint>
#include <string>

// Error codes of DcsGetLastError.
enum DcsError : int {
  DCS_OK = 0,
  DCS_ERR_EXCEPTION = 1,  // a run-time exception inside the operation
  DCS_ERR_ABORTED = 2,    // aborted by a callback, or a short read or write while extracting
  DCS_ERR_METHOD = 4,     // unknown method
  DCS_ERR_DATA_CRC = 5,
  DCS_ERR_HEADER_CRC = 6,
  DCS_ERR_READ = 7,   // read error or end of file inside a record
  DCS_ERR_WRITE = 8,  // write error, or the output file cannot be created
  DCS_ERR_NO_ARCHIVE = 11,
  DCS_ERR_HANDLE = 12,  // not a valid handle or decoder context
  DCS_ERR_OPEN = 13,    // the file cannot be opened or created
  DCS_ERR_NO_MATCH = 14,
  DCS_ERR_MODE = 19,  // unsupported open mode
  DCS_ERR_BUSY = 20,  // an extraction is already running on this handle
};

// Open modes (bits).
enum DcsOpenMode : unsigned {
  DCS_MODE_NO_CREATE = 0x01,    // never create a file
  DCS_MODE_READ_ONLY = 0x02,    // otherwise read-write
  DCS_MODE_MARK_FLAGS = 0x04,   // sets bit 0 of a created archive's flags
  DCS_MODE_APPEND_NEW = 0x08,   // no archive in an existing file: start one at its end
  DCS_MODE_CREATE_ONLY = 0x10,  // do not open an existing file, create a new one
  DCS_MODE_UNSUPPORTED = 0x10000,
};

// Entry flags and methods.
constexpr uint16_t DCS_FLAG_EXTRA = 0x0004;   // an extra word follows the attributes
constexpr uint16_t DCS_FLAG_HIDDEN = 0x0020;  // left out of listings
constexpr uint16_t DCS_METHOD_STORED = 0;
constexpr uint16_t DCS_METHOD_ZLIB = 4;
constexpr uint16_t DCS_METHOD_BZIP2 = 5;

// Windows attribute bits an entry carries.
constexpr uint32_t DCS_ATTR_READONLY = 0x01;
constexpr uint32_t DCS_ATTR_ARCHIVE = 0x20;

// Archive callback codes and the return value that aborts an extraction.
constexpr int DCS_CB_PROGRESS = 0;
constexpr int DCS_CB_NEXT_VOLUME = 1;
constexpr int DCS_CB_ABORT = 2;

struct DcsArchive;  // the archive handle
class DcsStream;    // a file opened by the library

struct DcsProgress {
  uint32_t size = 0;     // the entry's unpacked size
  uint32_t written = 0;  // bytes written so far, all volumes
  int done = 0;          // 1 on the last call for the entry
};

// Record of DCS_CB_NEXT_VOLUME: the callback stores the next volume's path.
struct DcsVolumeRequest {
  std::string path;
  unsigned volume = 0;
  DcsArchive* archive = nullptr;
};

// (code, DcsProgress* or DcsVolumeRequest*, user value): non-zero goes on.
using DcsCallback = int (*)(int code, void* record, intptr_t user);

struct DcsEntryInfo {
  uint16_t versionMade = 0x0150;
  uint16_t versionNeeded = 0x0130;
  uint8_t system = 3;
  uint16_t flags = 0;
  uint16_t method = 0;
  uint8_t reserved = 0;
  uint32_t time = 0;
  uint32_t packedSize = 0;
  uint32_t unpackedSize = 0;
  uint32_t dataCrc = 0;
  uint32_t attributes = 0;
  uint32_t extra = 0;  // meaningful only with DCS_FLAG_EXTRA
  std::string shortName, longName, comment;
  uint32_t index = 0;  // the entry's place in the directory, set by the reader
};

// (entry, user value, 0): 0 stops the listing (error 2).
using DcsListCallback = int (*)(const DcsEntryInfo* entry, intptr_t user, int reserved);

struct DcsArchiveInfo {
  uint16_t versionMade = 0;
  uint16_t versionNeeded = 0;
  uint8_t system = 0;
  uint16_t flags = 0;
  uint8_t type = 0;
  uint32_t created = 0;
  uint32_t updated = 0;
  std::string name;
};

int DcsSetLastError(int code);  // returns the previous code
int DcsGetLastError();

DcsArchive* DcsOpenArchive(const char* path, unsigned mode, DcsCallback callback);
// `reuse`, when given, is a handle whose volume counter, callback and user
// values are kept; on failure it is freed like a new one.
DcsArchive* DcsOpenArchiveEx(const char* path, unsigned mode, DcsCallback callback, intptr_t user,
                             DcsArchive* reuse);
int DcsCloseArchive(DcsArchive* archive);

int DcsEnumFiles(DcsArchive* archive, const char* pattern, DcsListCallback callback, intptr_t user);
int DcsGetArchiveInfo(DcsArchive* archive, DcsArchiveInfo* info);
// The first matching entry, valid until the archive is closed or reopened.
const DcsEntryInfo* DcsFindEntry(DcsArchive* archive, const char* pattern);
// Extracts the first entry matching `pattern` into `output` when given,
// otherwise into the file named by the pattern's last component (after its
// last '\\' or '/') inside `folder` (or the current folder when that is
// null); a last component "", "." or ".." is refused (error 8). Nothing is
// ever written outside `folder`.
int DcsExtractFile(DcsArchive* archive, const char* pattern, const char* folder, DcsStream* output);
// Extracts the directory entry at `index` (DcsEntryInfo::index) in the same
// way, the file named by its long name's last component; no pattern is
// involved, so every entry, whatever its names hold, gives its own bytes.
int DcsExtractEntry(DcsArchive* archive, uint32_t index, const char* folder, DcsStream* output);

int DcsSetUserWord(DcsArchive* archive, intptr_t value);
intptr_t DcsGetUserWord(DcsArchive* archive);

// Files as the library opens them (fopen modes, a 64 KiB buffer).
DcsStream* DcsOpenStream(const char* path, const char* mode);
// A stream on a descriptor the caller opened (fdopen modes); it owns the
// descriptor from then on, also when it fails (null).
DcsStream* DcsAdoptStream(int descriptor, const char* mode);
int DcsCloseStream(DcsStream* stream);

// Whether `name` matches `pattern`: '?' one character, '*' any run, other
// characters without case; when either has no '\\' both are cut to the part
// after their last '\\'.
bool DcsMatchName(const char* pattern, const char* name);
