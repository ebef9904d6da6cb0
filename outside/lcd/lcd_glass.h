#pragma once
// The simulated glass: the display rectangle of an LCD definition, in an
// area of its own below what the host window holds (the chip's controls),
// the host grown to hold it, with the segments lit by the chip's LCD memory. A segment
// is lit when the display is on and its bit is set in the nibble of its
// address, within the bits the multiplex mode drives (7: bits 0-2, 15: all).
// A lit segment draws its bitmap stretched (overlaps combine by AND), or a
// black rectangle when it has none.
#include <QImage>
#include <QWidget>
#include <array>
#include <vector>

#include <lcddef/lcd_definition.h>

class LcdGlass : public QWidget {
 public:
  static constexpr int kAddresses = 64;
  static constexpr int kAreaMargin = 8;  // between the controls, the display area and the edges

  LcdGlass(QWidget* host, lcddef::Definition definition, std::vector<QImage> images);

  void setNibble(int address, int nibble);
  void setStatus(int on);
  void setMux(int mux);
  bool lit(size_t segment) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  lcddef::Definition definition_;
  std::vector<QImage> images_;
  std::array<uint8_t, kAddresses> nibbles_{};
  bool on_ = false;
  int mux_ = 15;
};
