#include "mtp/rom_params.h"

#include "protocol/image.h"

namespace monitor {

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

RomParams ReadRomParams(const std::string& instrbits, const std::string& nbblocks,
                        const std::string& blocksize, const std::string& padbits, bool ml,
                        bool mh) {
  return {WholeNumber(instrbits),
          WholeNumber(nbblocks),
          WholeNumber(blocksize),
          WholeNumber(padbits),
          ml,
          mh};
}

std::optional<protocol::Parameters> ParameterBlock(const RomParams& p) {
  if (!p.bits || !p.blocks || !p.words || *p.bits > 255 || *p.blocks > 255) return std::nullopt;
  const std::optional<int16_t> blockBytes =
      protocol::BlockBytes(*p.words, protocol::InstructionBytes(*p.bits));
  if (!blockBytes || *blockBytes < 0) return std::nullopt;
  return protocol::Parameters{static_cast<uint8_t>(*p.bits), *blockBytes,
                              static_cast<uint8_t>(*p.blocks), p.ml, p.mh};
}

std::optional<int32_t> ImageCount(const RomParams& p) {
  if (!p.bits || !p.blocks || !p.words) return std::nullopt;
  return protocol::ImageCount(*p.words, *p.blocks, protocol::InstructionBytes(*p.bits));
}

int32_t PaddingBytes(const RomParams& p) {
  return protocol::InstructionBytes(p.padbits.value_or(0));
}

}  // namespace monitor
