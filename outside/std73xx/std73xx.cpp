// STD73XX, our stand-in: converts ".rom" files to ".rob" and computes the
// checksum the programmer will report for a file once downloaded, as text in
// the order the programmer control shows the programmer's checksum.
#include <cerrno>
#include <cstring>

#include "platform/atomic_write.h"
#include "platform/filenames.h"
#include "platform/read_file.h"
#include "protocol/signature.h"
#include "protocol/status.h"
#include "rom_file.h"

namespace {

#define STD73XX_EXPORT extern "C" __attribute__((visibility("default")))

bool HasExtension(const std::string& path, const char* extension) {
  const std::string name = platform::FileName(path);
  const size_t dot = name.rfind('.');
  return dot != std::string::npos && platform::EqualsNoCase(name.substr(dot), extension);
}

// The words as the programmer will hold them, and the width.
bool HeldWords(const std::string& path, const std::string& content, std::vector<uint32_t>& words,
               int& width) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(content[i]); };
  if (!HasExtension(path, ".rob")) {
    width = 16;
    for (size_t i = 0; i + 1 < content.size(); i += 2) {
      words.push_back(~((byte(i) << 8) | byte(i + 1)) & 0xFFFF);
    }
    return true;
  }
  // A ".rob" takes its width from the ".rom" it was made from.
  const std::optional<std73xx::RomFile> rom =
      std73xx::ReadRomFile(platform::BaseName(path) + ".rom");
  if (!rom) return false;
  width = rom->width;
  for (size_t i = 0; i + 2 < content.size(); i += 3) {
    words.push_back((byte(i) << 16) | (byte(i + 1) << 8) | byte(i + 2));
  }
  return true;
}

}  // namespace

// 0 when the ".rob" beside the ".rom" was written; 1 unreadable or invalid
// ".rom", 2 the ".rob" could not be written.
STD73XX_EXPORT int rom2rob(const char* romPath) {
  if (romPath == nullptr) return 1;
  const std::optional<std73xx::RomFile> rom = std73xx::ReadRomFile(romPath);
  if (!rom) return 1;
  platform::AtomicFile rob;
  const bool written = rob.Open(platform::BaseName(romPath) + ".rob") &&
                       rob.Write(std73xx::RobBytes(*rom)) && rob.Commit();
  return written ? 0 : 2;
}

// The program size in words (0 for an empty file; a longer file counts by
// its head of protocol::FileSignatureWords), -1 when no checksum can be
// made, -2 for a missing file; the checksum text at the start of `text`.
STD73XX_EXPORT int PELTOChecksum(int romWords, const char* path, char* text) {
  if (path == nullptr || text == nullptr) return -1;
  // A missing file is not found; a folder, a pipe or an unreadable file
  // gives no checksum. Only the head that can enter the signature is read.
  const size_t wordBytes = HasExtension(path, ".rob") ? 3 : 2;
  const int64_t most = protocol::FileSignatureWords(romWords, static_cast<int32_t>(wordBytes));
  std::string content;
  bool cut = false;
  int error = 0;
  if (!platform::ReadFileHead(path, content, static_cast<size_t>(most) * wordBytes, cut, &error))
    return error == ENOENT || error == ENOTDIR ? -2 : -1;
  std::vector<uint32_t> words;
  int width = 16;
  if (!HeldWords(path, content, words, width)) return -1;
  // The programmer's signature over the words it holds, each missing word
  // up to the ROM size erased.
  protocol::Signature signature(width);
  for (uint32_t word : words) signature.Feed(word);
  signature.Pad(static_cast<int64_t>(words.size()), romWords, protocol::ErasedWord(width));
  const uint32_t sum = signature.Value();
  const uint8_t field[4] = {static_cast<uint8_t>(sum & 0xFF),
                            static_cast<uint8_t>((sum >> 8) & 0xFF),
                            static_cast<uint8_t>((sum >> 16) & 0xFF), 0};
  const std::string checksum = protocol::SumText(field, width == 16 ? 2 : 3, width);
  std::memcpy(text, checksum.c_str(), checksum.size() + 1);
  return static_cast<int>(words.size());
}
