#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <tuple>
#include <vector>

#include "platform/clock.h"
#include "platform/library.h"
#include "platform/messages.h"

namespace {

using namespace platform;

// Counts queued Qt calls that ran (the toolkit's native events).
struct QtProbe {
  int ran = 0;
  void Arm() {
    QMetaObject::invokeMethod(QCoreApplication::instance(), [this] { ++ran; }, Qt::QueuedConnection);
  }
};

TEST(RunPumpTest, FirstPumpOfARunProcessesNativeEventsThenOnlyAfterTheInterval) {
  QtProbe probe;
  RunPump pump;
  // Taken before the first pump, so that the interval measured here is never
  // shorter than the pump's own.
  const int64_t start = MonotonicMicros();
  pump.BeginRun();
  probe.Arm();
  pump.Pump();
  EXPECT_EQ(probe.ran, 1);

  // Right after: neither the countdown nor the interval lets it run again.
  probe.Arm();
  for (int i = 0; i < 3 * RunPump::kCountdown; ++i) pump.Pump();
  if (MonotonicMicros() - start < RunPump::kNativeIntervalMicros) {
    EXPECT_EQ(probe.ran, 1);
  }

  // After the interval, at most a countdown later, it runs.
  SleepMillis(RunPump::kNativeIntervalMicros / 1000 + 1);
  for (int i = 0; i < RunPump::kCountdown + 1; ++i) pump.Pump();
  EXPECT_EQ(probe.ran, 2);

  // A new run pumps at once again.
  probe.Arm();
  pump.BeginRun();
  pump.Pump();
  EXPECT_EQ(probe.ran, 3);
}

TEST(RunPumpTest, MessagePostedDuringARunIsDispatchedOnTheNextRound) {
  int window = 0;
  std::vector<int> dispatchedAt;
  int round = 0;
  RegisterWindow(&window, [&](WindowHandle, uint32_t, uintptr_t, intptr_t) {
    dispatchedAt.push_back(round);
    return intptr_t{0};
  });
  RunPump pump;
  pump.BeginRun();
  for (round = 0; round < 1000; ++round) {
    pump.Pump();
    if (round == 100) {
      PostMessage(&window, WM_USER, 0, 0);
      PostMessage(&window, WM_USER, 1, 0);
    }
  }
  // One per round, in the rounds right after the posts.
  EXPECT_EQ(dispatchedAt, (std::vector<int>{101, 102}));
  UnregisterWindow(&window);
}

// Redraw requests during a scripted run: plain posts arrive at the next
// round, notifications wait for the toolkit and then come once each, in the
// order of their first post, with every bit posted.
TEST(RunPumpTest, NotificationsWaitForTheToolkitWhilePlainPostsGoOnTheNextRound) {
  int window = 0;
  int round = 0;
  std::vector<std::tuple<int, uintptr_t, intptr_t>> received;  // round, wParam, lParam
  RegisterWindow(&window, [&](WindowHandle, uint32_t, uintptr_t wParam, intptr_t lParam) {
    received.emplace_back(round, wParam, lParam);
    return intptr_t{0};
  });
  RunPump::SetScript([](uint64_t) {});
  RunPump pump;
  pump.BeginRun();
  for (round = 0; round < 1000; ++round) {
    pump.Pump();
    PostCoalescedMessage(&window, WM_USER, 6, intptr_t{1} << (round % 10));
    if (round == 10) PostCoalescedMessage(&window, WM_USER, 0, 1035);
    if (round == 20) PostMessage(&window, WM_USER + 1, 7, 7);
  }
  RunPump::SetScript(nullptr);
  EXPECT_EQ(received, (std::vector<std::tuple<int, uintptr_t, intptr_t>>{{21, 7, 7}}));
  EXPECT_EQ(PendingMessageCount(), 2);
  EXPECT_EQ(PendingPostedMessageCount(), 0);

  received.clear();
  QCoreApplication::processEvents();
  EXPECT_EQ(received, (std::vector<std::tuple<int, uintptr_t, intptr_t>>{{1000, 6, 0x3FF}, {1000, 0, 1035}}));
  EXPECT_EQ(PendingMessageCount(), 0);
  UnregisterWindow(&window);
}

TEST(RunPumpTest, ScriptActsAtItsRoundAndKeepsRunsDeterministic) {
  std::vector<uint64_t> rounds;
  int stopAt = -1;
  bool stop = false;
  RunPump::SetScriptAtRound(7, [&] { stop = true; });
  RunPump pump;
  pump.BeginRun();
  int round = 0;
  for (; round < 100 && !stop; ++round) pump.Pump();
  stopAt = round;
  RunPump::SetScript(nullptr);
  EXPECT_EQ(stopAt, 8);  // the action ran inside the eighth round (number 7)

  // No script: a plain run never stops.
  stop = false;
  pump.BeginRun();
  for (round = 0; round < 100 && !stop; ++round) pump.Pump();
  EXPECT_EQ(round, 100);
}

TEST(RunPumpTest, ModuleRunLoopUsesItsOwnQueueAndTheProgramsScript) {
  LibraryHandle module = LoadLibrary(UI_PROBE_PUMP);
  ASSERT_NE(module, nullptr) << LastLibraryError();
  auto run = reinterpret_cast<int64_t (*)(int64_t, int64_t)>(GetProcAddress(module, "ProbeRun"));
  ASSERT_NE(run, nullptr);

  // Its notification posted at round 50 arrives at its pump's next round.
  EXPECT_EQ(run(10000, 50), 51);

  std::vector<uint64_t> seen;
  RunPump::SetScript([&](uint64_t round) {
    if (round % 100 == 0) seen.push_back(round);
  });
  EXPECT_EQ(run(300, 10), 11);
  RunPump::SetScript(nullptr);
  EXPECT_EQ(seen, (std::vector<uint64_t>{0, 100, 200}));
  FreeLibrary(module);
}

}  // namespace
