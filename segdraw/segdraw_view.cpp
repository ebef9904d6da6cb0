#include "segdraw_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "gen_param_dlg.h"
#include "seg_alloc_dlg.h"
#include "seg_edit_dlg.h"

namespace {

constexpr float kZoomStep = 0.1f;
constexpr float kZoomMax = 30.0f;
constexpr float kZoomMin = 1.0f;

// A drawing coordinate: the product truncated, kept to 16 bits.
int Scale(int units, float zoom) { return static_cast<int16_t>(static_cast<int>(static_cast<float>(units) * zoom)); }

// A one-pixel frame inside `r`.
void Frame(QPainter& painter, const QRect& r, const QColor& color) {
  painter.setPen(QPen(color, 0));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(r.adjusted(0, 0, -1, -1));
}

}  // namespace

CSegdrawView::CSegdrawView(CSegdrawDoc& document, QWidget* parent) : ScrollView(document, parent), doc_(document) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(false);
}

void CSegdrawView::OnInitialUpdate() {
  selected_ = -1;
  SetScrollSizes({100, 100});
  Invalidate();
  changed();
}

QRect CSegdrawView::displayRect() const {
  const int x = doc_.GetDisplayX(), y = doc_.GetDisplayY();
  const int left = Scale(x, zoom_), top = Scale(y, zoom_);
  return QRect(left, top, Scale(x + doc_.GetDisplayWidth(), zoom_) - left,
               Scale(y + doc_.GetDisplayHeight(), zoom_) - top);
}

QRect CSegdrawView::SegmentRect(int i) const {
  CSegdrawDoc::Record r;
  if (!doc_.GetSegmentRecord(i, r)) return {};
  const QPoint origin(Scale(doc_.GetDisplayX(), zoom_), Scale(doc_.GetDisplayY(), zoom_));
  const auto at = [&](int x, int y) {
    return QPoint(static_cast<int16_t>(origin.x() + Scale(x, zoom_)), static_cast<int16_t>(origin.y() + Scale(y, zoom_)));
  };
  // Right and bottom are exclusive, as the frame and the bitmap use them.
  const QPoint topLeft = at(r.left(), r.top()), bottomRight = at(r.right(), r.bottom());
  return QRect(topLeft.x(), topLeft.y(), bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y());
}

const QImage& CSegdrawView::scaled(const QImage& image, QSize size) {
  if (scaledImages_.size() > 1024) scaledImages_.clear();
  QImage& cached = scaledImages_[{image.cacheKey(), size.width(), size.height()}];
  if (cached.isNull()) cached = image.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  return cached;
}

void CSegdrawView::OnDraw(QPainter& painter) {
  const QRect display = displayRect();
  SetScrollSizes({display.x() + display.width(), display.y() + display.height()});
  Frame(painter, display, selected_ < 0 ? QColor(255, 0, 0) : Qt::black);
  for (int i = 0; i < doc_.GetSegmentCount(); ++i) {
    const QRect r = SegmentRect(i);
    const uint16_t bitmap = doc_.GetBitmapIndex(i);
    const bool drawn = bitmap < doc_.GetBitmapCount() && !doc_.BitmapImage(bitmap).isNull();
    if (drawn && r.width() > 0 && r.height() > 0) {
      // Overlapping segment bitmaps combine: destination AND source.
      painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
      painter.drawImage(r.topLeft(), scaled(doc_.BitmapImage(bitmap), r.size()));
      painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    if (i == selected_)
      Frame(painter, r, QColor(0, 255, 0));
    else if (bitmap == lcddef::kNoBitmap)
      Frame(painter, r, Qt::black);
  }
}

void CSegdrawView::SelectSegment(int i) {
  InvalidateRect(SegmentRect(selected_));
  selected_ = i;
  InvalidateRect(SegmentRect(selected_));
  changed();
}

void CSegdrawView::changed() {
  if (hooks_.changed) hooks_.changed();
}

QPoint CSegdrawView::documentPoint(QPoint p) const {
  const QPoint scrolled = p + ScrollPosition();
  return QPoint(static_cast<int>(static_cast<float>(scrolled.x()) / zoom_) - doc_.GetDisplayX(),
                static_cast<int>(static_cast<float>(scrolled.y()) / zoom_) - doc_.GetDisplayY());
}

int CSegdrawView::hitTest(QPoint q) const {
  CSegdrawDoc::Record r;
  for (int i = 0; doc_.GetSegmentRecord(i, r); ++i)
    if (r.left() - 1 <= q.x() && q.x() <= r.right() + 1 && r.top() - 1 <= q.y() && q.y() <= r.bottom() + 1)
      return i;
  return -1;
}

void CSegdrawView::arrow(int dx, int dy, bool size) {
  if (selected_ < 0) {
    if (size) {
      doc_.SetDisplayWidth(doc_.GetDisplayWidth() + dx);
      doc_.SetDisplayHeight(doc_.GetDisplayHeight() + dy);
    } else {
      doc_.SetDisplayX(doc_.GetDisplayX() + dx);
      doc_.SetDisplayY(doc_.GetDisplayY() + dy);
    }
  } else if (size) {
    if (dx != 0) doc_.SetWidth(selected_, doc_.GetWidth(selected_) + dx);
    if (dy != 0) doc_.SetHeight(selected_, doc_.GetHeight(selected_) + dy);
  } else {
    if (dx != 0) doc_.SetLeft(selected_, static_cast<int16_t>(doc_.GetLeft(selected_)) + dx);
    if (dy != 0) doc_.SetTop(selected_, static_cast<int16_t>(doc_.GetTop(selected_)) + dy);
  }
}

void CSegdrawView::keyPressEvent(QKeyEvent* event) {
  const int n = std::max(1, event->count());
  const bool ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
  switch (event->key()) {
    case Qt::Key_Tab:
      if (selected_ < 0)
        selected_ = doc_.GetSegmentCount() > 0 ? 0 : -1;
      else
        selected_ = selected_ + 1 < doc_.GetSegmentCount() ? selected_ + 1 : -1;
      Invalidate();
      changed();
      break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
      const int dx = event->key() == Qt::Key_Left ? -n : event->key() == Qt::Key_Right ? n : 0;
      const int dy = event->key() == Qt::Key_Up ? -n : event->key() == Qt::Key_Down ? n : 0;
      arrow(dx, dy, ctrl);
      Invalidate();
      doc_.SetModifiedFlag();
      break;
    }
    case Qt::Key_Insert:
      selected_ = doc_.AddSegment();
      Invalidate();
      changed();
      OnParamSegments();
      doc_.SetModifiedFlag();
      break;
    case Qt::Key_Delete:
      if (selected_ >= 0) {
        selected_ = doc_.DeleteSegment(selected_);
        Invalidate();
        doc_.SetModifiedFlag();
        changed();
      }
      break;
    default:
      // Page keys and the like scroll as in any scrolled view.
      return ScrollView::keyPressEvent(event);
  }
  // The view's own keys go no further: neither scrolling nor a focus change.
  event->accept();
}

