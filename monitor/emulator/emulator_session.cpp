#include "emulator/emulator_session.h"

#include <optional>
#include <vector>

#include "core/code_grid.h"
#include "core/monitor_state.h"
#include "core/panel_controls.h"
#include "core/view.h"
#include "core/view_clearing.h"
#include "emulator/emulator_link.h"
#include "emulator/error_numbers.h"
#include "platform/run_time_error.h"

namespace monitor {
namespace {

enum : int16_t { kDispatchBegins = 9, kReadBegins = 7, kDone = 10, kFailed = 11 };

struct Transition {
  int16_t event;
  int16_t next;
};

// Every state leaves for 1 on a disconnect (event 2), listed with the rest.
const std::vector<Transition>& TransitionsOf(int16_t state) {
  static const std::array<std::vector<Transition>, 18> table = {{
      {},
      {{1, 2}, {9, 17}},
      {{2, 1}, {3, 6}, {4, 7}, {9, 8}, {11, 10}, {14, 16}},
      {{2, 1}, {6, 12}, {11, 10}},
      {{2, 1}, {5, 15}, {6, 12}, {11, 11}, {14, 16}},
      {{2, 1}, {10, 2}, {11, 10}},
      {{2, 1}, {10, 13}, {11, 10}},
      {{2, 1}, {10, 14}, {11, 10}},
      {{2, 1}, {10, 2}, {11, 10}},
      {{2, 1}, {10, 4}, {11, 11}},
      {{2, 1}, {11, 2}, {12, 2}},
      {{2, 1}, {11, 4}, {12, 4}},
      {{2, 1}, {7, 5}, {11, 10}},
      {{2, 1}, {6, 12}, {11, 10}, {13, 3}},
      {{2, 1}, {6, 12}, {11, 10}, {13, 4}},
      {{2, 1}, {6, 12}, {11, 11}},
      {{2, 1}, {10, 1}, {11, 10}},
      {{2, 1}, {10, 1}, {11, 1}},
  }};
  return table[static_cast<size_t>(state)];
}

bool Flag(int32_t word) {
  return word != 0;
}

int32_t FlagWord(int byte, int bit) {
  return (byte & bit) != 0 ? -1 : 0;
}

// One packet or dispatch operation: when `body` gives false or fails, event
// 11 and the error `number` for the caller.
template <typename Body>
void SessionOperation(MonitorState& state, int number, const char* text, Body body) {
  bool done = false;
  try {
    done = body();
  } catch (const std::exception&) {
  }
  if (done) return;
  NextEmulatorState(state, kFailed);
  throw platform::RunTimeError(number, text);
}

}  // namespace

int16_t NextSessionState(int16_t state, int16_t event) {
  if (state < kEmulatorNotConnected || state > kEmulatorSendingWordUnconnected) return state;
  for (const Transition& t : TransitionsOf(state)) {
    if (t.event == event) return t.next;
  }
  return state;
}

StatePacket EncodeStatePacket(const ::CpuState& cpu) {
  const int32_t* w = cpu.word;
  const int level = w[2] == 1 ? 1 : w[2] == 2 ? 3 : 0;
  StatePacket p{};
  p[0] = static_cast<uint8_t>((w[0] & 0x0F) | (Flag(w[6]) ? 16 : 0) | (Flag(w[7]) ? 32 : 0) |
                              (Flag(w[8]) ? 64 : 0) | (Flag(w[9]) ? 128 : 0));
  p[1] = static_cast<uint8_t>((Flag(w[10]) ? 1 : 0) | (w[1] & 0x7F) << 1);
  p[2] = static_cast<uint8_t>(level | (Flag(w[17]) ? 4 : 0) | (Flag(w[18]) ? 8 : 0) |
                              (Flag(w[19]) ? 16 : 0) | (Flag(w[21]) ? 32 : 0) |
                              (Flag(w[20]) ? 64 : 0) | (Flag(w[22]) && !Flag(w[27]) ? 128 : 0));
  p[3] = static_cast<uint8_t>(w[3] & 0xFF);
  p[4] = static_cast<uint8_t>((w[3] >> 8 & 0x0F) | (w[4] & 0x0F) << 4);
  p[5] = static_cast<uint8_t>(w[4] >> 4 & 0xFF);
  p[6] = static_cast<uint8_t>(w[5] & 0xFF);
  p[7] = static_cast<uint8_t>(w[5] >> 8 & 0x0F);
  p[8] = 0;
  p[9] = static_cast<uint8_t>(w[25] & 0xFF);
  p[10] = static_cast<uint8_t>((w[25] >> 8 & 0x1F) | (Flag(w[26]) ? 32 : 0) |
                               (Flag(w[27]) ? 64 : 0) | (Flag(w[24]) ? 128 : 0));
  p[11] =
      static_cast<uint8_t>((Flag(w[11]) ? 1 : 0) | (Flag(w[12]) ? 2 : 0) | (Flag(w[13]) ? 4 : 0) |
                           (Flag(w[14]) ? 8 : 0) | (Flag(w[15]) ? 16 : 0) | (Flag(w[16]) ? 32 : 0) |
                           (Flag(w[23]) ? 64 : 0));
  return p;
}

void DecodeStatePacket(const StatePacket& p, ::CpuState& cpu) {
  int32_t* w = cpu.word;
  w[9] = FlagWord(p[0], 128);
  w[8] = FlagWord(p[0], 64);
  w[7] = FlagWord(p[0], 32);
  w[6] = FlagWord(p[0], 16);
  w[0] = p[0] & 0x0F;
  w[10] = FlagWord(p[1], 1);
  w[1] = p[1] >> 1;
  switch (p[2] & 3) {
    case 0:
      w[2] = 0;
      break;
    case 1:
      w[2] = 1;
      break;
    case 3:
      w[2] = 2;
      break;
    default:
      break;  // code 2 keeps the level
  }
  w[17] = FlagWord(p[2], 4);
  w[18] = FlagWord(p[2], 8);
  w[19] = FlagWord(p[2], 16);
  w[21] = FlagWord(p[2], 32);
  w[20] = FlagWord(p[2], 64);
  w[22] = FlagWord(p[2], 128);
  w[3] = p[3] | (p[4] & 0x0F) << 8;
  w[4] = p[4] >> 4 | p[5] << 4;
  w[5] = p[6] | (p[7] & 0x0F) << 8;
  w[25] = p[9] | (p[10] & 0x1F) << 8;
  w[26] = FlagWord(p[10], 32);
  w[27] = FlagWord(p[10], 64);
  w[24] = FlagWord(p[10], 128);
  for (int bit = 0; bit < 6; ++bit) w[11 + bit] = FlagWord(p[11], 1 << bit);
  w[23] = FlagWord(p[11], 64);
}

int16_t CommandWord(const CommandBits& modes, const CommandBits& values) {
  int word = 0;
  for (size_t i = 0; i < modes.size(); ++i) {
    if (modes[i] == 1 || (modes[i] == 2 && values[i] != 0)) word |= 1 << i;
  }
  return static_cast<int16_t>(word);
}

bool AfterDispatch(const CommandBits& modes, CommandBits& values) {
  for (size_t i : {0, 1, 2, 4}) values[i] = 0;  // bits 1, 2, 4 and 16
  const int16_t mode32 = modes[5];
  if (mode32 == 1) return true;
  if (mode32 == 0 || mode32 == 2) {
    for (size_t i : {3, 6, 7, 8, 9, 10}) {  // bits 8, 64 and 128..1024
      if (modes[i] == 1) values[i] = -1;
      if (modes[i] == 0) values[i] = 0;
    }
  }
  return false;
}

void NextEmulatorState(MonitorState& state, int16_t event) {
  state.TargetState = NextSessionState(state.TargetState, event);
  const int16_t now = state.TargetState;
  if (now == kEmulatorNotConnected || now == kEmulatorHalted || now == kEmulatorRunning)
    RefreshPanel(state);
}

void ReceiveEmulatorState(EmulatorLink& link) {
  MonitorState& state = link.State();
  NextEmulatorState(state, kReadBegins);
  if (state.TargetState != kEmulatorReadingState) return;
  SessionOperation(state, kErrStateNotRead, "The emulator's state could not be read", [&] {
    // A refused read and a short answer fail alike.
    const std::optional<std::vector<uint8_t>> bytes = link.ReceiveData(kStatePacketAddress, 4);
    if (!bytes || bytes->size() < 12) return false;
    StatePacket packet;
    std::copy_n(bytes->begin(), packet.size(), packet.begin());
    DecodeStatePacket(packet, state.CpuState);
    RefreshPanel(state);
    const int32_t level = state.CpuState.word[2];
    if (level >= 0 && level < 3) {
      const int16_t row = FindCodeRow(state, state.CpuState.word[3 + level]);
      if (PanelControls* panel = Panel(state)) ShowCodeRow(*panel->grdProgram, row, 1);
    }
    state.CpuStateDirty = 0;
    NextEmulatorState(state, kDone);
    return true;
  });
}

void SendEmulatorState(EmulatorLink& link) {
  MonitorState& state = link.State();
  if (state.CpuStateDirty == 0) return;
  const int16_t session = state.TargetState;
  if (session != kEmulatorSendingStepState && session != kEmulatorSendingGoState &&
      session != kEmulatorHalted)
    return;
  SessionOperation(state, kErrStateNotSent, "The emulator's state could not be sent", [&] {
    const StatePacket packet = EncodeStatePacket(state.CpuState);
    // A refused or failed send leaves the state unsent, for the next command.
    if (!link.SendCommand(kStatePacketAddress, {packet.begin(), packet.end()})) return false;
    state.CpuStateDirty = 0;
    NextEmulatorState(state, kDone);
    return true;
  });
}

void EmulatorDispatch(EmulatorLink& link) {
  MonitorState& state = link.State();
  NextEmulatorState(state, kDispatchBegins);
  switch (state.TargetState) {
    case kEmulatorSendingWordHalted:
    case kEmulatorUnreached:
    case kEmulatorStepSent:
    case kEmulatorGoSent:
    case kEmulatorStopAsked:
    case kEmulatorSendingWordUnconnected:
      break;
    default:
      return;
  }
  SessionOperation(state, kErrWordNotSent, "The command could not be sent to the emulator", [&] {
    if (!link.SendWord(CommandWord(state.CommandBitMode, state.CommandBitValue))) return false;
    if (AfterDispatch(state.CommandBitMode, state.CommandBitValue)) {
      ClearCommandBits(state);
    }
    NextEmulatorState(state, kDone);
    return true;
  });
}

}  // namespace monitor
