#pragma once
// The archive handle and its directory, and the helpers the operations share.
#include <cstdint>
#include <ctime>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "dcs/dcs.h"
#include "dcs_records.h"
#include "dcs_stream.h"

namespace dcs {

inline constexpr uint32_t kHandleMagic = 0x98124928;
inline constexpr uint32_t kDecoderMagic = 0x95276489;

// State bits of a handle.
inline constexpr unsigned kExtracting = 0x01;
inline constexpr unsigned kDecoderHoldsState = 0x02;
inline constexpr unsigned kListing = 0x04;  // a listing is running

// One directory node: an entry, or the trailer (record size 0) that ends it.
struct Node {
  uint16_t recordSize = 0;
  DcsEntryInfo entry;
  uint32_t headerCrc = 0;
  int64_t entryPos = 0;
  int64_t dataPos = 0;
};

// Ends an operation with a code; caught at the operation's boundary.
struct Failure {
  int code;
};

}  // namespace dcs

struct DcsArchive {
  uint32_t magic = 0;
  std::unique_ptr<DcsStream> stream;
  std::string path;
  unsigned mode = 0;
  unsigned state = 0;
  int64_t start = 0;
  dcs::ArchiveHeader header;
  time_t opened = 0;
  std::vector<dcs::Node> directory;  // in file order, the trailer last
  unsigned volume = 0;
  DcsCallback callback = nullptr;
  intptr_t user = -1;
  intptr_t userWord = 0;
};

namespace dcs {

// A handle with its magic, or null after setting error 12.
DcsArchive* Checked(DcsArchive* archive);
// Opens `path` into the handle's stream, header and directory.
void OpenInto(DcsArchive& archive, const std::string& path, unsigned mode);
// The first directory entry matching the pattern, or null.
const Node* FindNode(const DcsArchive& archive, const std::string& pattern);
// The archive callback, or the built-in one that always goes on.
int CallBack(DcsArchive& archive, int code, void* record);

// Runs an operation: a Failure gives its code, any other exception code 1;
// success clears the last error. Returns `failed` on failure.
template <typename Result, typename Body>
Result Guarded(Result failed, Body body) {
  try {
    Result result = body();
    DcsSetLastError(DCS_OK);
    return result;
  } catch (const Failure& f) {
    DcsSetLastError(f.code);
  } catch (...) {
    DcsSetLastError(DCS_ERR_EXCEPTION);
  }
  return failed;
}

}  // namespace dcs
