// Extracting one entry: output, decoder, volume continuation, file time and
// attributes, and the data CRC.
#include <sys/stat.h>
#include <utime.h>

#include <memory>

#include "dcs_decoders.h"

namespace dcs {
namespace {

using Decoder = int (*)(DecoderContext&);

Decoder DecoderOf(uint16_t method) {
  switch (method) {
    case DCS_METHOD_STORED:
      return &DcsUnstore;
    case DCS_METHOD_ZLIB:
      return &DcsInflateEntry;
    case DCS_METHOD_BZIP2:
      return &DcsBunzipEntry;
    default:
      return nullptr;
  }
}

// The output file: the folder, one separator, and the name's last component
// after either separator. A component that names no file of its own ("",
// ".", "..") is refused, so nothing is ever written outside the folder.
std::string OutputPath(const char* folder, const std::string& requested) {
  const size_t cut = requested.find_last_of("\\/");
  std::string name = cut == std::string::npos ? requested : requested.substr(cut + 1);
  if (name.empty() || name == "." || name == "..") throw Failure{DCS_ERR_WRITE};
  if (!folder || !*folder) return name;
  std::string path = folder;
  if (path.back() != '/' && path.back() != '\\') path += '/';
  return path + name;
}

// The next volume, from the path the callback names, replaces the handle's
// stream and directory. Until it is open the handle keeps what it had, so a
// refused or missing volume leaves it usable; a callback that names no
// volume says that none follows: the entry's data ends before its size.
void OpenNextVolume(DcsArchive& a) {
  DcsVolumeRequest request;
  request.volume = a.volume + 1;
  request.archive = &a;
  if (CallBack(a, DCS_CB_NEXT_VOLUME, &request) == 0) throw Failure{DCS_ERR_ABORTED};
  if (request.path.empty()) throw Failure{DCS_ERR_ABORTED};
  DcsArchive next;
  next.volume = request.volume;
  OpenInto(next, request.path, DCS_MODE_READ_ONLY | DCS_MODE_NO_CREATE);
  a.stream->Close();
  a.volume = next.volume;
  a.stream = std::move(next.stream);
  a.path = next.path;
  a.mode = next.mode;
  a.start = next.start;
  a.header = next.header;
  a.opened = next.opened;
  a.directory = std::move(next.directory);
}

void PositionAtData(DcsArchive& a, const Node& node, DecoderContext& context) {
  if (!a.stream->Seek(node.dataPos, SEEK_SET)) throw Failure{DCS_ERR_READ};
  context.packed = node.entry.packedSize;
}

// Extracts `node` into `given`, or into the file `outputName` names inside
// `folder`; `again` finds the entry in the next volume.
template <typename FindAgain>
void Extract(DcsArchive& a, const Node& node, const std::string& outputName, const char* folder,
             DcsStream* given, FindAgain again) {
  const DcsEntryInfo entry = node.entry;
  std::unique_ptr<DcsStream> own;
  std::string ownPath;
  if (!given) {
    ownPath = OutputPath(folder, outputName);
    own.reset(DcsStream::Open(ownPath, "w+b"));
    if (!own) throw Failure{DCS_ERR_WRITE};
  }
  DcsStream& out = given ? *given : *own;
  const Decoder decode = DecoderOf(entry.method);
  if (!decode) throw Failure{DCS_ERR_METHOD};

  DecoderContext context(a, out, entry);
  PositionAtData(a, node, context);
  while (decode(context) == kDecoderContinue) {
    a.state |= kDecoderHoldsState;
    context.earlier += context.written;
    context.written = 0;
    OpenNextVolume(a);
    const Node* next = again();
    if (!next) throw Failure{DCS_ERR_NO_MATCH};
    PositionAtData(a, *next, context);
  }

  if (!out.Flush()) throw Failure{DCS_ERR_WRITE};
  const time_t when = static_cast<time_t>(entry.time);
  if (own) {
    if (!own->Close()) throw Failure{DCS_ERR_WRITE};
    const struct utimbuf times { when, when };
    utime(ownPath.c_str(), &times);
    struct stat info;
    if ((entry.attributes & DCS_ATTR_READONLY) && stat(ownPath.c_str(), &info) == 0) {
      chmod(ownPath.c_str(), info.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH));
    }
  } else {
    const struct timespec times[2] = {{when, 0}, {when, 0}};
    futimens(out.Descriptor(), times);
  }
  if (~context.crc != entry.dataCrc) throw Failure{DCS_ERR_DATA_CRC};
}

// Runs an extraction under the busy mark.
template <typename Body>
int Extraction(DcsArchive* archive, Body body) {
  DcsArchive* a = Checked(archive);
  if (!a) return 0;
  if (a->state & kExtracting) return DcsSetLastError(DCS_ERR_BUSY), 0;
  if (!a->stream) return DcsSetLastError(DCS_ERR_READ), 0;
  a->state |= kExtracting;
  const int result = Guarded(0, [&] {
    body(*a);
    return 1;
  });
  a->state &= ~(kExtracting | kDecoderHoldsState);
  return result;
}

}  // namespace
}  // namespace dcs

using namespace dcs;

int DcsExtractFile(DcsArchive* archive, const char* pattern, const char* folder,
                   DcsStream* output) {
  return Extraction(archive, [&](DcsArchive& a) {
    const Node* node = pattern ? FindNode(a, pattern) : nullptr;
    if (!node) throw Failure{DCS_ERR_NO_MATCH};
    Extract(a, *node, pattern, folder, output, [&] { return FindNode(a, pattern); });
  });
}

int DcsExtractEntry(DcsArchive* archive, uint32_t index, const char* folder, DcsStream* output) {
  return Extraction(archive, [&](DcsArchive& a) {
    if (size_t{index} + 1 >= a.directory.size())
      throw Failure{DCS_ERR_NO_MATCH};  // the trailer is last
    const DcsEntryInfo entry = a.directory[index].entry;
    // In the next volume the entry is the one of the same names.
    auto again = [&]() -> const Node* {
      for (const Node& node : a.directory) {
        if (node.recordSize != 0 && node.entry.longName == entry.longName &&
            node.entry.shortName == entry.shortName)
          return &node;
      }
      return nullptr;
    };
    Extract(a, a.directory[index], entry.longName, folder, output, again);
  });
}
