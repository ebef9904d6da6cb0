// The periphery window of QV4128 inside a host widget (offscreen): caption
// and size, texts and pin buttons as the model changes, the sound group.
#include <QApplication>

#include "qv4128_client.h"
#include "layout.h"

namespace qv4128test {
namespace {

class Window : public Qv4128, protected ChipWindow {
 protected:
  void SetUp() override {
    Qv4128::SetUp();
    open("42280000.DLL", QV4128_MODULE_FOLDER);
    r.reset();
    flush();
  }
};

TEST_F(Window, HostTakesTheCaptionAndTheDialogsSize) {
  EXPECT_EQ(host.windowTitle().toStdString(), "QV4128 Periphery");
  EXPECT_EQ(dialog->pos(), QPoint(0, 0));
  EXPECT_EQ(host.size(), dialog->size());
  EXPECT_EQ(text(1035), "L");
  EXPECT_EQ(text(1152), "64Hz IRQ");
  EXPECT_EQ(text(1197), "enabled");
  EXPECT_EQ(text(1094), "0.000");
}

TEST_F(Window, SerialFunctionRenamesThePort5PinsAtOnce) {
  write(qv4128::L.serial.control.reg, 2);
  flush();
  EXPECT_EQ(text(1160), "IN");
  EXPECT_EQ(text(1161), "RDY");
  EXPECT_EQ(text(1162), "OUT");
  EXPECT_EQ(text(1163), "CLK");
  write(qv4128::L.serial.control.reg, 0);
  flush();
  EXPECT_EQ(text(1160), "0");
  EXPECT_EQ(text(1163), "3");
}

TEST_F(Window, TimerBoxesShowInputsAndStartValues) {
  const char* inputs[4] = {"512Hz", "1024Hz", "2048Hz", "4096Hz"};
  for (int i = 0; i < 4; ++i) {
    write(qv4128::L.timer1.control.reg, i);
    flush();
    EXPECT_EQ(text(1176), inputs[i]);
  }
  write(qv4128::L.timer1.start.reg, 11);
  write(qv4128::L.timer2.control.reg, 2);
  write(qv4128::L.timer2.start.reg, 15);
  write(qv4128::L.system.options.reg, 4 | 1);
  write(qv4128::L.melody.high.reg, 1);  // divider 16: 65536 / 17
  flush();
  EXPECT_EQ(text(1175), "B");
  EXPECT_EQ(text(1185), "64Hz");
  EXPECT_EQ(text(1184), "F");
  EXPECT_EQ(text(1197), "disabled");
  EXPECT_EQ(text(1152), "32Hz IRQ");
  EXPECT_EQ(text(1094), "3855.059");
}

TEST_F(Window, OutputPinShowsNcAndIgnoresClicks) {
  write(qv4128::L.ports.directions.reg, 1);
  write(qv4128::L.ports.port3.reg, 1);
  flush();
  EXPECT_EQ(text(1055), "NC");
  click(1055);
  flush();
  EXPECT_EQ(text(1055), "NC");
  click(1058);  // an input pin
  flush();
  EXPECT_EQ(text(1058), "H");
  EXPECT_EQ(r.reg(qv4128::L.ports.port3.reg), 8 | 1);
}

TEST_F(Window, SoundButtonTogglesAndChangesNoRegister) {
  const std::vector<RegisterCell> before = r.registers;
  click(1236);
  flush();
  EXPECT_EQ(text(1236), "ON");
  click(1236);
  flush();
  EXPECT_EQ(text(1236), "OFF");
  for (int n = 0; n < 128; ++n) EXPECT_EQ(r.registers[n].value, before[n].value) << n;
}

TEST_F(Window, MinimizedWindowHoldsRedrawsAndRestoreRedrawsEverything) {
  host.showMinimized();
  QApplication::processEvents();
  write(qv4128::L.timer1.start.reg, 5);
  flush();
  EXPECT_EQ(text(1175), "0");
  host.showNormal();
  QApplication::processEvents();
  flush();
  EXPECT_EQ(text(1175), "5");
}

}  // namespace
}  // namespace qv4128test
