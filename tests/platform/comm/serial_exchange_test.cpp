// The serial exchange on a port against the rig's device end: paced chunks
// behind their lines and limits, the pumping wait and its one-time expiry,
// counted reads, and register polls to their four ends.
#include "platform/serial_exchange.h"

#include <optional>
#include <string>

#include "port_fixture.h"

namespace {

using commtest::Pattern;
using commtest::PortTest;
using platform::PollEnd;
using testsupport::WaitUntil;
using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;
using Lines = std::vector<std::string>;

// A step limit that logs its arming and asks the test's script at each read
// of its expiry (counted from 1 per step). It also expires 20 s after
// arming, so that a wait that never ends fails instead of hanging.
class ScriptedLimit : public platform::StepLimit {
 public:
  explicit ScriptedLimit(Lines& log) : log_(log) {}
  void Arm() override {
    log_.push_back("arm");
    reads_ = 0;
    backstop_ = platform::Deadline(20'000'000);
  }
  bool Expired() override { return (script && script(++reads_)) || backstop_.Passed(); }
  void Disarm() override { log_.push_back("disarm"); }
  int Reads() const { return reads_; }

  std::function<bool(int read)> script;

 private:
  Lines& log_;
  int reads_ = 0;
  platform::Deadline backstop_{0};
};

class ExchangeTest : public PortTest {
 protected:
  void OpenWithLines(bool cts, bool dsr) {
    device_.SetCts(cts);
    device_.SetDsr(dsr);
    port_.SetPortOpen(true);
    ASSERT_TRUE(WaitUntil([&] { return port_.CTSHolding() == cts && port_.DSRHolding() == dsr; }));
  }
  platform::SendPacing Paced(size_t chunk) {
    platform::SendPacing pacing;
    pacing.chunk = chunk;
    pacing.afterChunk = [this](size_t sent) { log_.push_back("sent " + std::to_string(sent)); };
    return pacing;
  }
  bool Send(const Bytes& data, const platform::SendPacing& pacing) {
    return platform::SendPaced(port_, data.data(), data.size(), pacing, limit_);
  }
  // Every byte the device took, once the host's output has drained.
  Bytes Delivered() {
    EXPECT_TRUE(WaitUntil([&] { return port_.OutBufferCount() == 0; }));
    device_.Settle();
    return DeviceGot();
  }

  Lines log_;
  ScriptedLimit limit_{log_};
};

TEST_F(ExchangeTest, ChunksGoOutInOrderEachBehindItsLimitThenPausedAndReported) {
  OpenWithLines(true, true);
  const Bytes data = Pattern(7);
  platform::SendPacing pacing = Paced(3);
  pacing.emptyOutput = pacing.cts = pacing.dsr = true;
  pacing.pauseMicros = 5000;
  const auto start = Clock::now();
  EXPECT_TRUE(Send(data, pacing));
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(15));  // three pauses at least
  EXPECT_EQ(log_, (Lines{"arm", "disarm", "sent 3", "arm", "disarm", "sent 6", "arm", "disarm",
                         "sent 7"}));
  EXPECT_EQ(Delivered(), data);

  // Chunk 0 sends everything in one step.
  log_.clear();
  EXPECT_TRUE(Send(data, Paced(0)));
  EXPECT_EQ(log_, (Lines{"arm", "disarm", "sent 7"}));
  EXPECT_EQ(Delivered().size(), 14u);
}

