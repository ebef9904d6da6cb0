#include "workbench/tools/drawn_pictures.h"

#include <QPainter>

namespace monitor {
namespace {

// A transparent square picture drawn on a grid of 16 units.
template <typename Draw>
QPixmap Drawn(int size, Draw draw) {
  QPixmap picture(size, size);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter, size / 16.0);
  painter.end();
  return picture;
}

void DrawChip(QPainter& painter, qreal unit) {
  painter.setPen(QPen(QColor(90, 90, 90), unit * 0.8));
  for (int pin = 0; pin < 4; ++pin) {
    const qreal at = unit * (4 + pin * 2.5);
    painter.drawLine(QPointF(at, unit), QPointF(at, unit * 3));
    painter.drawLine(QPointF(at, unit * 13), QPointF(at, unit * 15));
    painter.drawLine(QPointF(unit, at), QPointF(unit * 3, at));
    painter.drawLine(QPointF(unit * 13, at), QPointF(unit * 15, at));
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(30, 60, 120));
  painter.drawRoundedRect(QRectF(unit * 3, unit * 3, unit * 10, unit * 10), unit, unit);
  painter.setPen(QColor(240, 240, 240));
  QFont font = painter.font();
  font.setPixelSize(static_cast<int>(unit * 6));
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(QRectF(unit * 3, unit * 3, unit * 10, unit * 10), Qt::AlignCenter, "4");
}

void DrawBulb(QPainter& painter, qreal unit) {
  painter.setPen(QPen(QColor(120, 100, 0), unit * 0.6));
  painter.setBrush(QColor(255, 230, 80));
  painter.drawEllipse(QRectF(unit * 3, unit, unit * 10, unit * 10));
  painter.setBrush(QColor(160, 160, 160));
  painter.drawRect(QRectF(unit * 6, unit * 11, unit * 4, unit * 3));
  painter.drawLine(QPointF(unit * 6, unit * 12.5), QPointF(unit * 10, unit * 12.5));
}

}  // namespace

QPixmap ProgramIconPicture(int size) {
  return Drawn(size, DrawChip);
}

QPixmap TipBulbPicture(int size) {
  return Drawn(size, DrawBulb);
}

}  // namespace monitor
