// The periphery window of QV4128 inside a host widget (offscreen): caption
// and size, texts and pin buttons as the model changes, the sound group.
#include <platform/messages.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "qv4128_client.h"

namespace qv4128test {
namespace {

class Window : public Qv4128 {
 protected:
  void SetUp() override {
    Qv4128::SetUp();
    ASSERT_EQ(Stdk::Get().InitInterface(&host), 0);
    dialog = host.findChild<QWidget*>("Curpos");
    ASSERT_NE(dialog, nullptr);
    host.show();
    r.reset();
    flush();
  }
  // Lets the posted redraw items reach the dialog.
  void flush() {
    while (platform::DispatchOneMessage()) {
    }
    QApplication::processEvents();
    while (platform::DispatchOneMessage()) {
    }
  }
  // Controls are read through Qt: the dialog belongs to the module's own
  // copy of the dialog layer.
  std::string text(int id) {
    QWidget* w = dialog->findChild<QWidget*>(QStringLiteral("ctl%1").arg(id));
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text().toStdString();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text().toStdString();
    return "?";
  }
  void click(int id) { dialog->findChild<QPushButton*>(QStringLiteral("ctl%1").arg(id))->click(); }

  QWidget host;
  QWidget* dialog = nullptr;
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
  write(115, 2);
  flush();
  EXPECT_EQ(text(1160), "IN");
  EXPECT_EQ(text(1161), "RDY");
  EXPECT_EQ(text(1162), "OUT");
  EXPECT_EQ(text(1163), "CLK");
  write(115, 0);
  flush();
  EXPECT_EQ(text(1160), "0");
  EXPECT_EQ(text(1163), "3");
}

TEST_F(Window, TimerBoxesShowInputsAndStartValues) {
  const char* inputs[4] = {"512Hz", "1024Hz", "2048Hz", "4096Hz"};
  for (int i = 0; i < 4; ++i) {
    write(86, i);
    flush();
    EXPECT_EQ(text(1176), inputs[i]);
  }
  write(87, 11);
  write(88, 2);
  write(89, 15);
  write(68, 4 | 1);
  write(98, 1);  // divider 16: 65536 / 17
  flush();
  EXPECT_EQ(text(1175), "B");
  EXPECT_EQ(text(1185), "64Hz");
  EXPECT_EQ(text(1184), "F");
  EXPECT_EQ(text(1197), "disabled");
  EXPECT_EQ(text(1152), "32Hz IRQ");
  EXPECT_EQ(text(1094), "3855.059");
}

TEST_F(Window, OutputPinShowsNcAndIgnoresClicks) {
  write(82, 1);
  write(80, 1);
  flush();
  EXPECT_EQ(text(1055), "NC");
  click(1055);
  flush();
  EXPECT_EQ(text(1055), "NC");
  click(1058);  // an input pin
  flush();
  EXPECT_EQ(text(1058), "H");
  EXPECT_EQ(r.reg(80), 8 | 1);
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
  write(87, 5);
  flush();
  EXPECT_EQ(text(1175), "0");
  host.showNormal();
  QApplication::processEvents();
  flush();
  EXPECT_EQ(text(1175), "5");
}

}  // namespace
}  // namespace qv4128test
