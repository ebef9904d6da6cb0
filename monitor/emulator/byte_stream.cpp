#include "emulator/byte_stream.h"

#include <string>

#include "platform/run_time_error.h"

namespace {

void CheckRange(int32_t value, size_t length) {
  if (value < 1 || static_cast<size_t>(value) > length)
    throw platform::RunTimeError(9, "Subscript out of range");
}

}  // namespace

void clsByteStream::conc_(const std::vector<uint8_t>& bytes) {
  if (&bytes == &bytes_) {  // a stream appended to itself
    std::vector<uint8_t> copy = bytes;
    bytes_.insert(bytes_.end(), copy.begin(), copy.end());
    return;
  }
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void clsByteStream::and_(uint8_t byte) {
  bytes_.push_back(byte);
}

std::vector<uint8_t> clsByteStream::right_(int32_t n) const {
  CheckRange(n, bytes_.size());
  return std::vector<uint8_t>(bytes_.end() - n, bytes_.end());
}

std::vector<uint8_t> clsByteStream::left_(int32_t n) const {
  CheckRange(n, bytes_.size());
  return std::vector<uint8_t>(bytes_.begin(), bytes_.begin() + n);
}

void clsByteStream::set_(int32_t index, uint8_t byte) {
  CheckRange(index, bytes_.size());
  bytes_[static_cast<size_t>(index - 1)] = byte;
}

void clsByteStream::ReDim_(int32_t n, uint8_t fill) {
  if (n < 0) throw platform::RunTimeError(9, "Subscript out of range");
  bytes_.assign(static_cast<size_t>(n), fill);
}
