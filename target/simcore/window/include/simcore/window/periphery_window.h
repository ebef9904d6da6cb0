#pragma once
// The module's periphery dialog inside the monitor's host window: created
// from the chip's template, the host sized to it and titled "<chip>
// Periphery", redraw items posted to it, destroyed at once on replacement or
// unload. Both windows are held by guarded pointers: the monitor may destroy
// the host (and with it the dialog) before the module is unloaded.
#include <platform/dialog.h>
#include <platform/window.h>

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include <cstdint>

namespace simcore {

class PeripheryWindow {
 public:
  // InitInterface: creates the dialog as a child of `host`, moves it to
  // (0, 0), gives the host exactly its size and the title `caption`, and
  // shows it without activating anything. A second call replaces the first
  // dialog. A null host creates nothing.
  int32_t open(void* host, const platform::DialogTemplate& dialogTemplate, const char* caption,
               platform::WindowProcedure procedure) {
    close();
    if (host == nullptr) return 0;
    host_ = static_cast<QWidget*>(host);
    creating_ = true;
    platform::WindowHandle dialog = platform::CreateDialog(dialogTemplate, host, std::move(procedure));
    creating_ = false;
    dialog_ = static_cast<QWidget*>(dialog);
    if (dialog == nullptr) return 0;
    const platform::Rect r = platform::GetWindowRect(dialog);
    platform::MoveWindow(dialog, 0, 0, r.width(), r.height());
    platform::MoveWindow(host, 0, 0, r.width(), r.height());
    platform::SetWindowText(host, caption);
    platform::ShowWindow(dialog, platform::SW_SHOWNOACTIVATE);
    // Drawn at once when the host is on the screen; otherwise when it comes.
    if (!platform::IsIconic(dialog)) platform::SendMessage(dialog, platform::WM_PAINT, 0, 0);
    return 0;
  }

  // Destroys the dialog synchronously with its pending messages (never
  // deferred: at unload the code is about to be unmapped). Without the
  // application the widgets are gone already.
  void close() {
    if (QCoreApplication::instance() != nullptr && !dialog_.isNull())
      platform::DestroyWindow(dialog_.data());
    dialog_ = nullptr;
    host_ = nullptr;
  }

  // The dialog, or null before InitInterface and after it was destroyed.
  platform::WindowHandle dialog() const { return dialog_.data(); }
  platform::WindowHandle host() const { return host_.data(); }

  // Whether `window` is this module's dialog, or the one being created
  // (WM_INITDIALOG arrives before CreateDialog returns).
  bool owns(platform::WindowHandle window) const {
    return window != nullptr && (creating_ || window == dialog());
  }

  // Nothing is drawn while the dialog is not on the screen (no dialog, its
  // host or frame hidden or minimized); restoring it redraws every box.
  bool hidden() const { return dialog_.isNull() || platform::IsIconic(dialog_.data()); }

  // A redraw request of the model: WM_USER, wParam = item, lParam = the parts.
  // Requests of one item coalesce until drawn (their parts OR together), so
  // a model posting on every tick never floods the queue. No dialog: nothing.
  void post(int item, intptr_t parts) const {
    if (dialog_.isNull()) return;
    platform::PostCoalescedMessage(dialog_.data(), platform::WM_USER, static_cast<uintptr_t>(item), parts);
  }

  // Set while a pin click samples a port into the register file.
  int32_t busy = 0;

 private:
  QPointer<QWidget> host_;
  QPointer<QWidget> dialog_;
  bool creating_ = false;
};

}  // namespace simcore
