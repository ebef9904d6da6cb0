#include "simulated_programmer.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <set>

namespace testdevices {
namespace {

constexpr uint8_t kWriteCode = 0xA6;
constexpr uint8_t kReadCode = 0xA5;
constexpr uint8_t kImageCode = 0xA7;
constexpr int kHeader = 5;
constexpr int kMask = SimulatedProgrammer::kMemory - 1;
constexpr uint8_t kModeBit = 0x10;

// True when `count` bytes from `address` on (wrapping) include `target`.
bool Covers(int address, int count, int target) {
  return ((target - address) & kMask) < count;
}

}  // namespace

struct SimulatedProgrammer::Impl {
  mutable std::recursive_mutex m;
  // Made first and stopped first: its thread calls into the members below.
  std::unique_ptr<SerialDevice> owned = std::make_unique<SerialDevice>();
  SerialDevice& device = *owned;
  std::vector<uint8_t> memory = std::vector<uint8_t>(kMemory, 0);
  std::vector<uint8_t> chip = std::vector<uint8_t>(kMemory, 0xFF);

  // Parser: the frame so far; a write's data still to come and where it goes.
  std::vector<uint8_t> frame;
  int dataLeft = 0, writeAddress = 0;
  bool commandWritten = false;
  uint8_t commandByte = 0;

  std::vector<ProgrammerEvent> transcript;
  std::vector<uint8_t> received;
  bool dtr = false, rts = false;

  // Running commands: the polls that saw each one busy, and its setting.
  std::map<uint8_t, int> seen, busyPolls;
  std::map<uint8_t, bool> never;
  std::set<uint8_t> running;
  int polls = 0, errors = 0;
  int chipReads = 0, insertAt = 0;
  int corruptOffset = -1;
  uint8_t corruptMask = 0;

  bool silent = false;
  int shortReply = -1, replyDelay = 0;
  std::vector<uint8_t> extraReply;

  Impl() {
    memory[kChipPresent] = 1;
    device.SetCts(true);
    device.SetDsr(true);
    SerialDevice::Handlers h;
    h.bytes = [this](const uint8_t* data, size_t size) { Receive(data, size); };
    h.hostLines = [this](bool d, bool r) { HostLines(d, r); };
    h.attach = [this](bool attached) {
      std::lock_guard<std::recursive_mutex> lock(m);
      if (!attached) DropPartialFrame();
      Note(attached ? ProgrammerEvent::kAttach : ProgrammerEvent::kDetach, 0);
    };
    device.SetHandlers(std::move(h));
  }

  ~Impl() { owned.reset(); }

  // A line change or a dropped frame: an entry without bytes.
  void Note(ProgrammerEvent::Kind kind, int value) { transcript.push_back({kind, {}, value}); }

  void HostLines(bool newDtr, bool newRts) {
    std::lock_guard<std::recursive_mutex> lock(m);
    if (newDtr != dtr) {
      Note(ProgrammerEvent::kDtr, newDtr);
      if (!newDtr) DropPartialFrame();
      dtr = newDtr;
    }
    if (newRts != rts) {
      Note(ProgrammerEvent::kRts, newRts);
      rts = newRts;
    }
  }
  void DropPartialFrame() {
    if (frame.empty()) return;
    const int bytes = static_cast<int>(frame.size());
    frame.clear();
    Note(ProgrammerEvent::kDiscard, bytes);
    dataLeft = 0;
    commandWritten = false;
  }

  // --- frames ---

  void Receive(const uint8_t* data, size_t size) {
    std::lock_guard<std::recursive_mutex> lock(m);
    received.insert(received.end(), data, data + size);
    for (size_t i = 0; i < size; ++i) Take(data[i]);
  }

  void Take(uint8_t byte) {
    frame.push_back(byte);
    const int size = static_cast<int>(frame.size());
    if (size == 1) {
      if (byte != kWriteCode && byte != kReadCode && byte != kImageCode) {
        EndFrame(ProgrammerEvent::kUnknown);
      }
      return;
    }
    if (size < kHeader) return;
    if (size == kHeader) {
      const int address = frame[1] << 8 | frame[2];
      const int count = frame[3] << 8 | frame[4];
      if (frame[0] == kReadCode) {
        EndFrame(ProgrammerEvent::kRead);
        Answer(address, count);
        return;
      }
      writeAddress = frame[0] == kImageCode ? kImage + address : address;
      dataLeft = count;
      commandWritten = false;
      if (dataLeft == 0) EndFrame(ProgrammerEvent::kWrite);
      return;
    }
    Store(byte);
    if (--dataLeft == 0) {
      EndFrame(ProgrammerEvent::kWrite);
      if (commandWritten) Command(commandByte);
    }
  }

  void EndFrame(ProgrammerEvent::Kind kind) {
    transcript.push_back({kind, frame, 0});
    frame.clear();
  }

  void Store(uint8_t byte) {
    const int address = writeAddress & kMask;
    writeAddress = address + 1;
    if (address == kCommand) {
      commandWritten = true;
      commandByte = byte;
    } else {
      memory[static_cast<size_t>(address)] = byte;
    }
  }

  // --- commands ---

