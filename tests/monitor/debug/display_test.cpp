// The periphery host: its scroll-bar layout and its scrolling.
#include "debug/display.h"

#include <gtest/gtest.h>

#include <string>

#include "core/monitor_state.h"
#include "platform/twips.h"

namespace {

using monitor::HostGeometry;
using monitor::LayOutHost;

// Bars as "visible:left,top,length,max" ("-" hidden), then the values and
// frame offsets the layout sets ("." kept).
std::string Describe(const monitor::HostLayout& l) {
  const auto bar = [](const monitor::BarPlace& b) {
    return b.visible ? std::to_string(b.left) + "," + std::to_string(b.top) + "," +
                           std::to_string(b.length) + "," + std::to_string(b.maximum)
                     : std::string("-");
  };
  const auto set = [](const std::optional<int>& v) { return v ? std::to_string(*v) : "."; };
  return "h " + bar(l.h) + " v " + bar(l.v) + (l.statusBar ? " status" : "") + " values " +
         set(l.hValue) + set(l.vValue) + " frame " + set(l.frameLeft) + set(l.frameTop);
}

TEST(HostLayout, TheFourCasesAndTheClamp) {
  const struct {
    HostGeometry g;
    const char* layout;
  } cases[] = {
      // Fits, also after a scroll: no bars, values and frame back at 0.
      {{6000, 4000, 6000, 3000, 255, 255}, "h - v - values 00 frame 00"},
      // Only a vertical bar; W >= fw also takes the horizontal offset back.
      {{6000, 2000, 5000, 3000, 255, 255}, "h - v 5745,0,2000,1000 values 0. frame 0."},
      // Lower than the horizontal bar: vertical, its maximum clamped to 0, the
      // frame's left offset kept.
      {{3000, 200, 5000, 100, 255, 255}, "h - v 2745,0,200,0 values .. frame .."},
      // Only a horizontal bar.
      {{3000, 4000, 5000, 3000, 255, 255}, "h 0,3745,3000,2000 v - values .0 frame .0"},
      // Both bars and the status bar.
      {{3000, 2000, 5000, 3000, 255, 255},
       "h 0,1745,2745,2255 v 2745,0,1745,1255 status values .. frame .."},
  };
  for (const auto& c : cases) EXPECT_EQ(Describe(LayOutHost(c.g)), c.layout);
}

TEST(HostWindow, ScrollsTheFrameAndRefusesToCloseWhileHeld) {
  monitor::MonitorState state;
  monitor::Display host(state);
  EXPECT_EQ(host.Caption(), "42xx");
  host.resize(200, 150);
  host.FrameDisp->resize(400, 300);
  host.show();
  host.OnResize();
  EXPECT_TRUE(host.HScroll->isVisible());
  EXPECT_TRUE(host.VScroll->isVisible());
  EXPECT_TRUE(host.StatusBar->isVisible());
  host.HScroll->setValue(300);
  EXPECT_EQ(platform::PixelsToTwips(host.FrameDisp->x()), -300);
  host.VScroll->setValue(150);
  EXPECT_EQ(platform::PixelsToTwips(host.FrameDisp->y()), -150);
  // Large enough again: the frame goes back to the top left.
  host.resize(500, 400);
  EXPECT_FALSE(host.HScroll->isVisible());
  EXPECT_EQ(host.FrameDisp->pos(), QPoint(0, 0));

  bool cancel = false;
  host.OnQueryUnload(cancel);
  EXPECT_TRUE(cancel);
  state.HostCloseAllowed = -1;
  cancel = false;
  host.OnQueryUnload(cancel);
  EXPECT_FALSE(cancel);
}

}  // namespace
