#pragma once
// The simulated device programmer: the programmer's side of its frame
// protocol on the device end of the serial rig (serial_device.h), in the
// rig's own thread, so it answers like hardware whatever the host's waits do.
//
// Wire (big-endian fields, no acknowledgement):
//   A6 aH aL nH nL + n data   write n bytes from address a
//   A5 aH aL nH nL            read: the answer is exactly n raw bytes
//   A7 aH aL nH nL + n data   write n image bytes from image offset a (the
//                             image of 22-bit targets, from 0x0100 + a)
// Frames split across reads are joined; a byte that starts no frame is
// recorded as unknown and skipped. DTR off or a detach drops a partial frame.
//
// Memory: 64 KiB, addresses wrap at 0x10000.
//   0x0000  7 bytes  parameter block [bits, 0, B high, B low, blocks, ML, MH]
//                    (B = bytes per block); the image covers blocks * B bytes
//   0x0007  4 bytes  serial bytes (set by the test)
//   0x000B  1 byte   chip present (non-zero)
//   0x000C  1 byte   erase time
//   0x0010  1 byte   command register: mode bit 0x10 and the busy bits
//   0x0022  2 bytes  programmer checksum, low byte first (3 for wide words)
//   0x0026  4 bytes  device checksum, low byte first (the host clears them)
//   0x002D  4 bytes  last instruction, low byte first
//   0x0031  1 byte   clock index
//   0x0032  1 byte   programming voltage (slider position)
//   0x0100  ...      the image
// A write that covers 0x0010 is a command, taken when its frame is complete:
// 0x00 on-line (bit 0x10 off), 0x10 stand-alone (bit 0x10 on), 0x01 error
// (counted), 0x02 program, 0x08 programmer checksum, 0x04 device checksum.
// The last three set their bit; every read that covers 0x0010 is a poll, and
// the poll after BusyPolls polls that still saw the bit completes the command
// before it is answered: program copies the image into the chip (when one is
// present), the checksum commands store the signature of the image or of the
// chip, last instruction stores the chip's word at the last ROM address.
// Other command bytes are recorded and change nothing.
//
// Signature (the code image checksum): start 0xFFFF; per 16-bit word w, read
// low byte first, shift left within 16 bits, XOR w, XOR 0x0483 when bit 15
// was set before the shift. Words wider than 16 bits (parameter byte 0 above
// 16) take 3 bytes each, and the register has their width (18 or 22 bits).
//
// Lines at power-up: CTS and DSR on, CD off; the test moves them.
//
//   testdevices::SimulatedProgrammer programmer;
//   setenv("TAVIX_COM3", programmer.Endpoint().c_str(), 1);
//   ... open a platform::SerialPort on COM3 and talk ...
//   EXPECT_EQ(programmer.TranscriptText()[3], "A6 00 10 00 01 02");
//
// Every method is thread-safe.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "programmer_transcript.h"
#include "serial_device.h"

namespace testdevices {

class SimulatedProgrammer {
 public:
  static constexpr int kMemory = 0x10000;
  static constexpr int kParameters = 0x0000;
  static constexpr int kSerial = 0x0007;
  static constexpr int kChipPresent = 0x000B;
  static constexpr int kCommand = 0x0010;
  static constexpr int kProgrammerSum = 0x0022;
  static constexpr int kDeviceSum = 0x0026;
  static constexpr int kImage = 0x0100;
  static constexpr int kEraseTime = 0x000C;
  static constexpr int kLastInstruction = 0x002D;
  static constexpr int kClock = 0x0031;
  static constexpr int kVpp = 0x0032;

  // Command bytes.
  static constexpr uint8_t kOnline = 0x00;
  static constexpr uint8_t kError = 0x01;
  static constexpr uint8_t kProgram = 0x02;
  static constexpr uint8_t kDeviceCrc = 0x04;
  static constexpr uint8_t kProgrammerCrc = 0x08;
  static constexpr uint8_t kStandalone = 0x10;
  static constexpr uint8_t kLastInstructionCommand = 0x03;

  SimulatedProgrammer();
  ~SimulatedProgrammer();
  SimulatedProgrammer(const SimulatedProgrammer&) = delete;
  SimulatedProgrammer& operator=(const SimulatedProgrammer&) = delete;

  const std::string& Endpoint() const;
  // The rig's device end: its lines, HOLD, the host's DTR/RTS and rate.
  SerialDevice& Device();

  // Memory (addresses wrap).
  uint8_t Byte(int address) const;
  std::vector<uint8_t> Bytes(int address, int count) const;
  void SetBytes(int address, const std::vector<uint8_t>& bytes);
  // The image's size in bytes as the parameter block gives it.
  int ImageBytes() const;
  // The chip's contents (0xFF where nothing was programmed) and whether one
  // sits in the socket (it does at power-up).
  std::vector<uint8_t> Chip(int count) const;
  bool ChipPresent() const;
  void SetChipPresent(bool on);
  // The chip arrives at the k-th read of 0x000B from now (k >= 1).
  void InsertChipAtRead(int k);
  // Error commands received.
  int Errors() const;
  // Polls of the command register.
  int Polls() const;

  // The signature over `words` little-endian 16-bit words.
  static uint16_t Signature(const uint8_t* bytes, size_t words);
  // The same over 3-byte words of `width` bits.
  static uint32_t WideSignature(const uint8_t* bytes, size_t words, int width);

  // Transcript, in arrival order.
  std::vector<ProgrammerEvent> Transcript() const;
  std::vector<std::string> TranscriptText() const;
  // Only the frames' texts (no line changes, attach or detach).
  std::vector<std::string> FrameText() const;
  std::vector<uint8_t> ReceivedBytes() const;
  void ClearTranscript();

  // Command completion: the polls that still see the command's bit (0: the
  // first poll finds it done), and a command that never completes.
  void SetBusyPolls(uint8_t command, int polls);
  void SetNeverCompletes(uint8_t command, bool on);
  // Programming writes the image byte at `offset` XOR `mask` into the chip;
  // a negative offset switches it off.
  void CorruptChipByte(int offset, uint8_t mask);

  // Answers; each switch is cleared by calling it again with its "off" value.
  void SetSilent(bool on);                         // no answer to reads
  void SetShortReply(int bytes);                   // only the first `bytes`; -1 off
  void SetExtraReply(std::vector<uint8_t> bytes);  // appended to every answer; {} off
  void SetReplyDelay(int ms);                      // answers leave after `ms`; 0 off

  // Lines and the host's output.
  void SetCts(bool on);
  void SetDsr(bool on);
  void SetCd(bool on);
  void DropDsr(bool ctsOn);      // DSR off now, CTS set first
  void SetHold(bool on);         // the host's output stalls
  void SetRefuseHosts(bool on);  // refuse every host

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace testdevices
