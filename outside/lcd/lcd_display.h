#pragma once
// The display of one chip window: the LCD definition found for it and the
// glass drawn in its host. Without a readable definition there is no glass
// and every call is ignored, so the chip runs as it would without a display.
#include <QPointer>
#include <string>

#include "lcd_glass.h"

class LcdDisplay {
 public:
  ~LcdDisplay();
  // The project's definition when it can be read, else `definitionName`
  // looked up in `programFolder`.
  void open(QWidget* host, const std::string& projectPath, const std::string& definitionName,
            const std::string& programFolder);
  void setSegment(int index, int nibble) {
    if (glass_) glass_->setNibble(index, nibble);
  }
  void setStatus(int on) {
    if (glass_) glass_->setStatus(on);
  }
  void setMux(int mux) {
    if (glass_) glass_->setMux(mux);
  }

 private:
  QPointer<LcdGlass> glass_;
};
