#pragma once
// The module's periphery dialog inside the monitor's host window: created
// from the chip's template, the host sized to it and titled "<chip>
// Periphery", redraw items posted to it, destroyed at once on replacement or
// unload. The monitor may destroy the host (and with it the dialog) before
// the module is unloaded: the dialog layer then no longer knows the dialog,
// and the module treats it as gone.
//
// Redraw requests: the model posts (item, parts) on every change, a running
// timer on every tick, through the platform's coalesced notifications: each
// item keeps one pending mask (the parts OR together, items in the order of
// their first post), delivered to the dialog procedure as WM_USER, wParam =
// item, lParam = mask, when the toolkit runs (a few hundred times a second
// at most during a run, from the program's event loop outside one). A box
// therefore draws the state at the time of drawing, and the queue never grows
// with the number of posts.
#include <platform/dialog.h>
#include <platform/messages.h>
#include <platform/window.h>

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
    creating_ = true;
    platform::WindowHandle dialog = platform::CreateDialog(dialogTemplate, host, std::move(procedure));
    creating_ = false;
    dialog_ = dialog;
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
  // deferred: at unload the code is about to be unmapped). A dialog the host
  // took with it is no longer known to the dialog layer and is left alone.
  void close() {
    if (dialog() != nullptr) platform::DestroyWindow(dialog_);
    dialog_ = nullptr;
  }

  // The dialog, or null before InitInterface and after it was destroyed
  // (with its host, too: the dialog layer forgets a dialog when it goes).
  platform::WindowHandle dialog() const {
    return dialog_ != nullptr && platform::IsWindowRegistered(dialog_) ? dialog_ : nullptr;
  }

  // Whether `window` is this module's dialog, or the one being created
  // (WM_INITDIALOG arrives before CreateDialog returns).
  bool owns(platform::WindowHandle window) const {
    return window != nullptr && (creating_ || window == dialog());
  }

  // Nothing is drawn while the dialog is not on the screen (no dialog, its
  // host or frame hidden or minimized); restoring it redraws every box.
  bool hidden() const {
    platform::WindowHandle d = dialog();
    return d == nullptr || platform::IsIconic(d);
  }

  // A redraw request of the model: WM_USER, wParam = item, lParam = the parts,
  // coalesced as told above. No dialog (before InitInterface, or after the
  // host took it away): nothing.
  void post(int item, intptr_t parts) {
    if (dialog_ == nullptr) return;
    platform::PostCoalescedMessage(dialog_, platform::WM_USER, static_cast<uintptr_t>(item), parts);
  }

  // Set while a pin click samples a port into the register file.
  int32_t busy = 0;

 private:
  platform::WindowHandle dialog_ = nullptr;
  bool creating_ = false;
};

}  // namespace simcore
