#include "chip_window.h"

#include <gtest/gtest.h>
#include <platform/dialog.h>
#include <platform/messages.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "target_client.h"

namespace k42test {

QWidget* Control(const QWidget* dialog, int id) {
  return dialog != nullptr ? dialog->findChild<QWidget*>(QStringLiteral("ctl%1").arg(id)) : nullptr;
}

std::string ControlText(const QWidget* dialog, int id) {
  QWidget* w = Control(dialog, id);
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text().toStdString();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text().toStdString();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text().toStdString();
  if (auto* p = qobject_cast<QPlainTextEdit*>(w)) return p->toPlainText().toStdString();
  return "?";
}

platform::Picture ControlPicture(const QWidget* dialog, int id) {
  QWidget* w = Control(dialog, id);
  return w != nullptr ? static_cast<platform::Picture>(w->property("picture").toInt()) : platform::Picture::None;
}

void ChipWindow::open(const std::string& module, const std::string& folder) {
  module_ = module;
  folder_ = folder;
  ASSERT_EQ(Stdk::Get().InitInterface(&host), 0);
  dialog = host.findChild<QWidget*>("Curpos");
  ASSERT_NE(dialog, nullptr);
  host.show();
}

void ChipWindow::flush() {
  for (int i = 0; i < 3; ++i) {
    while (platform::DispatchOneMessage()) {
    }
    QApplication::processEvents();
  }
}

void ChipWindow::click(int id) {
  auto* b = qobject_cast<QAbstractButton*>(control(id));
  ASSERT_NE(b, nullptr);
  b->click();
}

intptr_t ChipWindow::send(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  // Looked up at each call: the module may have been loaded anew.
  auto procedure = reinterpret_cast<CurposDlgFn>(LoadedExport(module_, folder_, "CurposDlg"));
  EXPECT_NE(procedure, nullptr);
  return procedure != nullptr ? procedure(dialog, message, wParam, lParam) : 0;
}

void ChipWindow::scroll(int bar, uint16_t code, int thumb) {
  QWidget* barWidget = control(bar);
  ASSERT_NE(barWidget, nullptr);
  send(platform::WM_VSCROLL, platform::MAKEWPARAM(code, static_cast<uint16_t>(thumb)),
       reinterpret_cast<intptr_t>(static_cast<void*>(barWidget)));
}

}  // namespace k42test
