#pragma once
// The decoders of the three methods. Each reads at most the entry's packed
// bytes of the current volume, writes through the output stream, keeps the
// data CRC and reports progress; a callback abort, a short read or write and
// corrupt data (output beyond the entry's size, or a stream that ends short
// of it) end the extraction with a Failure.
#include <bzlib.h>
#include <zlib.h>

#include <cstdint>

#include "dcs_handle.h"

namespace dcs {

inline constexpr int kDecoderDone = 0;
inline constexpr int kDecoderContinue = 0x12345678;  // this volume's bytes are used up

struct DecoderContext {
  DecoderContext(DcsArchive& a, DcsStream& out, const DcsEntryInfo& entry)
      : archive(&a), output(&out), unpacked(entry.unpackedSize) {}
  ~DecoderContext();
  DecoderContext(const DecoderContext&) = delete;
  DecoderContext& operator=(const DecoderContext&) = delete;

  uint32_t magic = kDecoderMagic;
  uint32_t crc = 0xFFFFFFFFu;
  DcsArchive* archive;
  DcsStream* output;
  uint32_t packed = 0;    // this volume's packed bytes
  uint32_t unpacked;      // the entry's unpacked size
  uint64_t earlier = 0;   // bytes produced in earlier volumes
  uint64_t written = 0;   // bytes produced in this volume
  uint64_t reported = 0;  // total at the last progress call
  z_stream zlib{};
  bool zlibReady = false;
  bz_stream bzip{};
  bool bzipReady = false;
};

int DcsUnstore(DecoderContext& context);
int DcsInflateEntry(DecoderContext& context);
int DcsBunzipEntry(DecoderContext& context);

}  // namespace dcs
