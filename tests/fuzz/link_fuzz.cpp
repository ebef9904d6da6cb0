// The link's byte stream and the state packet: stream operations driven by
// the input, and a packet that reads into the registers and back unchanged
// after its first reading.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "emulator/byte_stream.h"
#include "emulator/emulator_session.h"
#include "platform/run_time_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace monitor;
  if (size >= 12) {
    StatePacket packet;
    std::copy_n(data, packet.size(), packet.begin());
    ::CpuState cpu{};
    DecodeStatePacket(packet, cpu);
    const StatePacket once = EncodeStatePacket(cpu);
    ::CpuState again = cpu;
    DecodeStatePacket(once, again);
    if (EncodeStatePacket(again) != once) std::abort();
  }
  clsByteStream stream;
  for (size_t i = 0; i + 1 < size; i += 2) {
    const int32_t n = static_cast<int8_t>(data[i + 1]);
    try {
      switch (data[i] % 6) {
        case 0:
          stream.and_(data[i + 1]);
          break;
        case 1:
          stream.conc_(std::vector<uint8_t>(data, data + (data[i + 1] % (size + 1))));
          break;
        case 2:
          if (stream.left_(n).size() != static_cast<size_t>(n)) std::abort();
          break;
        case 3:
          if (stream.right_(n).size() != static_cast<size_t>(n)) std::abort();
          break;
        case 4:
          stream.set_(n, data[i]);
          break;
        default:
          stream.ReDim_(n, data[i]);
          break;
      }
    } catch (const platform::RunTimeError& error) {
      if (error.Number() != 9 && error.Number() != 5) std::abort();
    }
    if (stream.length_() != static_cast<int32_t>(stream.bytes().size())) std::abort();
  }
  return 0;
}
