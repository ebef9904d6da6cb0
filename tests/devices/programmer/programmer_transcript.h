#pragma once
// One entry of the simulated programmer's transcript: a host line change or a
// whole frame as it arrived (a write with all its data bytes).
#include <cstdint>
#include <string>
#include <vector>

namespace testdevices {

struct ProgrammerEvent {
  // The line changes come first, in LineChange order.
  enum Kind {
    kAttach,   // a host opened the port
    kDetach,   // the host closed it
    kDtr,      // value: the new level
    kRts,      // value: the new level
    kRead,     // frame: the request
    kWrite,    // frame: header and data
    kUnknown,  // frame: one byte that starts no frame
    kDiscard,  // value: bytes of a partial frame dropped by DTR off or a detach
  };
  Kind kind;
  std::vector<uint8_t> frame;
  int value = 0;

  // "attach", "detach", "DTR on", "RTS off", the frame's bytes in upper-case
  // hexadecimal separated by blanks ("A6 00 10 00 01 02", "A5 00 00 00 30",
  // "3C" for an unknown byte), "discard 3 bytes".
  std::string Text() const;
};

// Bytes as "A6 00 10", the transcript's notation.
std::string HexBytes(const std::vector<uint8_t>& bytes);

}  // namespace testdevices
