#include "simulated_ice.h"

#include <mutex>

namespace testdevices {
namespace {

constexpr uint32_t kProgramFiller = 0x00F0FF;
constexpr uint32_t kClearedCondition = 0x002000;
constexpr uint32_t kTraceReset = 0xFFFFFF;
constexpr int kMask = SimulatedIce::kUnits - 1;

enum Word { kStop = 1, kGo = 2, kStep = 4, kReset = 16 };

}  // namespace

struct SimulatedIce::Impl {
  // Recursive: the step action runs under it and may call back in.
  mutable std::recursive_mutex m;
  IceTimings timings;
  // Made first and stopped first: its thread calls into the members below.
  std::unique_ptr<SerialDevice> owned = std::make_unique<SerialDevice>();
  SerialDevice& device = *owned;
  std::vector<uint32_t> memory = std::vector<uint32_t>(kUnits, 0);

  // Parser.
  uint8_t partial[3] = {0, 0, 0};
  int partialSize = 0;
  int writeLeft = 0, writeAddress = 0;

  std::vector<IceEvent> transcript;
  std::vector<uint8_t> received;
  bool dtr = false, rts = false;
  bool running = false;

  bool stepTooShort = false;
  std::function<void()> stepAction;
  bool goScripted = false;
  int goHaltMs = 0;
  std::function<void()> goHalt;  // what the scripted halt leaves before CD comes on
  std::vector<int> runTimers;    // pending stop/step/go reactions, cancelled by reset
  int dsrTimer = 0;

  bool silent = false, dsrStuckOn = false, dsrDead = false;
  int shortReply = -1, replyDelay = 0;

  explicit Impl(IceTimings t) : timings(t) {
    for (int i = 0; i < 0x1000; ++i) memory[i] = kProgramFiller;
    for (int n = 0; n < 128; ++n) memory[kConditions + n] = kClearedCondition;
    for (int i = 0; i < 8192; ++i) memory[kTrace + i] = kTraceReset;
    device.SetCts(true);
    device.SetCd(true);
    SerialDevice::Handlers h;
    h.bytes = [this](const uint8_t* data, size_t size) { Bytes(data, size); };
    h.hostLines = [this](bool d, bool r) { HostLines(d, r); };
    h.attach = [this](bool attached) {
      std::lock_guard<std::recursive_mutex> lock(m);
      transcript.push_back(IceEvent{attached ? IceEvent::kAttach : IceEvent::kDetach});
    };
    device.SetHandlers(std::move(h));
  }

  ~Impl() { owned.reset(); }

  void Record(IceEvent::Kind kind, const uint8_t* raw, int a, int b, uint32_t value = 0) {
    IceEvent e{kind};
    for (int i = 0; i < 3; ++i) e.raw[i] = raw[i];
    e.a = a;
    e.b = b;
    e.value = value;
    transcript.push_back(e);
  }

  // --- packet ---

  uint8_t PacketByte(int i) const {  // 1-based
    return static_cast<uint8_t>(memory[kStatePacket + (i - 1) / 3] >> (8 * ((i - 1) % 3)));
  }
  void SetPacketByte(int i, uint8_t v) {
    uint32_t& u = memory[kStatePacket + (i - 1) / 3];
    int shift = 8 * ((i - 1) % 3);
    u = (u & ~(0xFFu << shift)) | (uint32_t{v} << shift);
  }

  int ProgramCounter() const {
    switch (PacketByte(3) & 3) {
      case 0:
        return PacketByte(4) | (PacketByte(5) & 0x0F) << 8;
      case 1:
        return PacketByte(5) >> 4 | PacketByte(6) << 4;
      default:
        return PacketByte(7) | (PacketByte(8) & 0x0F) << 8;
    }
  }

  void SetProgramCounter(int pc) {
    pc &= 0xFFF;
    switch (PacketByte(3) & 3) {
      case 0:
        SetPacketByte(4, static_cast<uint8_t>(pc));
        SetPacketByte(5, static_cast<uint8_t>((PacketByte(5) & 0xF0) | pc >> 8));
        break;
      case 1:
        SetPacketByte(5, static_cast<uint8_t>((PacketByte(5) & 0x0F) | (pc & 0x0F) << 4));
        SetPacketByte(6, static_cast<uint8_t>(pc >> 4));
        break;
      default:
        SetPacketByte(7, static_cast<uint8_t>(pc));
        SetPacketByte(8, static_cast<uint8_t>((PacketByte(8) & 0xF0) | pc >> 8));
        break;
    }
  }

  // --- host lines ---

  void HostLines(bool newDtr, bool newRts) {
    std::lock_guard<std::recursive_mutex> lock(m);
    uint8_t none[3] = {0, 0, 0};
    if (newDtr != dtr) {
      Record(IceEvent::kDtr, none, 0, 0, newDtr);
      if (!newDtr && (partialSize > 0 || writeLeft > 0)) {
        Record(IceEvent::kDiscard, none, partialSize, writeLeft);
        partialSize = 0;
        writeLeft = 0;
      }
      dtr = newDtr;
      FollowDtr();
    }
    if (newRts != rts) {
      Record(IceEvent::kRts, none, 0, 0, newRts);
      rts = newRts;
    }
  }

