#include "boot_dialogs.h"

#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include "setup/boot_gauge.h"

namespace vanstall {

std::map<int, QWidget*> BuildDialog(QWidget& window, const BootDialog& d) {
  const QFontMetrics metrics(window.font());
  const int unitX = std::max(1, metrics.averageCharWidth());
  const int unitY = std::max(1, metrics.height());
  auto px = [&](int x) { return x * unitX / 4; };
  auto py = [&](int y) { return y * unitY / 8; };
  window.setWindowTitle(QString::fromUtf8(d.caption ? d.caption : ""));
  window.setFixedSize(px(d.width), py(d.height));
  std::map<int, QWidget*> controls;
  for (int i = 0; i < d.controlCount; ++i) {
    const BootControl& c = d.controls[i];
    const QString text = QString::fromUtf8(c.text ? c.text : "");
    QWidget* w = nullptr;
    switch (c.kind) {
      case kBootText: {
        auto* label = new QLabel(text, &window);
        label->setWordWrap(true);
        w = label;
        break;
      }
      case kBootGauge:
        w = new setup::VXQBootGauge(&window);
        break;
      case kBootList:
        w = new QListWidget(&window);
        break;
      case kBootOk:
      case kBootCancel: {
        auto* button = new QPushButton(text, &window);
        button->setDefault(c.kind == kBootOk);
        w = button;
        break;
      }
      default:
        continue;
    }
    w->setGeometry(px(c.x), py(c.y), px(c.width), py(c.height));
    w->setProperty("controlId", c.id);
    controls[c.id] = w;
  }
  return controls;
}

void CentreOnScreen(QWidget& window) {
  const QScreen* screen = window.screen();
  if (!screen) return;
  QRect frame = window.frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  window.move(frame.topLeft());
}

}  // namespace vanstall
