#include "protocol/signature.h"

#include <algorithm>

#include "platform/read_file.h"
#include "protocol/image.h"

namespace protocol {
namespace {

constexpr uint32_t kFeedback = 0x0483;

}  // namespace

Signature::Signature(int width)
    : mask_((1u << width) - 1), top_(1u << (width - 1)), value_(mask_) {}

void Signature::Feed(uint32_t word) {
  const bool carry = (value_ & top_) != 0;
  value_ = ((value_ << 1) ^ (word & mask_)) & mask_;
  if (carry) value_ ^= kFeedback;
}

void Signature::Pad(int64_t fed, int64_t words, uint32_t word) {
  for (int64_t i = fed; i < words; ++i) Feed(word);
}

int64_t FileSignatureWords(int64_t romWords, int32_t wordBytes) {
  return std::max<int64_t>(romWords, kMostImageBytes / std::max(wordBytes, 1) + 1);
}

uint32_t ErasedWord(int width) {
  return width == 18 ? 0x029FFF : (1u << width) - 1;
}

int32_t FileCrc16Old(const std::string& path, int32_t maxrom) {
  // Only the head that can enter the signature is read, as for the others.
  std::string bytes;
  bool cut = false;
  const size_t most = static_cast<size_t>(FileSignatureWords(maxrom, 2)) * 2;
  if (!platform::ReadFileHead(path, bytes, most, cut)) return -1;
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
  Signature crc;
  int32_t count = 0;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2, ++count) crc.Feed((byte(i) << 8) | byte(i + 1));
  crc.Pad(count, maxrom, 0xFFFF);
  return static_cast<int32_t>(crc.Value());
}

}  // namespace protocol