  uint8_t& Register() { return memory[kCommand]; }

  void Command(uint8_t command) {
    switch (command) {
      case kOnline:
        Register() &= static_cast<uint8_t>(~kModeBit);
        break;
      case kStandalone:
        Register() |= kModeBit;
        break;
      case kError:
        ++errors;
        break;
      case kProgram:
      case kDeviceCrc:
      case kProgrammerCrc:
      case kLastInstructionCommand:
        Register() |= command;
        running.insert(command);
        seen[command] = 0;
        break;
      default:
        break;
    }
  }

  void Poll() {
    ++polls;
    for (uint8_t command : std::set<uint8_t>(running)) {
      if (never[command]) continue;
      if (seen[command] >= busyPolls[command]) {
        Complete(command);
      } else {
        ++seen[command];
      }
    }
  }

  int ImageBytes() const {
    const int blockBytes = memory[kParameters + 2] << 8 | memory[kParameters + 3];
    return std::min(blockBytes * memory[kParameters + 4], kMemory - kImage);
  }

  int Width() const { return memory[kParameters]; }
  int WordBytes() const { return Width() > 16 ? 3 : 2; }

  void StoreSum(int address, const uint8_t* bytes) {
    const size_t words = static_cast<size_t>(ImageBytes() / WordBytes());
    const uint32_t sum = Width() > 16 ? WideSignature(bytes, words, Width())
                                      : Signature(bytes, words);
    for (int i = 0; i < WordBytes(); ++i) {
      memory[static_cast<size_t>(address + i)] = static_cast<uint8_t>(sum >> (8 * i));
    }
  }

  void Complete(uint8_t command) {
    running.erase(command);
    Register() &= static_cast<uint8_t>(~command);
    for (uint8_t other : running) Register() |= other;
    const bool present = memory[kChipPresent] != 0;
    if (command == kProgram && present) {
      std::copy_n(memory.begin() + kImage, ImageBytes(), chip.begin());
      if (corruptOffset >= 0) chip[static_cast<size_t>(corruptOffset) & kMask] ^= corruptMask;
    } else if (command == kProgrammerCrc) {
      StoreSum(kProgrammerSum, &memory[kImage]);
    } else if (command == kDeviceCrc) {
      // An empty socket reads as an erased chip.
      const std::vector<uint8_t> erased(kMemory, 0xFF);
      StoreSum(kDeviceSum, present ? chip.data() : erased.data());
    } else if (command == kLastInstructionCommand) {
      const int last = std::max(ImageBytes() - WordBytes(), 0);
      for (int i = 0; i < 4; ++i) {
        memory[static_cast<size_t>(kLastInstruction + i)] =
            i < WordBytes() && present ? chip[static_cast<size_t>(last + i)] : 0;
      }
    }
  }

  // --- answers ---

  void Answer(int address, int count) {
    if (Covers(address, count, kChipPresent) && insertAt > 0 && ++chipReads >= insertAt) {
      memory[kChipPresent] = 1;
      insertAt = 0;
    }
    if (Covers(address, count, kCommand)) Poll();
    if (silent) return;
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(count) + extraReply.size());
    for (int i = 0; i < count; ++i) bytes.push_back(memory[static_cast<size_t>((address + i) & kMask)]);
    if (shortReply >= 0 && bytes.size() > static_cast<size_t>(shortReply))
      bytes.resize(static_cast<size_t>(shortReply));
    bytes.insert(bytes.end(), extraReply.begin(), extraReply.end());
    if (replyDelay > 0)
      device.After(replyDelay, [this, bytes] { device.Write(bytes); });
    else
      device.Write(bytes);
  }
};

SimulatedProgrammer::SimulatedProgrammer() : impl_(std::make_unique<Impl>()) {}
SimulatedProgrammer::~SimulatedProgrammer() = default;

#define PROGRAMMER_LOCK std::lock_guard<std::recursive_mutex> lock(impl_->m)

const std::string& SimulatedProgrammer::Endpoint() const {
  return impl_->device.Endpoint();
}
SerialDevice& SimulatedProgrammer::Device() {
  return impl_->device;
}

uint8_t SimulatedProgrammer::Byte(int address) const {
  PROGRAMMER_LOCK;
  return impl_->memory[static_cast<size_t>(address & kMask)];
}
std::vector<uint8_t> SimulatedProgrammer::Bytes(int address, int count) const {
  PROGRAMMER_LOCK;
  std::vector<uint8_t> bytes;
  for (int i = 0; i < count; ++i) bytes.push_back(impl_->memory[static_cast<size_t>((address + i) & kMask)]);
  return bytes;
}
void SimulatedProgrammer::SetBytes(int address, const std::vector<uint8_t>& bytes) {
  PROGRAMMER_LOCK;
  for (size_t i = 0; i < bytes.size(); ++i)
    impl_->memory[static_cast<size_t>((address + static_cast<int>(i)) & kMask)] = bytes[i];
}
int SimulatedProgrammer::ImageBytes() const {
  PROGRAMMER_LOCK;
  return impl_->ImageBytes();
}
std::vector<uint8_t> SimulatedProgrammer::Chip(int count) const {
  PROGRAMMER_LOCK;
  return {impl_->chip.begin(), impl_->chip.begin() + std::clamp(count, 0, kMemory)};
}
bool SimulatedProgrammer::ChipPresent() const {
  PROGRAMMER_LOCK;
  return impl_->memory[kChipPresent] != 0;
}
void SimulatedProgrammer::SetChipPresent(bool on) {
  PROGRAMMER_LOCK;
  impl_->memory[kChipPresent] = on ? 1 : 0;
  impl_->insertAt = 0;
}
void SimulatedProgrammer::InsertChipAtRead(int k) {
  PROGRAMMER_LOCK;
  impl_->memory[kChipPresent] = 0;
  impl_->chipReads = 0;
  impl_->insertAt = std::max(k, 1);
}
int SimulatedProgrammer::Errors() const {
  PROGRAMMER_LOCK;
  return impl_->errors;
}
int SimulatedProgrammer::Polls() const {
  PROGRAMMER_LOCK;
  return impl_->polls;
}

