#pragma once
// The graphic view of the LCD definition: the display rectangle and the
// segments at a zoom, a selected segment, keys and mouse to move and size the
// display or the selection, and the clipboard of one segment record.
#include <QImage>
#include <QPoint>
#include <functional>
#include <map>
#include <tuple>

#include <platform/clipboard_format.h>
#include <platform/scroll_view.h>

#include "segdraw_doc.h"

class CSegdrawView : public platform::ScrollView {
 public:
  explicit CSegdrawView(CSegdrawDoc& document, QWidget* parent = nullptr);

  CSegdrawDoc& GetDocument() const { return doc_; }

  void OnInitialUpdate() override;
  void OnDraw(QPainter& painter) override;

  float Zoom() const { return zoom_; }
  int Selection() const { return selected_; }
  // Selects segment `i` (-1 none), redrawing the old and the new one.
  void SelectSegment(int i);
  // The segment's rectangle in view coordinates at the current zoom.
  QRect SegmentRect(int i) const;

  // Commands.
  void OnViewZoomIn();
  void OnViewZoomOut();
  void OnViewZoom11();
  void OnEditCopy();
  void OnEditCut();
  void OnEditPaste();
  bool CanCopy() const { return selected_ >= 0; }
  bool CanPaste() const { return format_.Available(); }
  // File Open from the view: the mouse move that follows the dialog does not drag.
  void OnFileOpen();

  // The dialogs: the display rectangle, the segments, the allocation.
  void OnParamGeneral();
  void OnParamSegments();
  void OnParamAllocation();

  // What the view calls that the program provides: its File Open, and a
  // change of what the commands may do.
  struct Hooks {
    std::function<void()> fileOpen, changed;
  };
  void SetHooks(Hooks hooks) { hooks_ = std::move(hooks); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool focusNextPrevChild(bool) override { return false; }  // Tab is the view's key

 private:
  QRect displayRect() const;
  QPoint documentPoint(QPoint viewportPoint) const;
  int hitTest(QPoint q) const;
  void arrow(int dx, int dy, bool size);
  void changed();
  const QImage& scaled(const QImage& image, QSize size);

  CSegdrawDoc& doc_;
  float zoom_ = 1.0f;
  int selected_ = -1;
  QPoint anchor_;
  int skipNextMove_ = 0;
  platform::ClipboardFormat format_{"LCDSEGMENTDEF"};
  std::map<std::tuple<qint64, int, int>, QImage> scaledImages_;  // per image and size
  Hooks hooks_;
};
