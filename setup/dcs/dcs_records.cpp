#include "dcs_records.h"

#include <zlib.h>

#include <cstring>

namespace dcs {
namespace {

// Writes fields in one byte order: the file's (big-endian) or the CRC's.
class FieldWriter {
 public:
  explicit FieldWriter(bool bigEndian) : big_(bigEndian) {}
  void Bytes(const void* data, size_t size) { out_.append(static_cast<const char*>(data), size); }
  void U8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void U16(uint16_t v) { Number(v, 2); }
  void U32(uint32_t v) { Number(v, 4); }
  std::string& Out() { return out_; }

 private:
  void Number(uint32_t v, int size) {
    for (int i = 0; i < size; ++i) {
      int shift = big_ ? 8 * (size - 1 - i) : 8 * i;
      out_.push_back(static_cast<char>(v >> shift & 0xFF));
    }
  }
  bool big_;
  std::string out_;
};

void ArchiveFixed(FieldWriter& w, const ArchiveHeader& h) {
  w.Bytes(kMagic, 4);
  w.U16(h.recordSize);
  w.U16(h.versionMade);
  w.U16(h.versionNeeded);
  w.U8(h.system);
  w.U16(h.flags);
  w.U8(h.type);
  w.U32(h.created);
  w.U32(h.updated);
  w.U16(h.volume);
  w.U16(h.reserved);
  w.U16(static_cast<uint16_t>(h.name.size()));
}

void EntryFixed(FieldWriter& w, const DcsEntryInfo& e, uint16_t recordSize) {
  w.Bytes(kMagic, 4);
  w.U16(recordSize);
  w.U16(e.versionMade);
  w.U16(e.versionNeeded);
  w.U8(e.system);
  w.U16(e.flags);
  w.U16(e.method);
  w.U8(e.reserved);
  w.U32(e.time);
  w.U32(e.packedSize);
  w.U32(e.unpackedSize);
  w.U32(e.dataCrc);
  w.U32(e.attributes);
  if (e.flags & DCS_FLAG_EXTRA) w.U32(e.extra);
}

uint32_t CrcOf(const std::string& bytes) {
  return StoredCrc(bytes.data(), bytes.size());
}

}  // namespace

uint32_t Crc(uint32_t running, const void* data, size_t size) {
  const auto* p = static_cast<const Bytef*>(data);
  // zlib takes at most a uInt per call.
  while (size > 0) {
    uInt piece = size > 0x40000000u ? 0x40000000u : static_cast<uInt>(size);
    running = static_cast<uint32_t>(crc32(running, p, piece));
    p += piece;
    size -= piece;
  }
  return running;
}

uint32_t ArchiveHeaderCrc(const ArchiveHeader& header) {
  FieldWriter w(false);
  ArchiveFixed(w, header);
  w.Bytes(header.name.data(), header.name.size());
  return CrcOf(w.Out());
}

uint32_t EntryHeaderCrc(const DcsEntryInfo& entry, uint16_t recordSize) {
  FieldWriter w(false);
  EntryFixed(w, entry, recordSize);
  w.Bytes(entry.shortName.data(), entry.shortName.size());
  w.Bytes(entry.longName.data(), entry.longName.size());
  return CrcOf(w.Out());
}

std::string EncodeArchiveHeader(const ArchiveHeader& header) {
  FieldWriter w(true);
  ArchiveFixed(w, header);
  w.Bytes(header.name.data(), header.name.size());
  w.U32(ArchiveHeaderCrc(header));
  return w.Out();
}

std::string EncodeEntryHeader(const DcsEntryInfo& entry) {
  FieldWriter w(true);
  EntryFixed(w, entry, kEntryRecordSize);
  for (const std::string* s : {&entry.shortName, &entry.longName, &entry.comment}) {
    w.Bytes(s->c_str(), s->size() + 1);
  }
  w.U32(EntryHeaderCrc(entry));
  return w.Out();
}

std::string EncodeTrailer(uint32_t offsetFromStart) {
  FieldWriter w(true);
  w.Bytes(kMagic, 4);
  w.U16(0);
  w.U32(offsetFromStart);
  return w.Out();
}

ArchiveHeader DecodeArchiveFixed(const unsigned char* p) {
  ArchiveHeader h;
  h.recordSize = Be16(p + 4);
  h.versionMade = Be16(p + 6);
  h.versionNeeded = Be16(p + 8);
  h.system = p[10];
  h.flags = Be16(p + 11);
  h.type = p[13];
  h.created = Be32(p + 14);
  h.updated = Be32(p + 18);
  h.volume = Be16(p + 22);
  h.reserved = Be16(p + 24);
  return h;
}

DcsEntryInfo DecodeEntryFixed(const unsigned char* p, uint16_t* recordSize) {
  DcsEntryInfo e;
  *recordSize = Be16(p + 4);
  e.versionMade = Be16(p + 6);
  e.versionNeeded = Be16(p + 8);
  e.system = p[10];
  e.flags = Be16(p + 11);
  e.method = Be16(p + 13);
  e.reserved = p[15];
  e.time = Be32(p + 16);
  e.packedSize = Be32(p + 20);
  e.unpackedSize = Be32(p + 24);
  e.dataCrc = Be32(p + 28);
  e.attributes = Be32(p + 32);
  return e;
}

}  // namespace dcs
