// The status text stack and the progress panel of the main window.
#include "core/status_text.h"

#include <gtest/gtest.h>

namespace {

using monitor::StatusText;

TEST(StatusText, StackShowsTheTopAndPairsPushesWithPops) {
  platform::Panel3D textpnl("textpnl"), floodpnl("floodpnl");
  StatusText status;
  status.Attach(&textpnl, &floodpnl);
  status.ShowReady();
  EXPECT_EQ(textpnl.Caption(), "Ready");
  status.PopStatusText();  // never below "Ready"
  EXPECT_EQ(textpnl.Caption(), "Ready");
  for (int i = 2; i <= 10; ++i) status.PushStatusText(QString("text %1").arg(i));
  EXPECT_EQ(status.Depth(), 10);
  status.PushStatusText("eleventh");  // full: not shown
  status.PushStatusText("twelfth");
  EXPECT_EQ(textpnl.Caption(), "text 10");
  // The two pops of the ignored pushes leave the outer texts in place.
  status.PopStatusText();
  status.PopStatusText();
  EXPECT_EQ(textpnl.Caption(), "text 10");
  status.PopStatusText();
  EXPECT_EQ(textpnl.Caption(), "text 9");
  for (int i = 0; i < 20; ++i) status.PopStatusText();
  EXPECT_EQ(textpnl.Caption(), "Ready");
  EXPECT_EQ(status.Depth(), 1);
}

TEST(StatusText, ProgressStepsOverLargeAndSmallRanges) {
  platform::Panel3D floodpnl("floodpnl");
  StatusText status;
  status.Attach(nullptr, &floodpnl);
  status.InitProgress(0, 8192);  // step 82: 1 % per 82 values
  EXPECT_EQ(floodpnl.FloodType(), 1);
  EXPECT_EQ(floodpnl.FloodPercent(), 0);
  status.ShowProgress(0);
  EXPECT_EQ(floodpnl.FloodPercent(), 1);
  status.ShowProgress(81);
  EXPECT_EQ(floodpnl.FloodPercent(), 1);
  status.ShowProgress(82);
  EXPECT_EQ(floodpnl.FloodPercent(), 2);
  for (int v = 83; v < 8192; ++v) status.ShowProgress(static_cast<int16_t>(v));
  EXPECT_EQ(floodpnl.FloodPercent(), 100);  // clamped, never beyond the bar
  status.ShowProgress(8192);                // the last value empties the bar
  EXPECT_EQ(floodpnl.FloodType(), 0);
  EXPECT_EQ(floodpnl.FloodPercent(), 0);

  status.InitProgress(0, 50);  // 2 % per value
  status.ShowProgress(0);
  status.ShowProgress(1);
  status.ShowProgress(1);  // below the next threshold: nothing
  EXPECT_EQ(floodpnl.FloodPercent(), 4);
  status.InitProgress(10, 5);  // a negative range gives no step
  status.ShowProgress(2);
  EXPECT_EQ(floodpnl.FloodPercent(), 0);
  EXPECT_EQ(floodpnl.FloodType(), 1);
  status.ResetProgress();
  EXPECT_EQ(status.FloodType(), 0);
}

}  // namespace
