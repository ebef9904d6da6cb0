#include "dcs_decoders.h"

#include <algorithm>
#include <memory>

namespace dcs {
namespace {

inline constexpr size_t kStorePiece = 256;
inline constexpr int kStoreProgressEvery = 16;  // pieces: one call per 4 KiB
// The stream decoders' buffers. With pieces of 2 KiB they ran a quarter
// slower than zlib's own loop (inflate's slow path at every piece's end, and
// many more reads and writes); with 64 KiB they keep its pace.
inline constexpr size_t kStreamInput = 65536;
inline constexpr size_t kStreamOutput = 65536;
inline constexpr uint64_t kProgressBytes = 4096;  // stream decoders report at most this often

uint64_t Total(const DecoderContext& c) {
  return c.earlier + c.written;
}

void Progress(DecoderContext& c, bool done) {
  DcsProgress record;
  record.size = c.unpacked;
  record.written = static_cast<uint32_t>(Total(c));
  record.done = done ? 1 : 0;
  c.reported = Total(c);
  if (CallBack(*c.archive, DCS_CB_PROGRESS, &record) == DCS_CB_ABORT)
    throw Failure{DCS_ERR_ABORTED};
}

void ReadPacked(DecoderContext& c, void* data, size_t size) {
  if (c.archive->stream->Read(data, size) != size) throw Failure{DCS_ERR_ABORTED};
}

void WriteOut(DecoderContext& c, const void* data, size_t size) {
  if (size == 0) return;
  // More output than the entry holds is corrupt data; stop before it fills the disk.
  if (Total(c) + size > c.unpacked) throw Failure{DCS_ERR_ABORTED};
  c.crc = Crc(c.crc, data, size);
  if (c.output->Write(data, size) != size) throw Failure{DCS_ERR_ABORTED};
  c.written += size;
}

// The shared loop of the stream decoders over zlib's or libbzip2's stream
// record (both name their buffer fields alike). `step` runs the decoder once
// and returns 1 at the stream's end, 0 to go on, -1 on corrupt data.
template <typename Stream, typename Step>
int RunStream(DecoderContext& c, Stream& stream, Step step) {
  using InPtr = decltype(stream.next_in);
  using OutPtr = decltype(stream.next_out);
  std::unique_ptr<unsigned char[]> buffers(new unsigned char[kStreamInput + kStreamOutput]);
  unsigned char* in = buffers.get();
  unsigned char* out = in + kStreamInput;
  uint32_t remaining = c.packed;
  size_t filled = 0;
  stream.avail_in = 0;
  for (;;) {
    if (stream.avail_in == 0 && remaining > 0) {
      const uint32_t n = std::min<uint32_t>(remaining, kStreamInput);
      ReadPacked(c, in, n);
      remaining -= n;
      stream.next_in = reinterpret_cast<InPtr>(in);
      stream.avail_in = n;
    }
    stream.next_out = reinterpret_cast<OutPtr>(out + filled);
    stream.avail_out = static_cast<unsigned>(kStreamOutput - filled);
    const int state = step();
    if (state < 0) throw Failure{DCS_ERR_ABORTED};
    filled = kStreamOutput - stream.avail_out;
    const bool starved = stream.avail_in == 0 && remaining == 0 && filled < kStreamOutput;
    if (filled == kStreamOutput || state == 1 || starved) {
      WriteOut(c, out, filled);
      filled = 0;
    }
    if (state == 1) {
      // A stream that ends before the declared size is as corrupt as one beyond it.
      if (Total(c) != c.unpacked) throw Failure{DCS_ERR_ABORTED};
      Progress(c, true);
      return kDecoderDone;
    }
    if (Total(c) - c.reported >= kProgressBytes) Progress(c, false);
    if (starved) return kDecoderContinue;
  }
}

}  // namespace

DecoderContext::~DecoderContext() {
  if (zlibReady) inflateEnd(&zlib);
  if (bzipReady) BZ2_bzDecompressEnd(&bzip);
  magic = 0;
}

// Copies pieces of 256 bytes with progress after the 1st, 17th, ... piece;
// the 16 pieces between two progress calls move with one read and two writes.
int DcsUnstore(DecoderContext& c) {
  unsigned char block[kStorePiece * kStoreProgressEvery];
  uint32_t remaining = c.packed;
  while (Total(c) < c.unpacked && remaining > 0) {
    const size_t n = std::min<uint64_t>({remaining, sizeof block, c.unpacked - Total(c)});
    ReadPacked(c, block, n);
    remaining -= static_cast<uint32_t>(n);
    const size_t first = std::min(n, kStorePiece);
    WriteOut(c, block, first);
    Progress(c, false);
    WriteOut(c, block + first, n - first);
  }
  if (Total(c) < c.unpacked) return kDecoderContinue;
  Progress(c, true);
  return kDecoderDone;
}

int DcsInflateEntry(DecoderContext& c) {
  if (!c.zlibReady) {
    if (inflateInit(&c.zlib) != Z_OK) throw Failure{DCS_ERR_ABORTED};
    c.zlibReady = true;
  }
  return RunStream(c, c.zlib, [&] {
    const int rc = inflate(&c.zlib, Z_NO_FLUSH);
    if (rc == Z_STREAM_END) return 1;
    return rc == Z_OK || rc == Z_BUF_ERROR ? 0 : -1;
  });
}

int DcsBunzipEntry(DecoderContext& c) {
  if (!c.bzipReady) {
    if (BZ2_bzDecompressInit(&c.bzip, 0, 0) != BZ_OK) throw Failure{DCS_ERR_ABORTED};
    c.bzipReady = true;
  }
  return RunStream(c, c.bzip, [&] {
    const int rc = BZ2_bzDecompress(&c.bzip);
    if (rc == BZ_STREAM_END) return 1;
    return rc == BZ_OK ? 0 : -1;
  });
}

}  // namespace dcs
