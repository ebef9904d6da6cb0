// Message boxes as QMessageBox, registered with the toolkit-free part when
// this file is linked (platform_ui forces it in).
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

#include "platform/hooks.h"
#include "platform/messagebox.h"
#include "platform/messagebox_presenter.h"

namespace platform {
namespace {

QMessageBox::StandardButton ToQt(int answer) {
  switch (answer) {
    case IDOK: return QMessageBox::Ok;
    case IDCANCEL: return QMessageBox::Cancel;
    case IDABORT: return QMessageBox::Abort;
    case IDRETRY: return QMessageBox::Retry;
    case IDIGNORE: return QMessageBox::Ignore;
    case IDYES: return QMessageBox::Yes;
    case IDNO: return QMessageBox::No;
    default: return QMessageBox::NoButton;
  }
}

QMessageBox::Icon IconOf(unsigned style) {
  switch (style & MB_ICONMASK) {
    case MB_ICONHAND: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONASTERISK: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

bool OnGuiThread() {
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  return app != nullptr && QThread::currentThread() == app->thread();
}

int Show(const char* text, const char* title, unsigned style) {
  if (!OnGuiThread()) return 0;
  // The box belongs to the window that has the focus, as an owner window.
  QWidget* owner = QApplication::focusWidget();
  owner = owner != nullptr ? owner->window() : QApplication::activeWindow();

  QMessageBox box(IconOf(style), QString::fromLocal8Bit(title), QString::fromLocal8Bit(text),
                  QMessageBox::NoButton, owner);
  std::vector<int> answers = MessageBoxButtons(style);
  std::vector<QAbstractButton*> buttons;
  for (int answer : answers) buttons.push_back(box.addButton(ToQt(answer)));
  box.setDefaultButton(static_cast<QPushButton*>(buttons.front()));
  for (size_t i = 0; i < answers.size(); ++i) {
    if (answers[i] == DefaultAnswer(style)) box.setDefaultButton(static_cast<QPushButton*>(buttons[i]));
    // Closing the box answers Cancel where there is one; a lone OK answers OK.
    if (answers[i] == IDCANCEL || answers.size() == 1) box.setEscapeButton(buttons[i]);
  }
  RunModalDialog(box);
  QAbstractButton* clicked = box.clickedButton();
  for (size_t i = 0; i < answers.size(); ++i) {
    if (buttons[i] == clicked) return answers[i];
  }
  return DefaultAnswer(style);
}

void BeepHere() {
  if (OnGuiThread()) QApplication::beep();
}

const detail::GuiMessageBoxes kQtBoxes{&Show, &BeepHere};

const bool kRegistered = [] {
  detail::SetGuiMessageBoxes(&kQtBoxes);
  return true;
}();

}  // namespace
}  // namespace platform

// Referenced by the link options of platform_ui so that this file is always
// linked, and the boxes it registers with it.
extern "C" const bool TavixQtMessageBoxLinked = platform::kRegistered;