  void FollowDtr() {
    device.Cancel(dsrTimer);
    bool target = dtr;
    if ((!target && dsrStuckOn) || (target && dsrDead)) return;
    if (timings.dsrFollowsDtr <= 0) {
      device.SetDsr(target);
      return;
    }
    dsrTimer = device.After(timings.dsrFollowsDtr, [this, target] {
      std::lock_guard<std::recursive_mutex> lock(m);
      if ((!target && dsrStuckOn) || (target && dsrDead)) return;
      device.SetDsr(target);
    });
  }

  // --- units ---

  void Bytes(const uint8_t* data, size_t size) {
    std::lock_guard<std::recursive_mutex> lock(m);
    received.insert(received.end(), data, data + size);
    for (size_t i = 0; i < size; ++i) {
      partial[partialSize++] = data[i];
      if (partialSize == 3) {
        partialSize = 0;
        Unit(partial);
      }
    }
  }

  void Unit(const uint8_t* u) {
    if (writeLeft > 0) {
      uint32_t value = u[0] | u[1] << 8 | u[2] << 16;
      memory[writeAddress] = value;
      Record(IceEvent::kData, u, writeAddress, 0, value);
      writeAddress = (writeAddress + 1) & kMask;
      --writeLeft;
      return;
    }
    int a = (u[0] >> 2) | u[1] << 6;
    int b = u[2];
    switch (u[0] & 3) {
      case 0:
        Record(IceEvent::kRead, u, a, b);
        Reply(a, b);
        break;
      case 1:
        Record(IceEvent::kWord, u, a, 0);
        Command(a);
        break;
      case 2:
        Record(IceEvent::kWriteHeader, u, a, b);
        writeAddress = a;
        writeLeft = b;
        break;
      default:
        Record(IceEvent::kUnknown, u, a, b);
        break;
    }
  }

  void Reply(int address, int count) {
    if (silent) return;
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(count) * 3);
    for (int i = 0; i < count; ++i) {
      uint32_t v = memory[(address + i) & kMask];
      for (int k = 0; k < 3; ++k) bytes.push_back(static_cast<uint8_t>(v >> (8 * k)));
    }
    if (shortReply >= 0 && bytes.size() > static_cast<size_t>(shortReply))
      bytes.resize(static_cast<size_t>(shortReply));
    if (replyDelay > 0)
      device.After(replyDelay, [this, bytes] { device.Write(bytes); });
    else
      device.Write(bytes);
  }

  // Runs `action` after `ms` unless a reset comes first.
  void Later(int ms, std::function<void()> action) {
    runTimers.push_back(device.After(ms, [this, action] {
      std::lock_guard<std::recursive_mutex> lock(m);
      action();
    }));
  }

  void Command(int word) {
    if (word & kReset) {
      for (int id : runTimers) device.Cancel(id);
      runTimers.clear();
      for (int k = 0; k < 4; ++k) memory[kStatePacket + k] = 0;
      running = false;
      device.SetCd(true);
      if (timings.resetDsrLow > 0) {
        device.Cancel(dsrTimer);
        device.SetDsr(false);
        dsrTimer = device.After(timings.resetDsrLow, [this] {
          std::lock_guard<std::recursive_mutex> lock(m);
          if (!dsrDead && dtr) device.SetDsr(true);
        });
      }
    }
    if ((word & kStop) && running) {
      Later(timings.stopDelay, [this] {
        running = false;
        device.SetCd(true);
      });
    }
    if (word & kStep) {
      if (stepAction) {
        stepAction();
      } else if (stepTooShort) {
        SetProgramCounter(ProgramCounter() + 1);
        device.SetCd(true);
        device.PulseCd();
      } else {
        device.SetCd(false);
        SetProgramCounter(ProgramCounter() + 1);
        Later(timings.stepTime, [this] { device.SetCd(true); });
      }
    }
    if (word & kGo) {
      device.SetCd(false);
      running = true;
      if (goScripted) {
        goScripted = false;
        Later(goHaltMs, [this, halt = std::move(goHalt)] {
          halt();
          running = false;
          device.SetCd(true);
        });
      }
    }
  }
};

SimulatedIce::SimulatedIce(IceTimings timings) : impl_(std::make_unique<Impl>(timings)) {}
SimulatedIce::~SimulatedIce() = default;

#define ICE_LOCK std::lock_guard<std::recursive_mutex> lock(impl_->m)

const std::string& SimulatedIce::Endpoint() const {
  return impl_->device.Endpoint();
}
SerialDevice& SimulatedIce::Device() {
  return impl_->device;
}
void SimulatedIce::SetTimings(IceTimings timings) {
  ICE_LOCK;
  impl_->timings = timings;
}

