#include "protocol/frames.h"

namespace protocol {

Bytes Header(uint8_t code, uint16_t address, uint16_t count) {
  return {code, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address),
          static_cast<uint8_t>(count >> 8), static_cast<uint8_t>(count)};
}

Bytes WriteFrame(uint16_t address, const Bytes& data, uint8_t code) {
  Bytes frame = Header(code, address, static_cast<uint16_t>(data.size()));
  frame.insert(frame.end(), data.begin(), data.end());
  return frame;
}

Bytes ReadRequest(uint16_t address, uint16_t count) {
  return Header(kReadCode, address, count);
}

Bytes CommandFrame(uint8_t command) {
  return WriteFrame(kCommandAddress, {command});
}

Bytes ClearFrame() {
  return WriteFrame(kDeviceSumAddress, {0, 0, 0, 0});
}

Bytes EraseTimeFrame(int32_t width) {
  return WriteFrame(kEraseTimeAddress, {static_cast<uint8_t>(width == 22 ? 2 : 100)});
}

Bytes ParameterFrame(const Parameters& p) {
  const auto blockBytes = static_cast<uint16_t>(p.blockBytes);
  return WriteFrame(kParameterAddress, {p.bits, 0, static_cast<uint8_t>(blockBytes >> 8),
                                        static_cast<uint8_t>(blockBytes), p.blocks,
                                        static_cast<uint8_t>(p.ml), static_cast<uint8_t>(p.mh)});
}

}  // namespace protocol
