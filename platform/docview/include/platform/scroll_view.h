#pragma once
// A view of a document that draws in document coordinates on a scrolled
// area: the scroll size is the extent of the drawing, the scroll position its
// point shown at the top-left corner.
#include <QAbstractScrollArea>
#include <QPoint>
#include <QRect>
#include <QSize>

class QPainter;

namespace platform {

class Document;

class ScrollView : public QAbstractScrollArea {
 public:
  explicit ScrollView(Document& document, QWidget* parent = nullptr);
  ~ScrollView() override;

  Document& GetDocument() const { return document_; }

  void SetScrollSizes(QSize total);
  QSize ScrollSizes() const { return total_; }
  QPoint ScrollPosition() const;
  // A rectangle in document coordinates to be redrawn.
  void InvalidateRect(const QRect& documentRect);
  void Invalidate() { viewport()->update(); }

  // Draws the document; the painter works in document coordinates on a white ground.
  virtual void OnDraw(QPainter& painter) = 0;
  // Once, when the frame shows the view for a new or opened document.
  virtual void OnInitialUpdate() { Invalidate(); }
  // The document changed.
  virtual void OnUpdate() { Invalidate(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void updateBars();

  Document& document_;
  QSize total_{100, 100};
};

}  // namespace platform
