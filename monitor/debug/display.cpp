#include "debug/display.h"

#include <algorithm>

#include "core/monitor_state.h"
#include "platform/twips.h"

namespace monitor {

HostLayout LayOutHost(const HostGeometry& g) {
  HostLayout layout;
  if (g.W >= g.fw && g.H >= g.fh) {
    layout.hValue = layout.vValue = 0;
    layout.frameLeft = layout.frameTop = 0;
    return layout;
  }
  if (g.fw + g.vw <= g.W || g.H < g.hh) {
    if (g.W >= g.fw) {
      layout.hValue = 0;
      layout.frameLeft = 0;
    }
    layout.v = {true, g.W - g.vw, 0, g.H, std::max(0, g.fh - g.H)};
    return layout;
  }
  if (g.fh + g.hh <= g.H) {
    layout.vValue = 0;
    layout.frameTop = 0;
    layout.h = {true, 0, g.H - g.hh, g.W, std::max(0, g.fw - g.W)};
    return layout;
  }
  layout.v = {true, g.W - g.vw, 0, g.H - g.hh, std::max(0, g.fh + g.hh - g.H)};
  layout.h = {true, 0, g.H - g.hh, g.W - g.vw, std::max(0, g.fw + g.vw - g.W)};
  layout.statusBar = true;
  return layout;
}

QPoint PlaceBesidePanel(const QRect& area, const QRect& panel, const QSize& host) {
  const QPoint candidates[] = {
      {panel.right() + 1, panel.top()},
      {panel.left(), panel.bottom() + 1},
      {panel.left() - host.width(), panel.top()},
      {panel.left(), panel.top() - host.height()},
  };
  for (const QPoint& at : candidates) {
    const QRect place(at, host);
    if (area.contains(place) && !place.intersects(panel)) return at;
  }
  return {std::max(area.left(), area.right() + 1 - host.width()),
          std::max(area.top(), area.bottom() + 1 - host.height())};
}

namespace {

// The scroll bars' thickness in twips.
constexpr int kBarTwips = 255;

}  // namespace

Display::Display(MonitorState& state) : Form("Display"), state_(state) {
  SetCaption("42xx");
  auto* client = new QWidget(this);
  client->setObjectName("DisplayClient");
  setCentralWidget(client);
  FrameDisp = new QWidget(client);
  FrameDisp->setObjectName("FrameDisp");
  HScroll = new QScrollBar(Qt::Horizontal, client);
  HScroll->setObjectName("HScroll");
  VScroll = new QScrollBar(Qt::Vertical, client);
  VScroll->setObjectName("VScroll");
  StatusBar = new QWidget(client);
  StatusBar->setObjectName("StatusBar");
  for (QScrollBar* bar : {HScroll, VScroll}) {
    bar->setRange(0, 0);
    bar->hide();
  }
  StatusBar->hide();
  HScroll->setFixedHeight(platform::TwipsToPixels(kBarTwips));
  VScroll->setFixedWidth(platform::TwipsToPixels(kBarTwips));
  // The bars' values are scroll offsets in twips; a change by the user or by
  // the layout moves the frame.
  connect(HScroll, &QScrollBar::valueChanged, this,
          [this](int value) { FrameDisp->move(-platform::TwipsToPixels(value), FrameDisp->y()); });
  connect(VScroll, &QScrollBar::valueChanged, this,
          [this](int value) { FrameDisp->move(FrameDisp->x(), -platform::TwipsToPixels(value)); });
}

void Display::PlaceBeside(const platform::Form& panel) {
  QWidget* window = Outer();
  QWidget* area = window->parentWidget();
  if (area == nullptr || window == this) return;
  window->move(PlaceBesidePanel(area->rect(), panel.Outer()->geometry(), window->size()));
}

void Display::OnQueryUnload(bool& cancel) {
  // Held while the panel is loaded, and never freed inside a run.
  if (state_.HostCloseAllowed == 0 || state_.SimulatorBusy != 0) cancel = true;
}

void Display::OnResize() {
  using platform::PixelsToTwips;
  using platform::TwipsToPixels;
  HostGeometry g;
  g.W = ScaleWidth();
  g.H = ScaleHeight();
  g.fw = PixelsToTwips(FrameDisp->width());
  g.fh = PixelsToTwips(FrameDisp->height());
  g.vw = PixelsToTwips(VScroll->width());
  g.hh = PixelsToTwips(HScroll->height());
  const HostLayout layout = LayOutHost(g);
  const auto place = [](QScrollBar* bar, const BarPlace& at, bool horizontal) {
    if (!at.visible) {
      bar->hide();
      return;
    }
    if (horizontal) {
      bar->setGeometry(TwipsToPixels(at.left), TwipsToPixels(at.top), TwipsToPixels(at.length),
                       bar->height());
    } else {
      bar->setGeometry(TwipsToPixels(at.left), TwipsToPixels(at.top), bar->width(),
                       TwipsToPixels(at.length));
    }
    bar->setMaximum(at.maximum);
    bar->show();
  };
  place(HScroll, layout.h, true);
  place(VScroll, layout.v, false);
  if (layout.hValue) HScroll->setValue(*layout.hValue);
  if (layout.vValue) VScroll->setValue(*layout.vValue);
  if (layout.frameLeft) FrameDisp->move(TwipsToPixels(*layout.frameLeft), FrameDisp->y());
  if (layout.frameTop) FrameDisp->move(FrameDisp->x(), TwipsToPixels(*layout.frameTop));
  if (layout.statusBar) {
    StatusBar->setGeometry(VScroll->x(), HScroll->y(), VScroll->width(), HScroll->height());
    StatusBar->show();
  } else {
    StatusBar->hide();
  }
}

}  // namespace monitor
