#pragma once
// One entry of the simulated emulator's transcript: a host line change or a
// received 3-byte unit with its reading.
#include <cstdint>
#include <string>

namespace testdevices {

struct IceEvent {
  // The line changes come first, in LineChange order.
  enum Kind {
    kAttach,       // a host opened the port
    kDetach,       // the host closed it
    kDtr,          // value: the new level
    kRts,          // value: the new level
    kRead,         // a: unit address, b: count
    kWord,         // a: the command word
    kWriteHeader,  // a: unit address, b: count
    kData,         // a: unit address, value: the 24-bit unit stored there
    kUnknown,      // a unit with tag 3
    kDiscard,      // DTR off dropped a: bytes of a partial unit, b: units of a write block
  };
  Kind kind;
  uint8_t raw[3] = {0, 0, 0};  // the unit's bytes, for the unit kinds
  int a = 0;
  int b = 0;
  uint32_t value = 0;

  // "attach", "detach", "DTR on", "RTS off", "00 44 04 read 1100 4",
  // "25 00 00 word 9", "02 44 04 write 1100 4", "59 0A 01 data 1100 010A59",
  // "07 00 00 unknown", "discard 2 bytes 1 units". Addresses and data in
  // upper-case hexadecimal, counts and words in decimal.
  std::string Text() const;
};

}  // namespace testdevices
