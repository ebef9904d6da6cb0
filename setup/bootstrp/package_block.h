#pragma once
// SETUP.PKG: the package block the loader carries for the second stage,
// 1,024 bytes beginning "RVPL".
#include <array>

namespace vanstall {

inline constexpr size_t kPackageBlockSize = 1024;

// "RVPL", the block's format version (1) as a little-endian 32-bit word, zeros.
constexpr std::array<char, kPackageBlockSize> PackageBlock() {
  std::array<char, kPackageBlockSize> block{};
  block[0] = 'R';
  block[1] = 'V';
  block[2] = 'P';
  block[3] = 'L';
  block[4] = 1;
  return block;
}

}  // namespace vanstall
