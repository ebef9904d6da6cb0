#include <gtest/gtest.h>

#include <QCoreApplication>
#include <tuple>
#include <vector>

#include "platform/messages.h"

namespace {

using namespace platform;
using Received = std::tuple<WindowHandle, uint32_t, uintptr_t, intptr_t>;

// Two registered windows recording what they receive.
class MessageQueueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (WindowHandle w : {a, b}) {
      RegisterWindow(w, [this](WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
        received.emplace_back(window, message, wParam, lParam);
        return intptr_t{0};
      });
    }
  }
  void TearDown() override {
    UnregisterWindow(a);
    UnregisterWindow(b);
    while (DispatchOneMessage()) {
    }
  }
  int windowA = 0, windowB = 0;
  WindowHandle a = &windowA, b = &windowB;
  std::vector<Received> received;
};

TEST_F(MessageQueueTest, PostedMessagesArriveInOrderOneAtATime) {
  EXPECT_TRUE(PostMessage(a, WM_USER, 1, 10));
  EXPECT_TRUE(PostMessage(b, WM_USER + 1, 2, 20));
  EXPECT_TRUE(PostMessage(a, WM_USER, 1, 30));  // plain posts never merge
  EXPECT_EQ(PendingMessageCount(), 3);

  EXPECT_TRUE(DispatchOneMessage());
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0], Received(a, WM_USER, 1, 10));
  while (DispatchOneMessage()) {
  }
  EXPECT_FALSE(DispatchOneMessage());
  EXPECT_EQ(received, (std::vector<Received>{{a, WM_USER, 1, 10}, {b, WM_USER + 1, 2, 20}, {a, WM_USER, 1, 30}}));
}

TEST_F(MessageQueueTest, CoalescedPostsOrTheirBitsAndKeepTheirPlace) {
  PostCoalescedMessage(a, WM_USER, 3, 0x01);
  PostCoalescedMessage(b, WM_USER, 3, 0x01);
  PostCoalescedMessage(a, WM_USER, 4, 0x08);
  PostCoalescedMessage(a, WM_USER, 3, 0x04);  // joins the first
  PostCoalescedMessage(b, WM_USER, 3, 0x02);  // joins the second
  EXPECT_EQ(PendingMessageCount(), 3);
  while (DispatchOneMessage()) {
  }
  EXPECT_EQ(received, (std::vector<Received>{{a, WM_USER, 3, 0x05}, {b, WM_USER, 3, 0x03}, {a, WM_USER, 4, 0x08}}));

  // Once dispatched, the same box queues anew.
  received.clear();
  PostCoalescedMessage(a, WM_USER, 3, 0x10);
  DispatchOneMessage();
  EXPECT_EQ(received, (std::vector<Received>{{a, WM_USER, 3, 0x10}}));
}

TEST_F(MessageQueueTest, UnknownAndUnregisteredWindowsGetNothing) {
  int other = 0;
  EXPECT_FALSE(PostMessage(&other, WM_USER, 0, 0));
  EXPECT_FALSE(PostCoalescedMessage(&other, WM_USER, 0, 1));
  PostMessage(a, WM_USER, 0, 1);
  PostMessage(b, WM_USER, 0, 2);
  PostMessage(a, WM_USER, 0, 3);
  UnregisterWindow(a);
  EXPECT_FALSE(IsWindowRegistered(a));
  EXPECT_EQ(PendingMessageCount(), 1);
  EXPECT_FALSE(PostMessage(a, WM_USER, 0, 4));
  while (DispatchOneMessage()) {
  }
  EXPECT_EQ(received, (std::vector<Received>{{b, WM_USER, 0, 2}}));
}

TEST_F(MessageQueueTest, ProcedureMayUnregisterItselfAndPostMore) {
  int self = 0;
  int calls = 0;
  RegisterWindow(&self, [&](WindowHandle window, uint32_t, uintptr_t, intptr_t) {
    ++calls;
    UnregisterWindow(window);
    PostMessage(b, WM_USER, 9, 9);
    return intptr_t{0};
  });
  PostMessage(&self, WM_USER, 0, 0);
  PostMessage(&self, WM_USER, 0, 0);
  DispatchOneMessage();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(PendingMessageCount(), 1);  // the second went with the window
  DispatchOneMessage();
  EXPECT_EQ(received, (std::vector<Received>{{b, WM_USER, 9, 9}}));
}

TEST_F(MessageQueueTest, EventLoopDispatchesWhatIsPostedOutsideARun) {
  PostCoalescedMessage(a, WM_USER, 1, 1);
  PostCoalescedMessage(a, WM_USER, 1, 2);
  PostMessage(b, WM_USER, 0, 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(PendingMessageCount(), 0);
  EXPECT_EQ(received, (std::vector<Received>{{a, WM_USER, 1, 3}, {b, WM_USER, 0, 0}}));
}

}  // namespace
