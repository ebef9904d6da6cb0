#include "setup/boot_gauge.h"

#include <QPainter>
#include <algorithm>

namespace setup {

VXQBootGauge::VXQBootGauge(QWidget* parent) : QWidget(parent) {
  setObjectName(kGaugeClassName);
  data_.bar = palette().color(QPalette::Highlight);
  // Every pixel is painted: the background is never erased separately.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

intptr_t VXQBootGauge::Message(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case kGaugeRepaint:
      repaint();
      break;
    case kGaugeSetRange:
      data_.minimum = static_cast<int>(lParam & 0xFFFF);
      data_.maximum = static_cast<int>((lParam >> 16) & 0xFFFF);
      break;
    case kGaugeSetPos:
      data_.position = static_cast<int>(wParam);
      repaint();
      break;
    case kGaugeDeltaPos:
      data_.position += static_cast<int>(wParam);
      repaint();
      break;
    case kGaugeSetFlags:
      data_.flags = static_cast<int>(wParam);
      break;
    default:
      break;
  }
  return 0;
}

void VXQBootGauge::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const GaugeData& d = data_;
  const QColor face = palette().color(QPalette::Button);
  const int b = d.border;
  const QRect all = rect();
  // The sunken border: shadow at the top and left, highlight at the bottom and right.
  p.fillRect(all, palette().color(QPalette::Light));
  p.fillRect(QRect(0, 0, all.width() - b, all.height() - b), palette().color(QPalette::Dark));
  const QRect inside = all.adjusted(b, b, -b, -b);
  p.fillRect(inside, face);
  const QRect inner = inside.adjusted(b, b, -b, -b);
  if (inner.isEmpty()) return;

  const int64_t extent = d.horizontal ? inner.width() : inner.height();
  const int64_t range = int64_t{d.maximum} - d.minimum;
  // An empty range draws an empty gauge.
  int64_t filled = range == 0 ? 0 : (int64_t{d.position} - d.minimum) * extent / range;
  filled = std::clamp<int64_t>(filled, 0, extent);
  const int64_t pitch = range == 0 ? 0 : extent * d.blocks / range;
  // A run [from, to) along the bar, in widget coordinates.
  auto run = [&](int64_t from, int64_t to, const QColor& colour) {
    if (to <= from) return;
    if (d.horizontal) {
      p.fillRect(QRect(inner.left() + int(from), inner.top(), int(to - from), inner.height()),
                 colour);
    } else {
      p.fillRect(QRect(inner.left(), inner.bottom() + 1 - int(to), inner.width(), int(to - from)),
                 colour);
    }
  };
  if (d.blocks == 0 || pitch <= 0) {
    run(0, filled, d.bar);
    return;
  }
  const int64_t barPart = pitch * d.blockFill / 100;
  for (int64_t at = 0; at < filled; at += pitch) {
    run(at, std::min(at + barPart, filled), d.bar);
    run(at + barPart, std::min(at + pitch, filled), face);
  }
}

}  // namespace setup
