#include "platform/scroll_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "platform/document.h"

namespace platform {

ScrollView::ScrollView(Document& document, QWidget* parent) : QAbstractScrollArea(parent), document_(document) {
  document_.AddView(this);
  viewport()->setAutoFillBackground(false);
}

ScrollView::~ScrollView() { document_.RemoveView(this); }

void ScrollView::SetScrollSizes(QSize total) {
  if (total == total_) return;
  total_ = total;
  updateBars();
}

QPoint ScrollView::ScrollPosition() const {
  return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void ScrollView::InvalidateRect(const QRect& documentRect) {
  viewport()->update(documentRect.translated(-ScrollPosition()).adjusted(-1, -1, 1, 1));
}

void ScrollView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), Qt::white);
  painter.setClipRect(event->rect());
  painter.translate(-ScrollPosition());
  OnDraw(painter);
}

void ScrollView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  updateBars();
}

void ScrollView::scrollContentsBy(int, int) { viewport()->update(); }

void ScrollView::updateBars() {
  const QSize page = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, total_.width() - page.width()));
  horizontalScrollBar()->setPageStep(page.width());
  verticalScrollBar()->setRange(0, std::max(0, total_.height() - page.height()));
  verticalScrollBar()->setPageStep(page.height());
}

}  // namespace platform
