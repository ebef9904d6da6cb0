#pragma once
// The simulated in-circuit emulator: the emulator's side of the wire protocol
// on the device end of the serial rig (serial_device.h), in the rig's own
// thread, so it answers like hardware whatever the monitor's waits do.
//
// Wire: every host byte belongs to a 3-byte unit, byte 0 = (a AND 63) * 4 +
// tag, byte 1 = a \ 64, byte 2 = b. Tag 0 reads b units from a (the reply is
// b * 3 raw bytes, low byte first), tag 1 is the command word a, tag 2 writes
// the b raw units that follow to a, a + 1, ..., tag 3 is recorded and ignored.
// Units split across reads are joined; DTR off drops a partial unit and the
// rest of a write block.
//
// Memory: 16384 units of 24 bits. 0x0000-0x0FFF program (filler 0x00F0FF),
// 0x1080 + n data cell n, 0x1100-0x1103 the 12-byte state packet,
// 0x1F80 + n condition unit of cell n (cleared 0x002000), 0x2000 + i trace
// record i (reset 0xFFFFFF). The rest reads 0.
//
// Command words: 16 reset (packet 0, CD on, DSR low for resetDsrLow ms when
// set), 1 stop (when running: CD on after stopDelay), 4 step (CD off, program
// counter + 1, CD on after stepTime; or a CD pulse too short to see; or the
// test's own step action), 2 go (CD off and running, or a scripted halt that
// sets the program counter or writes units, then CD on).
// Several bits act in the order reset, stop, step, go; every word is recorded.
//
// Lines at power-up: CD on (halted), CTS on, DSR follows DTR after
// dsrFollowsDtr ms. Closing the host's port counts as DTR off.
//
//   testdevices::SimulatedIce ice;
//   setenv("TAVIX_COM1", ice.Endpoint().c_str(), 1);
//   ... open a platform::SerialPort on COM1 and talk ...
//   EXPECT_EQ(ice.TranscriptText()[0], "attach");
//
// Every method is thread-safe; the step action runs on the device thread and
// may call any method.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ice_transcript.h"
#include "serial_device.h"

namespace testdevices {

// One unit of the emulator's memory as a scripted halt leaves it.
struct IceUnit {
  int address;
  uint32_t value;
};

struct IceTimings {
  int dsrFollowsDtr = 1;  // ms from a DTR change to DSR following it
  int resetDsrLow = 0;    // ms DSR stays off after a reset word (0: it stays on)
  int stopDelay = 1;      // ms from a stop word to CD on
  int stepTime = 2;       // ms from a step word to CD on
};

class SimulatedIce {
 public:
  static constexpr int kUnits = 16384;
  static constexpr int kStatePacket = 0x1100;
  static constexpr int kDataCells = 0x1080;
  static constexpr int kConditions = 0x1F80;
  static constexpr int kTrace = 0x2000;

  explicit SimulatedIce(IceTimings timings = {});
  ~SimulatedIce();
  SimulatedIce(const SimulatedIce&) = delete;
  SimulatedIce& operator=(const SimulatedIce&) = delete;

  const std::string& Endpoint() const;
  // The rig's device end: its lines, HOLD, the host's DTR/RTS and rate.
  SerialDevice& Device();
  void SetTimings(IceTimings timings);

  // Memory, addressed in units (masked to 14 bits).
  uint32_t Unit(int address) const;
  void SetUnit(int address, uint32_t value);
  std::array<uint8_t, 12> StatePacket() const;
  void SetStatePacket(const std::array<uint8_t, 12>& packet);
  // The stack entry that the packet's level code selects (12 bits).
  int ProgramCounter() const;
  bool Running() const;

  // Transcript, in arrival order.
  std::vector<IceEvent> Transcript() const;
  std::vector<std::string> TranscriptText() const;
  std::vector<int> Words() const;
  std::vector<uint8_t> ReceivedBytes() const;
  void ClearTranscript();

  // Step: a CD pulse too short to see (the CD counter advances by two in one
  // record, the level stays on) instead of off, then on after stepTime.
  void SetStepTooShort(bool on);
  // Replaces the step reaction; an empty function restores it.
  void SetStepAction(std::function<void()> action);
  // The next go halts after `ms` with the program counter `pc` (CD on).
  void ScriptGoHalt(int ms, int pc);
  // The next go halts after `ms`: the units are written into the memory in
  // order (a state packet at 0x1100, data cells at 0x1080 + n, trace records
  // at 0x2000 + i, whatever the run would have left), then CD comes on. A
  // reset before then cancels the halt.
  void ScriptGoWrite(int ms, std::vector<IceUnit> units);

  // The four units that hold a 12-byte state packet, low byte first.
  static std::vector<IceUnit> PacketUnits(const std::array<uint8_t, 12>& packet);
  // The unit of a trace record: PC bits 0-7; PC bits 8-11 and the
  // accumulator; the flags (bits 3-7 of the last byte are sent as given).
  static uint32_t TraceUnit(int pc, int accumulator, int flags);

  // Faults; each switch is cleared by calling it again with its "off" value.
  void SetSilent(bool on);        // no reply to reads
  void SetShortReply(int bytes);  // only the first `bytes` of a reply; -1 off
  void SetReplyDelay(int ms);     // replies leave after `ms`; 0 off
  void SetDsrStuckOn(bool on);    // DSR never goes off after DTR off
  void SetDsrDead(bool on);       // DSR never comes on (silent or missing emulator)
  void DropDsr(bool ctsOn);       // DSR off now, with CTS on or off
  void HoldCtsOff(int ms);        // CTS off for `ms`, for good when negative
  void SetHold(bool on);          // the host's output stalls
  void SetRefuseHosts(bool on);   // refuse every host
  void SetDsr(bool on);           // DSR back on (or off) now

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace testdevices
