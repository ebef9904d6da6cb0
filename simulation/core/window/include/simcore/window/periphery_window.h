#pragma once
// The module's periphery dialog inside the monitor's host window: created
// from the chip's template, the host sized to it and titled "<chip>
// Periphery", redraw items posted to it, destroyed at once on replacement or
// unload. Both windows are held by guarded pointers: the monitor may destroy
// the host (and with it the dialog) before the module is unloaded.
//
// Redraw requests: the model posts (item, parts) on every change, a running
// timer on every tick. Each item keeps one pending mask (the parts OR
// together, items in the order of their first post) and the dialog one
// pending flush event. The flush is a Qt event, so during a run it arrives
// when the run's pump lets the toolkit run (a few hundred times a second at
// most), outside a run from the program's event loop; it then hands each
// item to the dialog procedure as WM_USER, wParam = item, lParam = mask. A
// box therefore draws the state at the time of drawing, and the queue never
// grows with the number of posts.
#include <platform/dialog.h>
#include <platform/redraw_recorder.h>
#include <platform/window.h>

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <cstdint>

namespace simcore {

// The pending redraw items of one dialog, and the flush that draws them.
class RedrawQueue {
 public:
  static constexpr int kItems = 64;  // items 0..63; others go through the message queue

  // Notes the parts; true when a flush must be posted (none pending yet).
  bool add(int item, intptr_t parts) {
    const uint64_t bit = uint64_t{1} << item;
    if ((pending_ & bit) == 0) {
      pending_ |= bit;
      masks_[item] = 0;
      order_[count_++] = static_cast<uint8_t>(item);
    }
    masks_[item] |= parts;
    const bool first = !flushPosted_;
    flushPosted_ = true;
    return first;
  }

  // Hands every pending item, in first-post order, to `draw(item, mask)`.
  // Items posted while drawing wait for the next flush.
  template <class Draw>
  void flush(Draw&& draw) {
    uint8_t order[kItems];
    intptr_t masks[kItems];
    const int n = count_;
    for (int i = 0; i < n; ++i) {
      order[i] = order_[i];
      masks[i] = masks_[order_[i]];
    }
    clear();
    for (int i = 0; i < n; ++i) draw(order[i], masks[i]);
  }

  void clear() {
    pending_ = 0;
    count_ = 0;
    flushPosted_ = false;
  }
  int pendingItems() const { return count_; }

 private:
  uint64_t pending_ = 0;
  intptr_t masks_[kItems] = {};
  uint8_t order_[kItems] = {};
  int count_ = 0;
  bool flushPosted_ = false;
};

namespace detail {

// Receives the flush event; a child of the dialog, so it dies with it and
// its pending event with it.
class RedrawFlusher : public QObject {
 public:
  static constexpr QEvent::Type kFlush = static_cast<QEvent::Type>(QEvent::User + 0x42);
  RedrawFlusher(QWidget* dialog, RedrawQueue* queue) : QObject(dialog), dialog_(dialog), queue_(queue) {}

  void request() { QCoreApplication::postEvent(this, new QEvent(kFlush)); }

 protected:
  bool event(QEvent* e) override {
    if (e->type() != kFlush) return QObject::event(e);
    platform::WindowHandle dialog = dialog_;
    queue_->flush([dialog](int item, intptr_t parts) {
      platform::SendMessage(dialog, platform::WM_USER, static_cast<uintptr_t>(item), parts);
    });
    return true;
  }

 private:
  QWidget* dialog_;
  RedrawQueue* queue_;
};

}  // namespace detail

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
    redraws_.clear();
    flusher_ = new detail::RedrawFlusher(dialog_.data(), &redraws_);
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
    flusher_ = nullptr;
    redraws_.clear();
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

  // A redraw request of the model: WM_USER, wParam = item, lParam = the parts,
  // coalesced as told above. No dialog (before InitInterface, or after the
  // host took it away): nothing. A test's recorder sees every post.
  void post(int item, intptr_t parts) {
    if (*recorder_) [[unlikely]]
      (*recorder_)(item, parts);
    if (flusher_.isNull()) return;
    if (static_cast<unsigned>(item) >= RedrawQueue::kItems) {
      platform::PostCoalescedMessage(dialog_.data(), platform::WM_USER, static_cast<uintptr_t>(item), parts);
      return;
    }
    if (redraws_.add(item, parts)) flusher_->request();
  }

  // Redraw items waiting for the flush (tests).
  int pendingRedraws() const { return flusher_.isNull() ? 0 : redraws_.pendingItems(); }

  // Set while a pin click samples a port into the register file.
  int32_t busy = 0;

 private:
  QPointer<QWidget> host_;
  QPointer<QWidget> dialog_;
  QPointer<detail::RedrawFlusher> flusher_;
  RedrawQueue redraws_;
  const platform::RedrawRecorder* recorder_ = &platform::ActiveRedrawRecorder();
  bool creating_ = false;
};

}  // namespace simcore