void CSegdrawView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return ScrollView::mousePressEvent(event);
  const QPoint q = documentPoint(event->position().toPoint());
  anchor_ = q;
  const int hit = hitTest(q);
  if (hit >= 0) {
    selected_ = hit;
    Invalidate();
    changed();
    return;
  }
  if (selected_ >= 0) {
    selected_ = -1;
    Invalidate();
    changed();
  }
  ScrollView::mousePressEvent(event);
}

void CSegdrawView::mouseMoveEvent(QMouseEvent* event) {
  if ((event->buttons() & Qt::LeftButton) != 0 && skipNextMove_ == 0) {
    const QPoint q = documentPoint(event->position().toPoint());
    if (q != anchor_) {
      doc_.SetModifiedFlag();
      const QPoint d = q - anchor_;
      if (selected_ < 0) {
        doc_.SetDisplayX(doc_.GetDisplayX() + d.x());
        doc_.SetDisplayY(doc_.GetDisplayY() + d.y());
      } else {
        doc_.SetLeft(selected_, static_cast<int16_t>(doc_.GetLeft(selected_)) + d.x());
        doc_.SetTop(selected_, static_cast<int16_t>(doc_.GetTop(selected_)) + d.y());
        anchor_ = q;
      }
      Invalidate();
    }
  }
  skipNextMove_ = 0;
}

void CSegdrawView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (selected_ < 0)
    OnParamGeneral();
  else
    OnParamSegments();
}

void CSegdrawView::OnViewZoomIn() {
  zoom_ = std::min(zoom_ + zoom_ * kZoomStep, kZoomMax);
  Invalidate();
}

void CSegdrawView::OnViewZoomOut() {
  zoom_ = std::max(zoom_ - zoom_ * kZoomStep, kZoomMin);
  Invalidate();
}

void CSegdrawView::OnViewZoom11() {
  zoom_ = 1.0f;
  Invalidate();
}

void CSegdrawView::OnEditCopy() {
  CSegdrawDoc::Record r;
  if (doc_.GetSegmentRecord(selected_, r)) format_.Set(r.bytes());
}

void CSegdrawView::OnEditCut() {
  if (selected_ < 0) return;
  OnEditCopy();
  selected_ = doc_.DeleteSegment(selected_);
  Invalidate();
  doc_.SetModifiedFlag();
  changed();
}

void CSegdrawView::OnEditPaste() {
  std::string block;
  CSegdrawDoc::Record r;
  if (!format_.Get(block) || !CSegdrawDoc::Record::FromBytes(block, r)) return;
  using R = CSegdrawDoc::Record;
  r[R::kRight] = static_cast<uint16_t>(r[R::kRight] - r[R::kLeft]);
  r[R::kLeft] = 0;
  r[R::kBottom] = static_cast<uint16_t>(r[R::kBottom] - r[R::kTop]);
  r[R::kTop] = 0;
  selected_ = doc_.AppendSegmentRecord(r);
  if (selected_ >= 0) doc_.SetModifiedFlag();
  Invalidate();
  changed();
}

void CSegdrawView::OnFileOpen() {
  skipNextMove_ = 1;
  if (hooks_.fileOpen) hooks_.fileOpen();
}

void CSegdrawView::OnParamGeneral() {
  CGenParamDlg dialog(this);
  dialog.m_left = doc_.GetDisplayX();
  dialog.m_top = doc_.GetDisplayY();
  dialog.m_width = doc_.GetDisplayWidth();
  dialog.m_height = doc_.GetDisplayHeight();
  if (!dialog.DoModal()) return;
  const QRect before = doc_.GetDisplayRect();
  doc_.SetDisplayRect(dialog.m_left, dialog.m_top, dialog.m_left + dialog.m_width, dialog.m_top + dialog.m_height);
  if (doc_.GetDisplayRect() != before) doc_.SetModifiedFlag();
}

void CSegdrawView::OnParamSegments() {
  CSegEditDlg dialog(doc_, *this, selected_, this);
  dialog.DoModal();
  Invalidate();
  changed();
}

void CSegdrawView::OnParamAllocation() {
  CSegAllocDlg dialog(doc_, *this, this);
  dialog.DoModal();
  Invalidate();
  changed();
}
