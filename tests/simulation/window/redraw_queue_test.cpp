// The pending redraw items of a dialog: parts OR together per item, items
// keep the order of their first post, one flush per batch.
#include <gtest/gtest.h>
#include <simcore/periphery_window.h>

#include <utility>
#include <vector>

namespace {

using Drawn = std::vector<std::pair<int, intptr_t>>;

TEST(RedrawQueue, CoalescesPartsInFirstPostOrderAndAsksForOneFlush) {
  simcore::RedrawQueue q;
  EXPECT_TRUE(q.add(6, 1));  // the first post of a batch asks for the flush
  EXPECT_FALSE(q.add(0, 1035));
  for (int i = 0; i < 10000; ++i) EXPECT_FALSE(q.add(6, i % 2 == 0 ? 512 : 32));
  EXPECT_FALSE(q.add(63, 4));
  EXPECT_EQ(q.pendingItems(), 3);

  Drawn drawn;
  q.flush([&](int item, intptr_t parts) {
    drawn.emplace_back(item, parts);
    // Posted while drawing: waits for the next flush, which it asks for.
    if (item == 0) {
      EXPECT_TRUE(q.add(6, 2));
    }
  });
  EXPECT_EQ(drawn, (Drawn{{6, 1 | 512 | 32}, {0, 1035}, {63, 4}}));

  drawn.clear();
  q.flush([&](int item, intptr_t parts) { drawn.emplace_back(item, parts); });
  EXPECT_EQ(drawn, (Drawn{{6, 2}}));
  EXPECT_EQ(q.pendingItems(), 0);
  EXPECT_TRUE(q.add(6, 8));  // a new batch, a new flush
}

}  // namespace
