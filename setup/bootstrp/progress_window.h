#pragma once
// The progress window (dialog 1 of the language library): text 101 with the
// application's name, gauge 102; hidden by QuillsetBootstrap with wParam 1.
#include <QWidget>
#include <memory>
#include <string>

#include "language_library.h"
#include "setup/boot_gauge.h"
#include "setup/quillset_channel.h"

namespace vanstall {

class ProgressWindow {
 public:
  // Builds and shows the window; Valid() is false when the library has no dialog 1.
  ProgressWindow(LanguageLibrary& library, const std::string& setupIni);
  bool Valid() const { return gauge_ != nullptr; }
  setup::VXQBootGauge* Gauge() { return gauge_; }
  QWidget& Window() { return window_; }

  // BootstrapDlgProc for the registered message.
  void BootstrapDlgProc(unsigned long wParam);

 private:
  QWidget window_;
  setup::VXQBootGauge* gauge_ = nullptr;
  std::unique_ptr<setup::QuillsetListener> listener_;
};

}  // namespace vanstall
