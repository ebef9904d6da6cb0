#pragma once
// The control panel's picture holders: every button picture drawn with
// QPainter, in an up look and a disabled look, and for switches in an on and
// an off position.
#include <QPixmap>
#include <QString>
#include <vector>

namespace monitor {

struct PanelPicture {
  QString name;  // the holder's name, "playuppic"
  QPixmap picture;
};

// Every holder the panel carries.
std::vector<PanelPicture> PanelPictures();

}  // namespace monitor