uint32_t SimulatedIce::Unit(int address) const {
  ICE_LOCK;
  return impl_->memory[address & kMask];
}
void SimulatedIce::SetUnit(int address, uint32_t value) {
  ICE_LOCK;
  impl_->memory[address & kMask] = value & 0xFFFFFF;
}
std::array<uint8_t, 12> SimulatedIce::StatePacket() const {
  ICE_LOCK;
  std::array<uint8_t, 12> p;
  for (int i = 1; i <= 12; ++i) p[i - 1] = impl_->PacketByte(i);
  return p;
}
void SimulatedIce::SetStatePacket(const std::array<uint8_t, 12>& packet) {
  ICE_LOCK;
  for (int i = 1; i <= 12; ++i) impl_->SetPacketByte(i, packet[i - 1]);
}
int SimulatedIce::ProgramCounter() const {
  ICE_LOCK;
  return impl_->ProgramCounter();
}
bool SimulatedIce::Running() const {
  ICE_LOCK;
  return impl_->running;
}

std::vector<IceEvent> SimulatedIce::Transcript() const {
  ICE_LOCK;
  return impl_->transcript;
}
std::vector<std::string> SimulatedIce::TranscriptText() const {
  ICE_LOCK;
  std::vector<std::string> lines;
  for (const IceEvent& e : impl_->transcript) lines.push_back(e.Text());
  return lines;
}
std::vector<int> SimulatedIce::Words() const {
  ICE_LOCK;
  std::vector<int> words;
  for (const IceEvent& e : impl_->transcript)
    if (e.kind == IceEvent::kWord) words.push_back(e.a);
  return words;
}
std::vector<uint8_t> SimulatedIce::ReceivedBytes() const {
  ICE_LOCK;
  return impl_->received;
}
void SimulatedIce::ClearTranscript() {
  ICE_LOCK;
  impl_->transcript.clear();
  impl_->received.clear();
}

void SimulatedIce::SetStepTooShort(bool on) {
  ICE_LOCK;
  impl_->stepTooShort = on;
}
void SimulatedIce::SetStepAction(std::function<void()> action) {
  ICE_LOCK;
  impl_->stepAction = std::move(action);
}
void SimulatedIce::ScriptGoHalt(int ms, int pc) {
  ICE_LOCK;
  impl_->goScripted = true;
  impl_->goHaltMs = ms;
  impl_->goHalt = [impl = impl_.get(), pc] { impl->SetProgramCounter(pc); };
}
void SimulatedIce::ScriptGoWrite(int ms, std::vector<IceUnit> units) {
  ICE_LOCK;
  impl_->goScripted = true;
  impl_->goHaltMs = ms;
  impl_->goHalt = [impl = impl_.get(), units = std::move(units)] {
    for (const IceUnit& unit : units) impl->memory[unit.address & kMask] = unit.value & 0xFFFFFF;
  };
}

std::vector<IceUnit> SimulatedIce::PacketUnits(const std::array<uint8_t, 12>& packet) {
  std::vector<IceUnit> units;
  for (int k = 0; k < 4; ++k) {
    const auto byte = [&](int i) { return uint32_t{packet[static_cast<size_t>(3 * k + i)]}; };
    units.push_back({kStatePacket + k, byte(0) | byte(1) << 8 | byte(2) << 16});
  }
  return units;
}
uint32_t SimulatedIce::TraceUnit(int pc, int accumulator, int flags) {
  return static_cast<uint32_t>(pc & 0xFF) |
         static_cast<uint32_t>((pc >> 8 & 0x0F) | (accumulator & 0x0F) << 4) << 8 |
         static_cast<uint32_t>(flags & 0xFF) << 16;
}

void SimulatedIce::SetSilent(bool on) {
  ICE_LOCK;
  impl_->silent = on;
}
void SimulatedIce::SetShortReply(int bytes) {
  ICE_LOCK;
  impl_->shortReply = bytes;
}
void SimulatedIce::SetReplyDelay(int ms) {
  ICE_LOCK;
  impl_->replyDelay = ms;
}
void SimulatedIce::SetDsrStuckOn(bool on) {
  ICE_LOCK;
  impl_->dsrStuckOn = on;
}
void SimulatedIce::SetDsrDead(bool on) {
  ICE_LOCK;
  impl_->dsrDead = on;
  if (on) {
    impl_->device.Cancel(impl_->dsrTimer);
    impl_->device.SetDsr(false);
  }
}
void SimulatedIce::DropDsr(bool ctsOn) {
  ICE_LOCK;
  impl_->device.Cancel(impl_->dsrTimer);
  impl_->device.SetCts(ctsOn);
  impl_->device.SetDsr(false);
}
void SimulatedIce::HoldCtsOff(int ms) {
  ICE_LOCK;
  impl_->device.SetCts(false);
  if (ms >= 0) impl_->device.After(ms, [this] { impl_->device.SetCts(true); });
}
void SimulatedIce::SetHold(bool on) {
  impl_->device.SetHold(on);
}
void SimulatedIce::SetRefuseHosts(bool on) {
  impl_->device.SetRefuseHosts(on);
}
void SimulatedIce::SetDsr(bool on) {
  ICE_LOCK;
  impl_->device.Cancel(impl_->dsrTimer);
  impl_->device.SetDsr(on);
}

}  // namespace testdevices
