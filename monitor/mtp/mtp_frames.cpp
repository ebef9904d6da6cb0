#include "mtp/mtp_frames.h"

#include <algorithm>
#include <cstdio>

namespace monitor {
namespace {

constexpr int32_t kSigned16 = 32767;

uint8_t High(int32_t value) {
  return static_cast<uint8_t>(value >> 8);
}
uint8_t Low(int32_t value) {
  return static_cast<uint8_t>(value);
}

// The five header bytes, with room for `data` more.
ProgrammerFrame Header(uint8_t code, uint16_t address, uint16_t count, size_t data = 0) {
  ProgrammerFrame frame;
  frame.reserve(5 + data);
  for (uint8_t byte : {code, High(address), Low(address), High(count), Low(count)})
    frame.push_back(byte);
  return frame;
}

// The texts as numbers, when each is one.
struct Block {
  int32_t bits, blocks, words;
};
std::optional<Block> ReadBlock(const RomTexts& texts) {
  const auto bits = WholeNumber(texts.instrbits);
  const auto blocks = WholeNumber(texts.nbblocks);
  const auto words = WholeNumber(texts.blocksize);
  if (!bits || !blocks || !words) return std::nullopt;
  return Block{*bits, *blocks, *words};
}

}  // namespace

ProgrammerFrame WriteFrame(uint16_t address, const std::vector<uint8_t>& data) {
  ProgrammerFrame frame = Header(0xA6, address, static_cast<uint16_t>(data.size()), data.size());
  frame.insert(frame.end(), data.begin(), data.end());
  return frame;
}

ProgrammerFrame ReadRequest(uint16_t address, uint16_t count) {
  return Header(0xA5, address, count);
}

ProgrammerFrame CommandFrame(uint8_t command) {
  return WriteFrame(kCommandAddress, {command});
}

ProgrammerFrame ClearFrame() {
  return WriteFrame(kDeviceSumAddress, {0, 0, 0, 0});
}

std::optional<int32_t> WholeNumber(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::nullopt;
  const size_t last = text.find_last_not_of(' ');
  int64_t value = 0;
  for (size_t i = first; i <= last; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > INT32_MAX) return std::nullopt;
  }
  return static_cast<int32_t>(value);
}

int32_t InstructionBytes(int32_t bits) {
  // bits + 7 would overflow for the largest counts.
  return bits / 8 + (bits % 8 != 0 ? 1 : 0);
}

std::optional<ProgrammerFrame> ParameterFrame(const RomTexts& texts) {
  const std::optional<Block> block = ReadBlock(texts);
  if (!block || block->bits > 255 || block->blocks > 255) return std::nullopt;
  const int64_t blockBytes = int64_t{InstructionBytes(block->bits)} * block->words;
  if (blockBytes > kSigned16) return std::nullopt;
  const auto b = static_cast<int32_t>(blockBytes);
  return WriteFrame(kParameterAddress,
                    {Low(block->bits), 0, High(b), Low(b), Low(block->blocks),
                     static_cast<uint8_t>(texts.ml ? 1 : 0), static_cast<uint8_t>(texts.mh ? 1 : 0)});
}

std::optional<int32_t> ImageCount(const RomTexts& texts) {
  const std::optional<Block> block = ReadBlock(texts);
  if (!block) return std::nullopt;
  // Checked after each product: the three fields of up to 31 bits each
  // would overflow 64 bits together.
  int64_t count = int64_t{block->words} * block->blocks;
  if (count > kSigned16) return std::nullopt;
  count *= InstructionBytes(block->bits);
  if (count > kSigned16) return std::nullopt;
  return static_cast<int32_t>(count);
}

ProgrammerFrame ImageHeader(int32_t count) {
  return Header(0xA6, kImageAddress, static_cast<uint16_t>(count));
}

std::vector<uint8_t> ImageStream(const std::vector<uint8_t>& file, int32_t count) {
  std::vector<uint8_t> bytes;
  bytes.reserve(static_cast<size_t>(std::max(count, 0)));
  for (size_t i = 0; i + 1 < file.size() && bytes.size() < static_cast<size_t>(count); i += 2) {
    bytes.push_back(static_cast<uint8_t>(~file[i + 1]));
    bytes.push_back(static_cast<uint8_t>(~file[i]));
  }
  bytes.resize(static_cast<size_t>(std::max(count, 0)), 0xFF);
  return bytes;
}

ProgrammerStatus DecodeStatus(const std::vector<uint8_t>& answer, int count) {
  const size_t seen = std::min(answer.size(), static_cast<size_t>(std::max(count, 0)));
  const auto has = [&](size_t last) { return last < seen; };
  const auto sum = [&](size_t low) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X", answer[low + 1], answer[low]);
    return std::string(text);
  };
  ProgrammerStatus status;
  if (has(0x0A)) {
    char text[16];
    std::snprintf(text, sizeof text, "%X%X%X%X", answer[7], answer[8], answer[9], answer[10]);
    status.serial = text;
  }
  if (has(0x10)) status.standalone = (answer[0x10] & 0x10) != 0;
  if (has(0x23)) status.programmerSum = sum(0x22);
  if (has(0x27)) status.deviceSum = sum(0x26);
  return status;
}

}  // namespace monitor
