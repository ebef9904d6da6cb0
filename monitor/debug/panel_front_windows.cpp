// The windows in front of the panel among the main window's children: a
// press that activates the panel raises it over them, and the Load button
// brings back in front those that stood there before its press.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <algorithm>

#include "debug/iceview.h"

namespace monitor {

IceView::Windows IceView::WindowsInFront() const {
  QMdiSubWindow* own = SubWindow();
  if (own == nullptr || own->mdiArea() == nullptr) return {};
  const QList<QMdiSubWindow*> order = own->mdiArea()->subWindowList(QMdiArea::StackingOrder);
  Windows front;
  for (qsizetype i = order.indexOf(own) + 1; i < order.size(); ++i) {
    if (order[i]->isVisible()) front.emplace_back(order[i]);
  }
  return front;
}

IceView::Windows IceView::WindowsInFrontBeforePress() const {
  return frontAtActivation_ ? *frontAtActivation_ : WindowsInFront();
}

void IceView::BringBackInFront(const Windows& front) const {
  const Windows now = WindowsInFront();
  const auto wentBehind = [&now](const QPointer<QMdiSubWindow>& window) {
    return window != nullptr && window->isVisible() && std::ranges::find(now, window) == now.end();
  };
  if (!std::ranges::any_of(front, wentBehind)) return;
  for (const QPointer<QMdiSubWindow>& window : front) {
    if (window != nullptr) window->raise();
  }
}

void IceView::TrackActivation() {
  QMdiSubWindow* own = SubWindow();
  if (own == nullptr) return;
  // Emitted before the area raises the panel; the note lasts until the
  // event loop runs again.
  connect(own, &QMdiSubWindow::aboutToActivate, this, [this] {
    frontAtActivation_ = WindowsInFront();
    QTimer::singleShot(0, this, [this] { frontAtActivation_.reset(); });
  });
}

}  // namespace monitor