uint16_t SimulatedProgrammer::Signature(const uint8_t* bytes, size_t words) {
  uint16_t sum = 0xFFFF;
  for (size_t i = 0; i < words; ++i) {
    const uint16_t word = static_cast<uint16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    const bool carry = (sum & 0x8000) != 0;
    sum = static_cast<uint16_t>((sum << 1) ^ word);
    if (carry) sum ^= 0x0483;
  }
  return sum;
}

uint32_t SimulatedProgrammer::WideSignature(const uint8_t* bytes, size_t words, int width) {
  const uint32_t mask = (1u << width) - 1, top = 1u << (width - 1);
  uint32_t sum = mask;
  for (size_t i = 0; i < words; ++i) {
    const uint32_t word = (bytes[3 * i] | bytes[3 * i + 1] << 8 | bytes[3 * i + 2] << 16) & mask;
    const bool carry = (sum & top) != 0;
    sum = ((sum << 1) ^ word) & mask;
    if (carry) sum ^= 0x0483;
  }
  return sum;
}

std::vector<ProgrammerEvent> SimulatedProgrammer::Transcript() const {
  PROGRAMMER_LOCK;
  return impl_->transcript;
}
std::vector<std::string> SimulatedProgrammer::TranscriptText() const {
  PROGRAMMER_LOCK;
  std::vector<std::string> lines;
  for (const ProgrammerEvent& e : impl_->transcript) lines.push_back(e.Text());
  return lines;
}
std::vector<std::string> SimulatedProgrammer::FrameText() const {
  PROGRAMMER_LOCK;
  std::vector<std::string> lines;
  for (const ProgrammerEvent& e : impl_->transcript) {
    if (e.kind == ProgrammerEvent::kRead || e.kind == ProgrammerEvent::kWrite ||
        e.kind == ProgrammerEvent::kUnknown)
      lines.push_back(e.Text());
  }
  return lines;
}
std::vector<uint8_t> SimulatedProgrammer::ReceivedBytes() const {
  PROGRAMMER_LOCK;
  return impl_->received;
}
void SimulatedProgrammer::ClearTranscript() {
  PROGRAMMER_LOCK;
  impl_->transcript.clear();
  impl_->received.clear();
}

void SimulatedProgrammer::SetBusyPolls(uint8_t command, int polls) {
  PROGRAMMER_LOCK;
  impl_->busyPolls[command] = std::max(polls, 0);
}
void SimulatedProgrammer::SetNeverCompletes(uint8_t command, bool on) {
  PROGRAMMER_LOCK;
  impl_->never[command] = on;
}
void SimulatedProgrammer::CorruptChipByte(int offset, uint8_t mask) {
  PROGRAMMER_LOCK;
  impl_->corruptOffset = offset;
  impl_->corruptMask = mask;
}

void SimulatedProgrammer::SetSilent(bool on) {
  PROGRAMMER_LOCK;
  impl_->silent = on;
}
void SimulatedProgrammer::SetShortReply(int bytes) {
  PROGRAMMER_LOCK;
  impl_->shortReply = bytes;
}
void SimulatedProgrammer::SetExtraReply(std::vector<uint8_t> bytes) {
  PROGRAMMER_LOCK;
  impl_->extraReply = std::move(bytes);
}
void SimulatedProgrammer::SetReplyDelay(int ms) {
  PROGRAMMER_LOCK;
  impl_->replyDelay = ms;
}

void SimulatedProgrammer::SetCts(bool on) {
  impl_->device.SetCts(on);
}
void SimulatedProgrammer::SetDsr(bool on) {
  impl_->device.SetDsr(on);
}
void SimulatedProgrammer::SetCd(bool on) {
  impl_->device.SetCd(on);
}
void SimulatedProgrammer::DropDsr(bool ctsOn) {
  impl_->device.SetCts(ctsOn);
  impl_->device.SetDsr(false);
}
void SimulatedProgrammer::SetHold(bool on) {
  impl_->device.SetHold(on);
}
void SimulatedProgrammer::SetRefuseHosts(bool on) {
  impl_->device.SetRefuseHosts(on);
}

}  // namespace testdevices