TEST_F(ExchangeTest, EachLineHoldsItsChunkUntilItComesAndAnExpiredWaitEndsTheSend) {
  OpenWithLines(false, false);
  // Each wait on its own: the line comes at the third look, then the chunk goes.
  const std::vector<std::pair<bool platform::SendPacing::*, std::function<void(bool)>>> lines = {
      {&platform::SendPacing::emptyOutput, [&](bool on) { device_.SetHold(!on); }},
      {&platform::SendPacing::cts, [&](bool on) { device_.SetCts(on); }},
      {&platform::SendPacing::dsr, [&](bool on) { device_.SetDsr(on); }}};
  Bytes sent;
  for (const auto& [wait, setLine] : lines) {
    setLine(false);
    if (wait == &platform::SendPacing::emptyOutput) {
      EXPECT_EQ(port_.OutBufferCount(), 0);  // takes in the HOLD record
      port_.Output({0x55});                  // held in the host's queue
      ASSERT_EQ(port_.OutBufferCount(), 1);
      sent.push_back(0x55);
    }
    log_.clear();
    platform::SendPacing pacing = Paced(2);
    pacing.*wait = true;
    limit_.script = [&](int read) {
      if (read == 3) {
        log_.push_back("line on");
        setLine(true);
      }
      return false;
    };
    EXPECT_TRUE(Send({1, 2}, pacing));
    EXPECT_EQ(log_, (Lines{"arm", "line on", "disarm", "sent 2"}));
    sent.insert(sent.end(), {1, 2});
  }
  EXPECT_EQ(Delivered(), sent);

  // CTS drops after the first chunk: the second one's wait runs out at its
  // second look and nothing more goes out.
  platform::SendPacing pacing = Paced(2);
  pacing.cts = true;
  pacing.afterChunk = [&](size_t count) {
    log_.push_back("sent " + std::to_string(count));
    device_.SetCts(false);
    EXPECT_TRUE(WaitUntil([&] { return !port_.CTSHolding(); }));
  };
  log_.clear();
  limit_.script = [](int read) { return read == 2; };
  EXPECT_FALSE(Send({3, 4, 5, 6}, pacing));
  EXPECT_EQ(limit_.Reads(), 2);
  EXPECT_EQ(log_, (Lines{"arm", "disarm", "sent 2", "arm", "disarm"}));
  sent.insert(sent.end(), {3, 4});
  EXPECT_EQ(Delivered(), sent);

  // A deadline limit runs out by the clock alone.
  platform::DeadlineLimit deadline(50);
  const auto start = Clock::now();
  const Bytes more = {7};
  EXPECT_FALSE(platform::SendPaced(port_, more.data(), more.size(), pacing, deadline));
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(50));
  EXPECT_EQ(Delivered(), sent);
}

TEST(WaitPumpingTest, AnExpiryIsReadOnceAndKeptAndThePumpRunsBetweenLooks) {
  int reads = 0, pumps = 0;
  const auto never = [] { return false; };
  const auto pump = [&] { ++pumps; };
  // Each expiry also holds from its 1000th read on, so that a wait that never
  // ends fails.
  const auto expiredAt = [&](int read) {
    return [&, read] { return ++reads == read || reads >= 1000; };
  };
  // Expired at the first look: no pump, no second read.
  EXPECT_FALSE(platform::WaitPumping(never, expiredAt(1), pump));
  EXPECT_EQ(reads, 1);
  EXPECT_EQ(pumps, 0);
  // Expired only at the read after the first pump: kept, never read again.
  reads = 0;
  EXPECT_FALSE(platform::WaitPumping(never, expiredAt(2), pump));
  EXPECT_EQ(reads, 2);
  EXPECT_EQ(pumps, 1);
  // Done at once: neither expiry nor pump.
  reads = pumps = 0;
  const auto counted = expiredAt(0);
  EXPECT_TRUE(platform::WaitPumping([] { return true; }, counted, pump));
  EXPECT_EQ(reads + pumps, 0);
  // What the pump brings about ends the wait at that pump.
  EXPECT_TRUE(platform::WaitPumping([&] { return pumps == 3; }, counted, pump));
  EXPECT_EQ(pumps, 3);
}

