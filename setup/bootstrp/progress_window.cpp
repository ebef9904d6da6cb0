#include "progress_window.h"

#include <QLabel>

#include "boot_dialogs.h"
#include "boot_messages.h"
#include "platform/profile.h"

namespace vanstall {

ProgressWindow::ProgressWindow(LanguageLibrary& library, const std::string& setupIni)
    : window_(nullptr, Qt::Dialog) {
  window_.setObjectName("BootstrapDlg");
  const BootDialog* description = library.Dialog(setup::kProgressDialog);
  if (!description) return;
  std::map<int, QWidget*> controls = BuildDialog(window_, *description);
  if (auto* text = qobject_cast<QLabel*>(controls[setup::kIdText])) {
    const std::string appName =
        platform::ReadProfileString(setupIni, "Setup Loader", "AppName", "");
    const std::string name = appName.empty() ? "" : appName + " ";
    text->setText(QString::fromStdString(FormatText(text->text().toStdString(), {name})));
  }
  gauge_ = dynamic_cast<setup::VXQBootGauge*>(controls[setup::kIdGauge]);
  if (!gauge_) return;
  gauge_->Message(setup::kGaugeSetRange, 0, 100 << 16);
  listener_ = std::make_unique<setup::QuillsetListener>(
      [this](unsigned long wParam) { BootstrapDlgProc(wParam); });
  CentreOnScreen(window_);
  window_.show();
}

void ProgressWindow::BootstrapDlgProc(unsigned long wParam) {
  if (wParam == 1) window_.hide();
}

}  // namespace vanstall
