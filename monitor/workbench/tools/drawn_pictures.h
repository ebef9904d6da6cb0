#pragma once
// The pictures of the small windows, drawn with QPainter: the program's icon
// (a chip with its pins) and the tip window's light bulb.
#include <QPixmap>

namespace monitor {

QPixmap ProgramIconPicture(int size);
QPixmap TipBulbPicture(int size);

}  // namespace monitor
