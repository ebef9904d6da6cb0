// The programming panel's boxes and the programmer's answers as any text:
// lines 1 to 4 are the instruction bits, blocks, block size and padding, the
// rest the file and the answer. A count is never past its 16 bits, the image
// data is exactly the count, and a status block is read only where it lies.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz_lines.h"
#include "mtp/rom_params.h"
#include "protocol/image.h"
#include "protocol/status.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> lines = FuzzLines(data, size);
  lines.resize(std::max<size_t>(lines.size(), 5));
  const monitor::RomParams params =
      monitor::ReadRomParams(lines[0], lines[1], lines[2], lines[3], size % 2 == 0, size % 3 == 0);
  const protocol::Bytes rest(lines[4].begin(), lines[4].end());
  if (const auto block = monitor::ParameterBlock(params)) {
    if (block->blockBytes < 0 || protocol::ParameterFrame(*block).size() != 12) std::abort();
  }
  const std::optional<int32_t> count = monitor::ImageCount(params);
  if (count && (*count < 0 || *count > 32767)) std::abort();
  for (int width : {16, 18, 22, 12}) {
    const protocol::ImageShape shape{width, 1 + static_cast<int32_t>(size % 4), count.value_or(0),
                                     width != 22};
    if (protocol::ImageData(rest, shape).size() != static_cast<size_t>(shape.count)) std::abort();
  }
  const protocol::ProgrammerStatus status =
      protocol::DecodeStatus(rest, static_cast<int>(size) - 64);
  if (status.deviceSum && status.deviceSum->size() != 4) std::abort();
  return 0;
}
