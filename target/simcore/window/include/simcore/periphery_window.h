#pragma once
// The periphery window skeleton every chip window shares: the dialog made
// from the chip's template inside the monitor's host window, the host sized
// to it and titled "<chip> Periphery", the redraw items that the model posts
// (WM_USER, wParam = item), which a hidden or minimized window holds until it
// is shown again (then WM_PAINT redraws every box), and the pin texts.
#include <platform/dialog.h>
#include <platform/window.h>

#include <QCoreApplication>

#include <cstdint>

#include "periphery/port.h"

namespace simcore {

class PeripheryWindow {
 public:
  // InitInterface: creates the dialog in `host`, moves it to (0, 0), gives
  // the host its size and `caption`, and shows it without activating it. A
  // second call replaces the first dialog.
  int32_t open(void* host, const platform::DialogTemplate& dialogTemplate, const char* caption,
               platform::WindowProcedure procedure) {
    close();
    dialog_ = platform::CreateDialog(dialogTemplate, host, std::move(procedure));
    if (dialog_ == nullptr) return 0;
    const platform::Rect r = platform::GetWindowRect(dialog_);
    platform::MoveWindow(dialog_, 0, 0, r.width(), r.height());
    platform::MoveWindow(host, 0, 0, r.width(), r.height());
    platform::SetWindowText(host, caption);
    platform::ShowWindow(dialog_, platform::SW_SHOWNOACTIVATE);
    return 0;
  }

  // Destroys the dialog at once; at module unload only while the application
  // still exists (without it the widgets are already gone).
  void close() {
    if (dialog_ != nullptr && QCoreApplication::instance() != nullptr) platform::DestroyWindow(dialog_);
    dialog_ = nullptr;
  }

  platform::WindowHandle dialog() const { return dialog_; }
  // Nothing is drawn while the window is not on the screen.
  bool hidden() const { return dialog_ == nullptr || platform::IsIconic(dialog_); }

 private:
  platform::WindowHandle dialog_ = nullptr;
};

// The text of a pin button: "NC" for a pin the chip drives, else its level.
inline const char* PinText(uint32_t word) {
  if (word & periphery::pin::kDriven) return "NC";
  return (word & periphery::pin::kLevel) ? "H" : "L";
}

}  // namespace simcore
