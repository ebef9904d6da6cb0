#pragma once
// The target list file (Corvane.spec, profile format): [CONTROLERS] LIST with
// the target names, each followed by a comma, and [ROM_PARAMS] one line per
// target with up to four decimal fields, each followed by a comma: bits,
// blocks, words per block, bytes per word.
#include <cstdint>
#include <string>
#include <vector>

namespace pelto {

inline constexpr char kTargetFile[] = "Corvane.spec";
inline constexpr char kUndefinedTarget[] = "Undefined";

struct RomParams {
  int32_t instructionSize;
  int16_t nbOfBlocks;
  int16_t blockSize;
  int16_t padBytes;
};

// The names of the LIST, trimmed of blanks; empty names are skipped.
std::vector<std::string> TargetNames(const std::string& specFile);

// The parameters of `target` applied to `current`: the fields read are those
// ended by a comma. None: 16 bits and 2 blocks, the rest kept; one: its bits
// and 2 blocks; two: bits, blocks and 1024-word blocks; three: those and 2
// bytes per word; four: all four. A field is rounded half to even; text that
// is not a number, or a number too wide for its field, counts as 0.
RomParams ReadRomParams(const std::string& specFile, const std::string& target,
                        const RomParams& current);

}  // namespace pelto
