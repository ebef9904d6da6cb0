// The session table (its panel refreshes are in the panel's view tests),
// the state packet both ways, and the command word with the values a
// dispatch leaves.
#include "emulator/emulator_session.h"

#include <gtest/gtest.h>

#include <map>

#include "core/monitor_state.h"

namespace {

using monitor::CommandBits;
using monitor::StatePacket;

TEST(SessionTable, EveryStateAndEvent) {
  // Per state, "event>next" for every pair that moves; the rest keep.
  const std::map<int, std::map<int, int>> moves = {
      {1, {{1, 2}, {9, 17}}},
      {2, {{2, 1}, {3, 6}, {4, 7}, {9, 8}, {11, 10}, {14, 16}}},
      {3, {{2, 1}, {6, 12}, {11, 10}}},
      {4, {{2, 1}, {5, 15}, {6, 12}, {11, 11}, {14, 16}}},
      {5, {{2, 1}, {10, 2}, {11, 10}}},
      {6, {{2, 1}, {10, 13}, {11, 10}}},
      {7, {{2, 1}, {10, 14}, {11, 10}}},
      {8, {{2, 1}, {10, 2}, {11, 10}}},
      {9, {{2, 1}, {10, 4}, {11, 11}}},
      {10, {{2, 1}, {11, 2}, {12, 2}}},
      {11, {{2, 1}, {11, 4}, {12, 4}}},
      {12, {{2, 1}, {7, 5}, {11, 10}}},
      {13, {{2, 1}, {6, 12}, {11, 10}, {13, 3}}},
      {14, {{2, 1}, {6, 12}, {11, 10}, {13, 4}}},
      {15, {{2, 1}, {6, 12}, {11, 11}}},
      {16, {{2, 1}, {10, 1}, {11, 10}}},
      {17, {{2, 1}, {10, 1}, {11, 1}}},
  };
  monitor::MonitorState state;
  for (int16_t from = 1; from <= 17; ++from) {
    for (int16_t event = 1; event <= 14; ++event) {
      const auto& row = moves.at(from);
      const int16_t want = row.count(event) != 0 ? static_cast<int16_t>(row.at(event)) : from;
      state.TargetState = from;
      monitor::NextEmulatorState(state, event);
      EXPECT_EQ(state.TargetState, want) << from << " event " << event;
    }
  }
  // The simulator's state is never touched.
  state.TargetState = 32;
  monitor::NextEmulatorState(state, 2);
  EXPECT_EQ(state.TargetState, 32);
}

TEST(StatePacket, BothWaysWithTheLevelCodeTheTraceBitAndMasking) {
  ::CpuState cpu{};
  int32_t* w = cpu.word;
  w[0] = 9, w[6] = -1, w[8] = -1, w[1] = 5, w[2] = 1, w[3] = 0x123, w[4] = 0x456, w[5] = 0x789;
  const StatePacket packet = monitor::EncodeStatePacket(cpu);
  EXPECT_EQ(packet, (StatePacket{0x59, 0x0A, 0x01, 0x23, 0x61, 0x45, 0x89, 0x07, 0, 0, 0, 0}));
  ::CpuState back{};
  back.word[28] = 77;
  monitor::DecodeStatePacket(packet, back);
  for (int i = 0; i < 28; ++i) EXPECT_EQ(back.word[i], w[i]) << i;
  EXPECT_EQ(back.word[28], 77);

  // Code 2 keeps the level; code 3 is level 2. Every flag reads back as -1.
  StatePacket all;
  all.fill(0xFF);
  all[2] = 0xFE;
  back.word[2] = 1;
  monitor::DecodeStatePacket(all, back);
  EXPECT_EQ(back.word[2], 1);
  for (int flag : {6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 26, 27})
    EXPECT_EQ(back.word[flag], -1) << flag;
  EXPECT_EQ(back.word[0], 15);
  EXPECT_EQ(back.word[1], 127);
  EXPECT_EQ(back.word[3], 0xFFF);
  EXPECT_EQ(back.word[4], 0xFFF);
  EXPECT_EQ(back.word[5], 0xFFF);
  EXPECT_EQ(back.word[25], 0x1FFF);
  all[2] = 0x03;
  monitor::DecodeStatePacket(all, back);
  EXPECT_EQ(back.word[2], 2);

  // Fields are masked to their widths; a level outside 0..2 goes as 0; the
  // trace bit goes only while the wrap mode is off.
  ::CpuState wide{};
  wide.word[0] = 0x1F, wide.word[1] = 0x1FF, wide.word[2] = 7, wide.word[3] = -1;
  wide.word[25] = 0xFFFF, wide.word[22] = -1;
  StatePacket masked = monitor::EncodeStatePacket(wide);
  EXPECT_EQ(masked, (StatePacket{0x0F, 0xFE, 0x80, 0xFF, 0x0F, 0, 0, 0, 0, 0xFF, 0x1F, 0}));
  wide.word[27] = -1;
  masked = monitor::EncodeStatePacket(wide);
  EXPECT_EQ(masked[2], 0x00);
  EXPECT_EQ(masked[10], 0x5F);
}

TEST(CommandBits, TheWordAndTheValuesADispatchLeaves) {
  CommandBits modes{}, values{};
  modes[2] = modes[3] = 1;  // step: bits 4 and 8
  EXPECT_EQ(monitor::CommandWord(modes, values), 12);
  modes.fill(2);
  values[3] = -1;
  EXPECT_EQ(monitor::CommandWord(modes, values), 8);
  modes[1] = 1;  // go
  EXPECT_EQ(monitor::CommandWord(modes, values), 10);

  // Bit 32 in mode 2: the one-shot bits clear, mode 1 sets -1, mode 0
  // clears, mode 2 keeps.
  values = {-1, -1, -1, 0, -1, -1, 0, -1, 0, 0, 0};
  modes = {2, 2, 2, 1, 2, 2, 0, 2, 1, 2, 2};
  EXPECT_FALSE(monitor::AfterDispatch(modes, values));
  EXPECT_EQ(values, (CommandBits{0, 0, 0, -1, 0, -1, 0, -1, -1, 0, 0}));
  // Bit 32 in mode 1: everything is to be cleared instead.
  modes[5] = 1;
  values[6] = -1;
  EXPECT_TRUE(monitor::AfterDispatch(modes, values));
  EXPECT_EQ(values[6], -1);
}

}  // namespace
