#include "lcd_glass.h"

#include <QPainter>

namespace {

// What the host already holds (the chip's periphery dialog): the union of
// its child windows, wherever they are.
QRect HostContent(const QWidget& host, const QWidget& glass) {
  QRect content;
  for (const QObject* child : host.children()) {
    const auto* w = qobject_cast<const QWidget*>(child);
    if (w != nullptr && w != &glass && !w->isWindow()) content |= w->geometry();
  }
  return content;
}

}  // namespace

LcdGlass::LcdGlass(QWidget* host, lcddef::Definition definition, std::vector<QImage> images)
    : QWidget(host), definition_(std::move(definition)), images_(std::move(images)) {
  setObjectName("LcdGlass");
  setAttribute(Qt::WA_TransparentForMouseEvents);
  // The display's own area lies below the chip's controls; the definition's
  // x, y place it inside that area, and the host grows to hold it.
  const QRect content = HostContent(*host, *this);
  const QPoint area(0, content.isEmpty() ? 0 : content.bottom() + 1 + kAreaMargin);
  const QRect place(area + QPoint(std::max<int>(definition_.x, 0), std::max<int>(definition_.y, 0)),
                    QSize(std::max<int>(definition_.width, 1), std::max<int>(definition_.height, 1)));
  setGeometry(place);
  const QSize needed(std::max(host->width(), place.right() + 1 + kAreaMargin),
                     std::max(host->height(), place.bottom() + 1 + kAreaMargin));
  if (needed != host->size()) host->resize(needed);
  raise();
  show();
}

void LcdGlass::setNibble(int address, int nibble) {
  if (address < 0 || address >= kAddresses) return;
  const auto value = static_cast<uint8_t>(nibble & 15);
  if (nibbles_[static_cast<size_t>(address)] == value) return;
  nibbles_[static_cast<size_t>(address)] = value;
  update();
}

void LcdGlass::setStatus(int on) {
  if (on_ == (on != 0)) return;
  on_ = on != 0;
  update();
}

void LcdGlass::setMux(int mux) {
  if (mux_ == mux) return;
  mux_ = mux;
  update();
}

bool LcdGlass::lit(size_t i) const {
  const lcddef::SegmentRecord& s = definition_.segments[i];
  const uint16_t address = s[lcddef::SegmentRecord::kAddress];
  if (!on_ || address >= kAddresses) return false;
  return (nibbles_[address] & s[lcddef::SegmentRecord::kBit] & mux_ & 15) != 0;
}

void LcdGlass::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  for (size_t i = 0; i < definition_.segments.size(); ++i) {
    if (!lit(i)) continue;
    const lcddef::SegmentRecord& s = definition_.segments[i];
    const QRect r(s.left(), s.top(), s.right() - s.left(), s.bottom() - s.top());
    if (r.width() <= 0 || r.height() <= 0) continue;
    const uint16_t bitmap = s[lcddef::SegmentRecord::kBitmap];
    if (bitmap < images_.size() && !images_[bitmap].isNull()) {
      painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
      painter.drawImage(r, images_[bitmap]);
      painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    } else {
      painter.fillRect(r, Qt::black);
    }
  }
  painter.setPen(QPen(Qt::black, 0));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
