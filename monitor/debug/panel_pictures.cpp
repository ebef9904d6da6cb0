#include "debug/panel_pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace monitor {
namespace {

constexpr int kSize = 24;

enum class Shape { Play, Step, Stop, Back, Animate, Letters };

// One button face: a raised square for the up look, a flat grey one for the
// disabled look; "crossed" marks the off position of a switch.
QPixmap Face(Shape shape, const QString& letters, bool up, bool crossed) {
  QPixmap picture(kSize, kSize);
  picture.fill(up ? QColor(212, 208, 200) : QColor(180, 180, 180));
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(up ? Qt::white : QColor(150, 150, 150));
  painter.drawLine(0, 0, kSize - 1, 0);
  painter.drawLine(0, 0, 0, kSize - 1);
  painter.setPen(up ? QColor(64, 64, 64) : QColor(150, 150, 150));
  painter.drawLine(kSize - 1, 0, kSize - 1, kSize - 1);
  painter.drawLine(0, kSize - 1, kSize - 1, kSize - 1);
  const QColor ink = up ? QColor(0, 0, 0) : QColor(120, 120, 120);
  painter.setPen(Qt::NoPen);
  painter.setBrush(ink);
  const auto triangle = [&](double x, double width, bool right) {
    QPainterPath path;
    path.moveTo(right ? x : x + width, 6);
    path.lineTo(right ? x + width : x, 12);
    path.lineTo(right ? x : x + width, 18);
    path.closeSubpath();
    painter.drawPath(path);
  };
  switch (shape) {
    case Shape::Play:
      triangle(8, 9, true);
      break;
    case Shape::Step:
      triangle(6, 8, true);
      painter.drawRect(15, 6, 3, 12);
      break;
    case Shape::Stop:
      painter.drawRect(7, 7, 10, 10);
      break;
    case Shape::Back:
      painter.drawRect(6, 6, 3, 12);
      triangle(9, 9, false);
      break;
    case Shape::Animate:
      triangle(4, 7, true);
      triangle(12, 7, true);
      break;
    case Shape::Letters: {
      QFont font = painter.font();
      font.setPixelSize(letters.size() > 2 ? 8 : 11);
      font.setBold(true);
      painter.setFont(font);
      painter.setPen(ink);
      painter.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, letters);
      break;
    }
  }
  if (crossed) {
    painter.setPen(QPen(up ? QColor(192, 0, 0) : QColor(150, 100, 100), 2));
    painter.drawLine(4, kSize - 5, kSize - 5, 4);
  }
  return picture;
}

}  // namespace

std::vector<PanelPicture> PanelPictures() {
  std::vector<PanelPicture> pictures;
  const auto pair = [&](const QString& stem, Shape shape, const QString& letters, bool crossed) {
    pictures.push_back({stem + "uppic", Face(shape, letters, true, crossed)});
    pictures.push_back({stem + "dispic", Face(shape, letters, false, crossed)});
  };
  pair("play", Shape::Play, "", false);
  pair("step", Shape::Step, "", false);
  pair("stop", Shape::Stop, "", false);
  pair("back", Shape::Back, "", false);
  pair("anim", Shape::Animate, "", false);
  // Breakpoints, data breakpoints, trace and the interrupt request: the set
  // position and the crossed-out clear position.
  pair("brk", Shape::Letters, "B", false);
  pair("nbrk", Shape::Letters, "B", true);
  pair("dat", Shape::Letters, "D", false);
  pair("ndat", Shape::Letters, "D", true);
  pair("trc", Shape::Letters, "T", false);
  pair("ntrc", Shape::Letters, "T", true);
  pair("int", Shape::Letters, "INT", false);
  pair("nint", Shape::Letters, "INT", true);
  pair("on", Shape::Letters, "ON", false);
  pair("off", Shape::Letters, "OFF", false);
  pair("pint", Shape::Letters, "P", false);
  pair("ptv1", Shape::Letters, "1", false);
  pair("ptv2", Shape::Letters, "2", false);
  pair("ptv3", Shape::Letters, "3", false);
  pictures.push_back({"cntuppic", Face(Shape::Letters, "CON", true, false)});
  pictures.push_back({"dcntuppic", Face(Shape::Letters, "CON", true, true)});
  pictures.push_back({"imgreloadup", Face(Shape::Letters, "LD", true, false)});
  pictures.push_back({"imgreloaddown", Face(Shape::Letters, "LD", false, false)});
  pictures.push_back({"downloaduppic", Face(Shape::Letters, "DL", true, false)});
  pictures.push_back({"downloaddwnpic", Face(Shape::Letters, "DL", false, false)});
  pictures.push_back({"Dnloaddispic", Face(Shape::Letters, "DL", false, true)});
  return pictures;
}

}  // namespace monitor
