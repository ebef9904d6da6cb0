#pragma once
// The programmer's status block, read from address 0: the serial bytes at
// 0x07..0x0A, the mode bit 0x10 of the command register, the programmer's
// sum at 0x22, the device's at 0x26 and the last instruction at 0x2D, each
// low byte first.
#include <cstdint>
#include <optional>
#include <string>

#include "protocol/frames.h"

namespace protocol {

inline constexpr int kPanelStatusBytes = 48;    // the block the panel reads
inline constexpr int kControlStatusBytes = 60;  // the block the control reads
inline constexpr int kModeOffset = 0x10;
inline constexpr int kProgrammerSumOffset = 0x22;
inline constexpr int kDeviceSumOffset = 0x26;
inline constexpr int kLastInstructionOffset = 0x2D;

bool Standalone(uint8_t commandRegister);

// What the panel shows of a block. A field stays empty when its bytes lie
// past the bytes asked for or past those that arrived.
struct ProgrammerStatus {
  std::optional<std::string> serial;  // 0x07..0x0A, "%X" each, joined
  std::optional<bool> standalone;
  std::optional<std::string> programmerSum, deviceSum;  // "%02X%02X", high byte first
};
ProgrammerStatus DecodeStatus(const Bytes& answer, int count);

// A sum or instruction as the control shows it: the first two bytes of
// `field`, then the third when a word has 3 bytes or the fourth when it has
// 4, each as two upper-case hexadecimal digits, except that the third byte
// of a 3-byte word narrower than 20 bits has no leading zero.
std::string SumText(const uint8_t field[4], int wordBytes, int32_t width);

}  // namespace protocol
