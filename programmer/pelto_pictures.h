#pragma once
// The control's pictures, drawn with QPainter: the connect button's plug,
// the program and CRC buttons' automatic marks, the traffic light and the
// chip in its socket.
#include <QWidget>

namespace pelto {

enum class PeltoPicture {
  Connected, Disconnected,
  AutoProgramOn, AutoProgramOff, AutoCrcOn, AutoCrcOff,
  LightRed, LightYellow, LightGreen,
  ChipUnknown, ChipNone, ChipPresent,
};

// Shows the picture on a button (as its icon) or a label (as its pixmap);
// the widget's property "picture" names it.
void ShowPicture(QWidget* widget, PeltoPicture picture);

}  // namespace pelto