TEST_F(ExchangeTest, AReadTakesItsCountAsInputLenAllowsOrNothingWhenItRunsOut) {
  port_.SetPortOpen(true);
  // The far end answers when the wait's own pump first runs.
  int pumps = 0;
  const auto answerAtPump = [&](Bytes answer) {
    pumps = 0;
    return [&, answer] {
      if (++pumps == 1) device_.Write(answer);
    };
  };
  const Bytes five = Pattern(5, 1);
  EXPECT_EQ(platform::ReceiveCount(port_, 5, limit_, answerAtPump(five)), five);
  EXPECT_GE(pumps, 1);
  EXPECT_EQ(log_, (Lines{"arm", "disarm"}));

  // InputLen cuts what is taken; the rest stays in.
  port_.SetInputLen(3);
  EXPECT_EQ(platform::ReceiveCount(port_, 5, limit_, answerAtPump(five)),
            Bytes(five.begin(), five.begin() + 3));
  EXPECT_EQ(port_.InBufferCount(), 2);

  // Short of the count when the limit runs out: nothing taken.
  log_.clear();
  limit_.script = [](int read) { return read == 3; };
  EXPECT_EQ(platform::ReceiveCount(port_, 4, limit_), std::nullopt);
  EXPECT_EQ(log_, (Lines{"arm", "disarm"}));
  EXPECT_EQ(port_.InBufferCount(), 2);
}

// Poll steps that log each step and answer from a script of register values
// (nothing: no answer; the last answer repeats).
struct ScriptedPoll {
  // `stopAt`: the look before a poll that stops (0: none; the 1000th stops
  // always, so that a poll that never ends fails); `pollOnNoAnswer`: the
  // link's answer to a poll without one (none: not asked).
  explicit ScriptedPoll(std::vector<std::optional<uint8_t>> script, int stop = 0,
                        std::optional<bool> onNoAnswer = {})
      : answers(std::move(script)), stopAt(stop), pollOnNoAnswer(onNoAnswer) {}
  std::vector<std::optional<uint8_t>> answers;
  int stopAt;
  std::optional<bool> pollOnNoAnswer;
  Lines log;
  int reads = 0, looks = 0;

  PollEnd Run(uint8_t mask, int limit) {
    platform::PollSteps steps;
    steps.pause = [this] { log.push_back("pause"); };
    steps.beforePoll = [this] {
      log.push_back("look");
      return ++looks != stopAt && looks < 1000;
    };
    steps.read = [this] {
      const std::optional<uint8_t> answer = answers[std::min<size_t>(reads++, answers.size() - 1)];
      log.push_back(answer ? "read " + std::to_string(*answer) : "no answer");
      return answer;
    };
    if (pollOnNoAnswer) steps.pollOnNoAnswer = [this] { return *pollOnNoAnswer; };
    return platform::PollUntilClear(mask, limit, steps);
  }
};

TEST(PollUntilClearTest, APollEndsClearStoppedUnansweredOrAtItsLimit) {
  // Polled until the mask's bits clear, each poll paused, looked at, read.
  ScriptedPoll clear{{6, 4, 1}};
  EXPECT_EQ(clear.Run(6, 0), PollEnd::kClear);
  EXPECT_EQ(clear.log, (Lines{"pause", "look", "read 6", "pause", "look", "read 4", "pause", "look",
                              "read 1"}));
  // Clear at the last poll the limit allows is clear; one more is the limit.
  ScriptedPoll last{{2, 2, 0}};
  EXPECT_EQ(last.Run(2, 3), PollEnd::kClear);
  ScriptedPoll busy{{2}};
  EXPECT_EQ(busy.Run(2, 4), PollEnd::kLimit);
  EXPECT_EQ(busy.reads, 4);
  // The look stops before the poll; without a limit only it ends the polls.
  ScriptedPoll stopped{{2}, 30};
  EXPECT_EQ(stopped.Run(2, 0), PollEnd::kStopped);
  EXPECT_EQ(stopped.reads, 29);
  EXPECT_EQ(stopped.log.back(), "look");
  // No answer ends the polls unless the link says to poll on; then it
  // counts toward the limit.
  ScriptedPoll silent{{std::nullopt}};
  EXPECT_EQ(silent.Run(2, 0), PollEnd::kNoAnswer);
  EXPECT_EQ(silent.reads, 1);
  ScriptedPoll onward{{std::nullopt, std::nullopt, 0}, 0, true};
  EXPECT_EQ(onward.Run(2, 0), PollEnd::kClear);
  EXPECT_EQ(onward.reads, 3);
}

}  // namespace
