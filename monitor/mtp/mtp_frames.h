#pragma once
// The device programmer's frames as plain functions returning bytes, the
// checks of the panel's block parameters, and the status block's reading.
// No port and no window: the module MTP_PROG sends what these build.
//
//   write         A6 aH aL nH nL, then n data bytes (no answer)
//   read request  A5 aH aL nH nL (the answer is n raw bytes)
//   command       a one-byte write to 0x0010
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace monitor {

using ProgrammerFrame = std::vector<uint8_t>;

// Programmer addresses and command bytes.
constexpr int kParameterAddress = 0x0000;
constexpr int kCommandAddress = 0x0010;
constexpr int kDeviceSumAddress = 0x0026;
constexpr int kImageAddress = 0x0100;
constexpr int kStatusBytes = 48;
enum ProgrammerCommand : uint8_t {
  kCommandOnline = 0x00,
  kCommandError = 0x01,
  kCommandProgram = 0x02,
  kCommandDeviceCrc = 0x04,
  kCommandProgrammerCrc = 0x08,
  kCommandStandalone = 0x10,
};

ProgrammerFrame WriteFrame(uint16_t address, const std::vector<uint8_t>& data);
ProgrammerFrame ReadRequest(uint16_t address, uint16_t count);
ProgrammerFrame CommandFrame(uint8_t command);
// Four zero bytes at 0x0026: the device checksum cleared.
ProgrammerFrame ClearFrame();

// The panel's block parameters as typed.
struct RomTexts {
  std::string instrbits, nbblocks, blocksize, padbits;
  bool ml = false, mh = false;
};

// A whole decimal number (blanks around it allowed); nothing otherwise.
std::optional<int32_t> WholeNumber(const std::string& text);
// Bytes per instruction word: the bits divided by 8, rounded up.
int32_t InstructionBytes(int32_t bits);

// A6 00 00 00 07 [bits, 0, B high, B low, blocks, ML, MH], B = bytes per
// word * block size. Nothing when a field is not a number, the bits or the
// blocks exceed 255, or B exceeds 32767.
std::optional<ProgrammerFrame> ParameterFrame(const RomTexts& texts);
// The image's byte count C = block size * blocks * bytes per word; nothing
// when a field is not a number or C exceeds 32767.
std::optional<int32_t> ImageCount(const RomTexts& texts);
// A6 01 00 CH CL.
ProgrammerFrame ImageHeader(int32_t count);
// Exactly `count` data bytes for a code image file (words high byte first):
// each whole word as its complemented low byte, then its complemented high
// byte, as far as the words go; then 0xFF. An odd last byte is dropped.
std::vector<uint8_t> ImageStream(const std::vector<uint8_t>& file, int32_t count);

// What the status block shows. A field stays empty when its bytes lie past
// the bytes asked for or past those that arrived.
struct ProgrammerStatus {
  std::optional<std::string> serial;  // 0x07..0x0A, "%X" each, joined
  std::optional<bool> standalone;     // bit 0x10 of 0x10
  std::optional<std::string> programmerSum, deviceSum;  // "%02X%02X" of 0x23, 0x22 / 0x27, 0x26
};
ProgrammerStatus DecodeStatus(const std::vector<uint8_t>& answer, int count);

}  // namespace monitor
