#pragma once
// The signature the programmer computes over its ROM image: a multiple-input
// signature register of the word width, all ones at the start, fed with each
// word as the programmer holds it (the complement of the program's word),
// feedback 0x0483 when the top bit shifts out. Missing words up to the ROM
// size are the width's erased word.
#include <cstdint>
#include <vector>

namespace std73xx {

// The erased word as the programmer holds it, by width (16, 18 or 22).
uint32_t ErasedWord(int width);

uint32_t CodeSignature(const std::vector<uint32_t>& heldWords, int width, int romWords);

}  // namespace std73xx
