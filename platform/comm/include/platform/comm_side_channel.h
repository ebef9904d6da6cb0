#pragma once
// The modem-line side channel between a serial port and a simulated device on
// a pseudo-terminal (a pty has no modem lines). Both ends include this header.
//
// The device listens on a Unix SOCK_SEQPACKET socket; the port connects to it
// when it opens. The device's first record is a line record that carries the
// pty's slave descriptor as SCM_RIGHTS, or a refusal when it already has a
// host. Closing the connection reads, on both sides, as every line off.
//
// A record is 16 bytes, little-endian: kind (u8), levels (u8), reserved (u16),
// three u32 counters (the transitions of CTS, DSR and CD since the device
// started; used by device records only).
#include <cstddef>
#include <cstdint>

namespace platform::side_channel {

constexpr size_t kRecordSize = 16;

enum Kind : uint8_t {
  kHostLines = 1,    // host to device: kDtr, kRts
  kDeviceLines = 2,  // device to host: kCts, kDsr, kCd, kHold and the counters
  kRefusal = 3,      // device to host: another host has the device
};

// Host line bits.
constexpr uint8_t kDtr = 1;
constexpr uint8_t kRts = 2;
// Device line bits. kHold: the device takes no bytes; the host keeps what is
// written in its own queue, as a stalled transmitter would.
constexpr uint8_t kCts = 1;
constexpr uint8_t kDsr = 2;
constexpr uint8_t kCd = 4;
constexpr uint8_t kHold = 8;

struct Record {
  uint8_t kind = 0;
  uint8_t levels = 0;
  uint32_t counters[3] = {0, 0, 0};  // CTS, DSR, CD
};

inline void Encode(const Record& r, uint8_t out[kRecordSize]) {
  out[0] = r.kind;
  out[1] = r.levels;
  out[2] = out[3] = 0;
  for (int i = 0; i < 3; ++i)
    for (int b = 0; b < 4; ++b) out[4 + 4 * i + b] = static_cast<uint8_t>(r.counters[i] >> (8 * b));
}

inline Record Decode(const uint8_t in[kRecordSize]) {
  Record r;
  r.kind = in[0];
  r.levels = in[1];
  for (int i = 0; i < 3; ++i)
    for (int b = 0; b < 4; ++b)
      r.counters[i] |= static_cast<uint32_t>(in[4 + 4 * i + b]) << (8 * b);
  return r;
}

}  // namespace platform::side_channel
