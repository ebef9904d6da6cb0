#pragma once
// clsByteStream: the monitor's growable byte buffer, 1-based. Packets are
// built by repeated and_ and read back with bytes(); received bytes are
// wrapped with bytes(...), measured with length_ and cut with left_/right_.
// An index or count outside the stream raises run-time error 9.
#include <cstdint>
#include <vector>

class clsByteStream {
 public:
  // Appends every element, first to last.
  void conc_(const std::vector<uint8_t>& bytes);
  // Appends one byte (amortised growth).
  void and_(uint8_t byte);
  // The last n bytes; n in 1..length.
  std::vector<uint8_t> right_(int32_t n) const;
  // The first n bytes; n in 1..length.
  std::vector<uint8_t> left_(int32_t n) const;
  // Overwrites the byte at `index` (1..length).
  void set_(int32_t index, uint8_t byte);
  // The number of bytes; 0 for a new stream.
  int32_t length_() const { return static_cast<int32_t>(bytes_.size()); }
  // Replaces the contents by n bytes of `fill`.
  void ReDim_(int32_t n, uint8_t fill);

  // The stream becomes the given bytes, element 1 first.
  void bytes(std::vector<uint8_t> bytes) { bytes_ = std::move(bytes); }
  // The bytes in order, element 1 first.
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};
