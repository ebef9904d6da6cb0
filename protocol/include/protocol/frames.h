#pragma once
// The device programmer's frames as plain functions returning bytes. The
// programmer is a memory of 16-bit addresses:
//
//   write         A6 aH aL nH nL, then n data bytes (no answer)
//   read request  A5 aH aL nH nL (the answer is n raw bytes)
//   command       a one-byte write to 0x0010; its bits stay set while it runs
#include <cstdint>
#include <vector>

namespace protocol {

using Bytes = std::vector<uint8_t>;

// Frame codes.
inline constexpr uint8_t kWriteCode = 0xA6;
inline constexpr uint8_t kReadCode = 0xA5;
inline constexpr uint8_t kWideImageCode = 0xA7;  // the image of 22-bit targets

// Programmer addresses.
inline constexpr uint16_t kParameterAddress = 0x0000;
inline constexpr uint16_t kStatusAddress = 0x0000;
inline constexpr uint16_t kChipAddress = 0x000B;  // non-zero: a chip in the socket
inline constexpr uint16_t kEraseTimeAddress = 0x000C;
inline constexpr uint16_t kCommandAddress = 0x0010;
inline constexpr uint16_t kDeviceSumAddress = 0x0026;  // cleared before a device sum
inline constexpr uint16_t kLastInstructionAddress = 0x002D;
inline constexpr uint16_t kClockAddress = 0x0031;
inline constexpr uint16_t kVppAddress = 0x0032;
inline constexpr uint16_t kImageAddress = 0x0100;

// Command bytes written to the command address.
enum Command : uint8_t {
  kCommandOnline = 0x00,
  kCommandError = 0x01,
  kCommandProgram = 0x02,
  kCommandLastInstruction = 0x03,
  kCommandDeviceSum = 0x04,
  kCommandProgrammerSum = 0x08,
  kCommandStandalone = 0x10,
};

// The command register's bits that stay set while `command` runs: a poll
// for its end waits for them to clear.
constexpr uint8_t RunningBits(uint8_t command) {
  return command;
}
// All of the register's bits: a poll for them waits until no command at all
// still runs.
inline constexpr uint8_t kAnyCommandRunning = 0xFF;

// The five header bytes: code, address and count, each high byte first.
Bytes Header(uint8_t code, uint16_t address, uint16_t count);
Bytes WriteFrame(uint16_t address, const Bytes& data, uint8_t code = kWriteCode);
Bytes ReadRequest(uint16_t address, uint16_t count);
// A one-byte write of `command` to the command address.
Bytes CommandFrame(uint8_t command);
// Four zero bytes at the device sum's address.
Bytes ClearFrame();
// The erase time: 100, or 2 for 22-bit targets.
Bytes EraseTimeFrame(int32_t width);

// The parameter block at 0x0000: A6 00 00 00 07, then the instruction bits,
// 0, the bytes per block (high, low), the blocks, ML and MH (1 or 0).
struct Parameters {
  uint8_t bits = 16;
  int16_t blockBytes = 0;
  uint8_t blocks = 2;
  bool ml = false, mh = false;
};
Bytes ParameterFrame(const Parameters& parameters);

}  // namespace protocol
