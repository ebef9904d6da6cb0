// The pictures of picture places, drawn rather than loaded.
#include "platform/pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRect>
#include <algorithm>

namespace platform {
namespace {

QRectF Square(const QRect& area, double margin) {
  double side = std::min(area.width(), area.height()) - 2 * margin;
  side = std::max(side, 1.0);
  QPointF centre = QRectF(area).center();
  return QRectF(centre.x() - side / 2, centre.y() - side / 2, side, side);
}

void Led(QPainter& p, const QRect& area, QColor fill) {
  QRectF disc = Square(area, 1);
  QRadialGradient shine(disc.center() - QPointF(disc.width() / 5, disc.height() / 5), disc.width() / 1.5);
  shine.setColorAt(0, fill.lighter(160));
  shine.setColorAt(1, fill);
  p.setPen(QPen(QColor(40, 40, 40), 1));
  p.setBrush(shine);
  p.drawEllipse(disc);
}

void Marker(QPainter& p, const QRect& area, int direction) {
  QRectF box = Square(area, 1);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::NoBrush);
  if (direction == 0) {  // no interrupt: an empty frame
    p.drawRect(box.adjusted(box.width() / 4, box.height() / 4, -box.width() / 4, -box.height() / 4));
    return;
  }
  // An arrow: down for a falling edge, up for a rising one.
  double top = box.top(), bottom = box.bottom(), mid = box.center().x(), half = box.width() / 3;
  QPolygonF head;
  if (direction < 0) {
    head << QPointF(mid - half, bottom - half) << QPointF(mid + half, bottom - half) << QPointF(mid, bottom);
    p.drawLine(QPointF(mid, top), QPointF(mid, bottom - half));
  } else {
    head << QPointF(mid - half, top + half) << QPointF(mid + half, top + half) << QPointF(mid, top);
    p.drawLine(QPointF(mid, bottom), QPointF(mid, top + half));
  }
  p.setBrush(direction < 0 ? QColor(0, 0, 200) : QColor(200, 0, 0));
  p.drawPolygon(head);
}

// A note with `waves` sound arcs beside it; grey when silent.
void Melody(QPainter& p, const QRect& area, int waves) {
  QRectF box = Square(area, 1);
  QColor ink = waves == 0 ? QColor(150, 150, 150) : QColor(0, 0, 0);
  double u = box.width() / 8;
  p.setPen(QPen(ink, std::max(1.0, u / 2)));
  p.setBrush(ink);
  QRectF head(box.left() + u, box.bottom() - 3 * u, 2.5 * u, 2 * u);
  p.drawEllipse(head);
  QPointF stemFoot(head.right(), head.center().y());
  p.drawLine(stemFoot, QPointF(head.right(), box.top() + u));
  p.setBrush(Qt::NoBrush);
  for (int i = 0; i < waves; ++i) {
    double r = (i + 1) * 1.3 * u;
    QRectF arc(head.right() + u - r, box.center().y() - r, 2 * r, 2 * r);
    p.drawArc(arc, -45 * 16, 90 * 16);
  }
}

}  // namespace

void DrawPicture(QPainter& painter, const QRect& area, Picture picture) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  switch (picture) {
    case Picture::None: break;
    case Picture::PinLow: Led(painter, area, QColor(70, 0, 0)); break;
    case Picture::PinHigh: Led(painter, area, QColor(230, 20, 20)); break;
    case Picture::IndicatorOff: Led(painter, area, QColor(150, 150, 150)); break;
    case Picture::IndicatorOn: Led(painter, area, QColor(20, 190, 20)); break;
    case Picture::MarkerNone: Marker(painter, area, 0); break;
    case Picture::MarkerFalling: Marker(painter, area, -1); break;
    case Picture::MarkerRising: Marker(painter, area, 1); break;
    case Picture::MelodyOff: Melody(painter, area, 0); break;
    case Picture::Melody1: Melody(painter, area, 1); break;
    case Picture::Melody2: Melody(painter, area, 2); break;
    case Picture::Melody3: Melody(painter, area, 3); break;
  }
  painter.restore();
}

}  // namespace platform
