#pragma once
// The records of an archive as bytes: big-endian fields on disk, header CRCs
// over the same fields in little-endian order. Shared by the reader and the
// builder, so what one writes the other checks the same way.
#include <cstddef>
#include <cstdint>
#include <string>

#include "dcs/dcs.h"

namespace dcs {

inline constexpr char kMagic[4] = {'R', 'V', 'C', 'F'};
inline constexpr uint16_t kArchiveRecordSize = 36;
inline constexpr uint16_t kEntryRecordSize = 72;
inline constexpr size_t kArchiveFixedSize = 28;  // up to the name
inline constexpr size_t kEntryFixedSize = 36;    // up to the extra word
inline constexpr size_t kTrailerSize = 10;
inline constexpr size_t kMaxName = 1024;  // longest name a reader accepts

struct ArchiveHeader {
  uint16_t recordSize = kArchiveRecordSize;
  uint16_t versionMade = 0x0150;
  uint16_t versionNeeded = 0x0130;
  uint8_t system = 3;
  uint16_t flags = 0;
  uint8_t type = 2;
  uint32_t created = 0;
  uint32_t updated = 0;
  uint16_t volume = 1;
  uint16_t reserved = 0;
  std::string name;
  uint32_t crc = 0;
};

// The CRC register as zlib keeps it: start with 0xFFFFFFFF, and the stored
// value is the result inverted.
uint32_t Crc(uint32_t running, const void* data, size_t size);
inline uint32_t StoredCrc(const void* data, size_t size) {
  return ~Crc(0xFFFFFFFFu, data, size);
}

uint32_t ArchiveHeaderCrc(const ArchiveHeader& header);
uint32_t EntryHeaderCrc(const DcsEntryInfo& entry, uint16_t recordSize = kEntryRecordSize);

// The record's bytes, its CRC computed here.
std::string EncodeArchiveHeader(const ArchiveHeader& header);
std::string EncodeEntryHeader(const DcsEntryInfo& entry);
std::string EncodeTrailer(uint32_t offsetFromStart);

// Fixed parts from bytes (the buffer holds the fixed size).
ArchiveHeader DecodeArchiveFixed(const unsigned char* bytes);
DcsEntryInfo DecodeEntryFixed(const unsigned char* bytes, uint16_t* recordSize);

inline uint16_t Be16(const unsigned char* p) {
  return static_cast<uint16_t>(p[0] << 8 | p[1]);
}
inline uint32_t Be32(const unsigned char* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

}  // namespace dcs
