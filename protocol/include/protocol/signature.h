#pragma once
// The signature the programmer computes over its image: a multiple-input
// signature register of the word width, all ones at the start, fed with one
// word a step, with the feedback constant XORed in when the top bit shifts
// out. Callers choose what they feed (words as held, or as built) and the
// word that stands for each missing one.
#include <cstdint>
#include <string>

namespace protocol {

class Signature {
 public:
  explicit Signature(int width = 16);
  void Feed(uint32_t word);
  // Feeds `word` once for each word from `fed` up to `words`.
  void Pad(int64_t fed, int64_t words, uint32_t word);
  uint32_t Value() const { return value_; }

 private:
  uint32_t mask_, top_, value_;
};

// The most words of a code file that enter its signature: the ROM's words,
// or one word more than the largest image holds when that is more. A file
// a programmer can take whole enters whole; a longer one enters by that
// head, which still holds more words than any image.
int64_t FileSignatureWords(int64_t romWords, int32_t wordBytes);

// The erased word as the programmer holds it, by width (16, 18 or 22).
uint32_t ErasedWord(int width);

// The older file CRC of the control: the file's 16-bit words (high byte
// first) fed as they are, each missing word up to `maxrom` as 0xFFFF.
// 0..0xFFFF, or -1 when the file cannot be read.
int32_t FileCrc16Old(const std::string& path, int32_t maxrom);

}  // namespace protocol
