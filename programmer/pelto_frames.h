#pragma once
// The frames the programmer control sends to the device programmer. A write
// frame is the code byte, the address and the count (high byte first), then
// the data; a read request is 0xA5 with address and count, answered by that
// many raw bytes. Plain functions returning bytes: the control sends them.
#include <cstdint>
#include <optional>
#include <vector>

namespace pelto {

using Bytes = std::vector<uint8_t>;

// Programmer addresses.
inline constexpr int kParamsAddress = 0x0000;
inline constexpr int kStatusAddress = 0x0000;
inline constexpr int kStatusSize = 60;
inline constexpr int kChipAddress = 0x000B;
inline constexpr int kEraseTimeAddress = 0x000C;
inline constexpr int kCommandAddress = 0x0010;
inline constexpr int kDeviceCrcAddress = 0x0026;
inline constexpr int kLastInstructionAddress = 0x002D;
inline constexpr int kClockAddress = 0x0031;
inline constexpr int kVppAddress = 0x0032;
inline constexpr int kImageAddress = 0x0100;

// Command bytes written to the command address.
inline constexpr uint8_t kCommandOnLine = 0x00;
inline constexpr uint8_t kCommandStandAlone = 0x10;
inline constexpr uint8_t kCommandProgram = 0x02;
inline constexpr uint8_t kCommandRamCrc = 0x08;
inline constexpr uint8_t kCommandDeviceCrc = 0x04;
inline constexpr uint8_t kCommandLastInstruction = 0x03;

// code, address high, address low, count high, count low, data.
Bytes WriteFrame(int address, const Bytes& data, uint8_t code = 0xA6);
Bytes ReadRequest(int address, int count);
// A one-byte write of `command` to the command address.
Bytes CommandFrame(uint8_t command);
// The erase time: 100, or 2 for 22-bit targets.
Bytes EraseTimeFrame(int32_t instructionSize);

// The ROM parameter block: bits, 0, bytes per block (high, low), blocks, 0, 0.
// Nothing when the bytes per block do not fit 16 signed bits.
std::optional<Bytes> RomParamsFrame(int32_t instructionSize, int16_t blockSize,
                                    int16_t padBytes, int16_t nbOfBlocks);

// The ROM image's data bytes N = block size x blocks x bytes per word;
// nothing when N does not fit 16 signed bits or is negative.
std::optional<int> ImageBytes(int16_t blockSize, int16_t nbOfBlocks, int16_t padBytes);

struct ImageShape {
  int32_t instructionSize;
  int padBytes;
  int dataBytes;   // N
  bool converted;  // a converted file is sent uncomplemented
};

// The whole image frame: header (A6 01 00, or A7 00 00 for 22-bit targets)
// and N data bytes. The file's bytes fill words of `padBytes` bytes, each
// complemented unless converted, and each word goes out last byte first; an
// incomplete last word is dropped and the file stops at N bytes. The rest is
// filled by width: 16 all 0xFF, 18 FF 9F 02, 22 FF FF 3F per word, others 0.
Bytes RomImageFrame(const Bytes& file, const ImageShape& shape);

}  // namespace pelto
