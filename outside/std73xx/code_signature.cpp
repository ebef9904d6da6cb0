#include "code_signature.h"

namespace std73xx {

uint32_t ErasedWord(int width) {
  return width == 18 ? 0x029FFF : (1u << width) - 1;
}

uint32_t CodeSignature(const std::vector<uint32_t>& heldWords, int width, int romWords) {
  const uint32_t mask = (1u << width) - 1, top = 1u << (width - 1);
  uint32_t signature = mask;
  const auto step = [&](uint32_t word) {
    const bool carry = (signature & top) != 0;
    signature = ((signature << 1) ^ (word & mask)) & mask;
    if (carry) signature ^= 0x0483;
  };
  for (uint32_t word : heldWords) step(word);
  for (int i = static_cast<int>(heldWords.size()); i < romWords; ++i) step(ErasedWord(width));
  return signature;
}

}  // namespace std73xx
