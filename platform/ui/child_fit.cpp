#include "platform/child_fit.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>

namespace platform {

QSize LeastNormalSize(const QMdiSubWindow& window) {
  return window.minimumSizeHint().expandedTo(QSize(240, 160));
}

QRect FitInArea(const QRect& window, const QSize& area, const QSize& least) {
  const QSize size = window.size().boundedTo(area).expandedTo(least);
  const int left = std::clamp(window.left(), 0, std::max(0, area.width() - size.width()));
  const int top = std::clamp(window.top(), 0, std::max(0, area.height() - size.height()));
  return {QPoint(left, top), size};
}

QSize NormalChildSize(const QMdiSubWindow& window, const QSize& area) {
  return (area * 2 / 3).expandedTo(LeastNormalSize(window));
}

void KeepInArea(QMdiSubWindow& window) {
  QMdiArea* area = window.mdiArea();
  if (area == nullptr || !area->isVisible() || window.isMinimized() || window.isMaximized()) return;
  const QRect fitted =
      FitInArea(window.geometry(), area->viewport()->size(), LeastNormalSize(window));
  if (fitted != window.geometry()) window.setGeometry(fitted);
}

}  // namespace platform
