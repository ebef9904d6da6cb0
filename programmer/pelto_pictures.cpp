#include "pelto_pictures.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace pelto {
namespace {

constexpr int kSize = 32;

const char* Name(PeltoPicture picture) {
  static const char* const names[] = {
      "Connected", "Disconnected", "AutoProgramOn", "AutoProgramOff", "AutoCrcOn", "AutoCrcOff",
      "LightRed", "LightYellow", "LightGreen", "ChipUnknown", "ChipNone", "ChipPresent"};
  return names[static_cast<int>(picture)];
}

void Plug(QPainter& p, bool connected) {
  p.setPen(QPen(Qt::black, 2));
  p.setBrush(QColor(128, 128, 128));
  const int gap = connected ? 0 : 8;
  p.drawRect(2, 10, 10 - gap / 2, 12);
  p.drawRect(20 + gap / 2, 10, 10 - gap / 2, 12);
  p.drawLine(12 - gap / 2, 13, 20 + gap / 2, 13);
  p.drawLine(12 - gap / 2, 19, 20 + gap / 2, 19);
  if (!connected) {
    p.setPen(QPen(Qt::red, 3));
    p.drawLine(14, 6, 18, 26);
  }
}

void Mark(QPainter& p, const QString& letter, bool on) {
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(on ? QColor(0, 160, 0) : QColor(192, 192, 192));
  p.drawEllipse(4, 4, 24, 24);
  p.setPen(on ? Qt::white : Qt::darkGray);
  p.drawText(QRect(4, 4, 24, 24), Qt::AlignCenter, letter);
}

void Light(QPainter& p, int lit) {
  p.setBrush(Qt::black);
  p.drawRoundedRect(9, 0, 14, 32, 3, 3);
  const QColor colours[] = {Qt::red, Qt::yellow, Qt::green};
  for (int i = 0; i < 3; ++i) {
    p.setBrush(i == lit ? colours[i] : colours[i].darker(400));
    p.drawEllipse(11, 1 + i * 10, 10, 10);
  }
}

void Chip(QPainter& p, int kind) {
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(QColor(220, 200, 120));
  p.drawRect(2, 4, 28, 24);  // the socket
  if (kind == 2) {
    p.setBrush(QColor(40, 40, 40));
    p.drawRect(8, 8, 16, 16);
  } else if (kind == 0) {
    p.drawText(QRect(2, 4, 28, 24), Qt::AlignCenter, "?");
  }
}

QPixmap Draw(PeltoPicture picture) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  switch (picture) {
    case PeltoPicture::Connected: Plug(p, true); break;
    case PeltoPicture::Disconnected: Plug(p, false); break;
    case PeltoPicture::AutoProgramOn: Mark(p, "P", true); break;
    case PeltoPicture::AutoProgramOff: Mark(p, "P", false); break;
    case PeltoPicture::AutoCrcOn: Mark(p, "C", true); break;
    case PeltoPicture::AutoCrcOff: Mark(p, "C", false); break;
    case PeltoPicture::LightRed: Light(p, 0); break;
    case PeltoPicture::LightYellow: Light(p, 1); break;
    case PeltoPicture::LightGreen: Light(p, 2); break;
    case PeltoPicture::ChipUnknown: Chip(p, 0); break;
    case PeltoPicture::ChipNone: Chip(p, 1); break;
    case PeltoPicture::ChipPresent: Chip(p, 2); break;
  }
  return pixmap;
}

}  // namespace

void ShowPicture(QWidget* widget, PeltoPicture picture) {
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setIcon(QIcon(Draw(picture)));
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setPixmap(Draw(picture));
  }
  widget->setProperty("picture", QString(Name(picture)));
}

}  // namespace pelto
