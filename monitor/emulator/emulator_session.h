#pragma once
// The in-circuit emulator's session: the state machine over TargetState
// (1..17; the simulator's 32 is never touched), the 12-byte state packet that
// carries CpuState both ways, and the dispatcher that turns the command bits
// into the run-control word.
//
// Session states: 1 not connected, 2 halted and known, 3 stepping, 4 running,
// 5 reading the packet, 6 step packet being sent, 7 go packet being sent,
// 8 word being sent while halted, 9 (unreached), 10 failed while halted,
// 11 failed while running, 12 halted with the packet not yet read, 13 step
// sent, 14 go sent, 15 stop asked, 16 reset under way, 17 word being sent
// while not connected.
// Events: 1 connected, 2 disconnect, 3 step, 4 go, 5 stop, 6 CD on (halted),
// 7 packet read begins, 9 dispatch begins, 10 done, 11 failed, 12 (never
// sent), 13 CD off (running), 14 reset.
#include <array>
#include <cstdint>

#include "k42target.h"

namespace monitor {

class EmulatorLink;
class MonitorState;

// Emulator address of the state packet (4 units).
constexpr int32_t kStatePacketAddress = 0x1100;

using StatePacket = std::array<uint8_t, 12>;
using CommandBits = std::array<int16_t, 11>;

// The session table; pairs not in it, and states outside 1..17, keep the
// state.
int16_t NextSessionState(int16_t state, int16_t event);

// CpuState as the packet, each field masked to its width; a stack level
// outside 0..2 is sent as level 0.
StatePacket EncodeStatePacket(const ::CpuState& cpu);
// The packet into CpuState; flags read back as -1 or 0, a level code 2 keeps
// the stack level, byte 9 and the spare bits are ignored.
void DecodeStatePacket(const StatePacket& packet, ::CpuState& cpu);

// The run-control word: the weight 2^i of every bit whose mode is 1, or whose
// mode is 2 and value non-zero.
int16_t CommandWord(const CommandBits& modes, const CommandBits& values);
// The values after a dispatch: bits 1, 2, 4 and 16 cleared; with bit 32's
// mode 0 or 2, bits 8, 64 and 128..1024 take -1 for mode 1 and 0 for mode 0.
// True when bit 32's mode is 1: every value is then to be cleared instead.
bool AfterDispatch(const CommandBits& modes, CommandBits& values);

// Applies the event; the panel is refreshed when the new state is 1, 2 or 4.
void NextEmulatorState(MonitorState& state, int16_t event);

// The halted emulator's packet into CpuState, and its program-counter row
// shown. Any failure: event 11 and kErrStateNotRead.
void ReceiveEmulatorState(EmulatorLink& link);
// CpuState to the emulator, only while dirty and in state 2, 6 or 7. Any
// failure, a link that refuses the packet included: event 11 and
// kErrStateNotSent, the state still dirty.
void SendEmulatorState(EmulatorLink& link);
// The command word, only in states 8, 9, 13, 14, 15 and 17. Any failure, a
// link that refuses the word included: event 11 and kErrWordNotSent.
void EmulatorDispatch(EmulatorLink& link);

}  // namespace monitor
