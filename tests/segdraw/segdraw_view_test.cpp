// The view driven by real mouse and key events: hit test margins, drags,
// keys, zoom, the clipboard of one segment record, and what it draws.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "segdraw_fixture.h"

namespace segdrawtest {
namespace {

using R = lcddef::SegmentRecord;

// A segment at (left, top) of 20 x 20 units.
int Place(CSegdrawDoc& doc, int left, int top) {
  const int i = doc.AddSegment();
  doc.SetLeft(i, left);
  doc.SetTop(i, top);
  doc.SetWidth(i, 20);
  doc.SetHeight(i, 20);
  return i;
}

TEST_F(SegdrawTest, MouseSelectsWithAOneUnitMarginAndDragsDisplayOrSegment) {
  const int s = Place(doc(), 20, 20);  // 20..40
  const int edge = Place(doc(), 0, 60);  // at the display's edge
  for (int zoomIns : {0, 8}) {  // zoom 1, then about 2.14
    SCOPED_TRACE(zoomIns);
    for (int i = 0; i < zoomIns; ++i) view().OnViewZoomIn();
    for (QPoint q : {QPoint(41, 30), QPoint(19, 30), QPoint(30, 19), QPoint(30, 41), QPoint(41, 41)}) {
      press(q);
      release(q);
      EXPECT_EQ(view().Selection(), s) << q.x() << "," << q.y();
    }
    for (QPoint q : {QPoint(42, 30), QPoint(18, 30), QPoint(30, 42)}) {
      press(q);
      release(q);
      EXPECT_EQ(view().Selection(), -1) << q.x() << "," << q.y();
    }
    press(QPoint(0, 60));
    release(QPoint(0, 60));
    EXPECT_EQ(view().Selection(), edge);
    view().OnViewZoom11();
  }
  EXPECT_FALSE(doc().IsModified());

  // A drag on an empty spot moves the display; the segments stay relative to it.
  press(QPoint(100, 5));
  moveTo(QPoint(103, 9));
  release(QPoint(103, 9));
  EXPECT_EQ(doc().GetDisplayX(), 13);
  EXPECT_EQ(doc().GetDisplayY(), 14);
  EXPECT_EQ(doc().GetLeft(s), 20);
  EXPECT_TRUE(doc().IsModified());
  // A drag from a segment moves it and keeps its size.
  press(QPoint(25, 25));
  moveTo(QPoint(30, 22));
  moveTo(QPoint(31, 21));
  release(QPoint(31, 21));
  EXPECT_EQ(view().Selection(), s);
  EXPECT_EQ(doc().GetLeft(s), 26);
  EXPECT_EQ(doc().GetTop(s), 16);
  EXPECT_EQ(doc().GetWidth(s), 20);  // the size is kept
}

TEST_F(SegdrawTest, KeysZoomAndTheClipboard) {
  const int a = Place(doc(), 5, 6);
  doc().SetAddress(a, 7);
  doc().SetBit(a, 4);
  doc().SetModifiedFlag(false);
  // Arrows without a selection move and size the display.
  key(Qt::Key_Right);
  key(Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(doc().GetDisplayX(), 11);
  EXPECT_EQ(doc().GetDisplayHeight(), 101);
  EXPECT_TRUE(doc().IsModified());
  // Tab walks the segments and back to none; arrows then act on the segment.
  key(Qt::Key_Tab);
  EXPECT_EQ(view().Selection(), a);
  key(Qt::Key_Left);
  key(Qt::Key_Up);
  key(Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(doc().GetLeft(a), 4);
  EXPECT_EQ(doc().GetTop(a), 5);
  EXPECT_EQ(doc().GetWidth(a), 21);
  EXPECT_TRUE(frame().Command(platform::kEditCopy)->isEnabled());

  // Copy, then Paste twice: two copies at the display's corner, same size,
  // address and bit; Paste marks the document modified.
  frame().Run(platform::kEditCopy);
  EXPECT_TRUE(frame().Command(platform::kEditPaste)->isEnabled());
  doc().SetModifiedFlag(false);
  frame().Run(platform::kEditPaste);
  EXPECT_TRUE(doc().IsModified());
  EXPECT_TRUE(frame().Command(platform::kFileSave)->isEnabled());
  frame().Run(platform::kEditPaste);
  ASSERT_EQ(doc().GetSegmentCount(), 3);
  EXPECT_EQ(view().Selection(), 2);
  for (int i : {1, 2}) {
    EXPECT_EQ(doc().GetLeft(i), 0);
    EXPECT_EQ(doc().GetTop(i), 0);
    EXPECT_EQ(doc().GetWidth(i), 21);
    EXPECT_EQ(doc().GetAddress(i), 7);
    EXPECT_EQ(doc().GetBit(i), 4);
  }
  // The clipboard's record itself is unchanged: 112 bytes, left 4.
  const QByteArray block =
      QGuiApplication::clipboard()->mimeData()->data("application/x-tavix-LCDSEGMENTDEF");
  ASSERT_EQ(block.size(), 112);
  EXPECT_EQ(block[6], 4);
  // Tab after the last selects none; Delete then does nothing; Cut removes.
  key(Qt::Key_Tab);
  EXPECT_EQ(view().Selection(), -1);
  EXPECT_FALSE(frame().Command(platform::kEditCut)->isEnabled());
  key(Qt::Key_Delete);
  EXPECT_EQ(doc().GetSegmentCount(), 3);
  key(Qt::Key_Tab);
  frame().Run(platform::kEditCut);
  EXPECT_EQ(doc().GetSegmentCount(), 2);
  EXPECT_EQ(view().Selection(), 0);
  key(Qt::Key_Delete);
  EXPECT_EQ(view().Selection(), 0);
  EXPECT_EQ(doc().GetSegmentCount(), 1);

  // With 160 segments Paste adds nothing and selects none; Insert the same.
  while (doc().GetSegmentCount() < 160) doc().AddSegment();
  frame().Run(platform::kEditPaste);
  EXPECT_EQ(doc().GetSegmentCount(), 160);
  EXPECT_EQ(view().Selection(), -1);
  key(Qt::Key_Insert);
  EXPECT_EQ(doc().GetSegmentCount(), 160);
  EXPECT_EQ(view().Selection(), -1);

  // Zoom: ten steps in from 1.0; the clamps at 30 and 1.
  for (int i = 0; i < 10; ++i) frame().Run(32774);
  EXPECT_NEAR(view().Zoom(), 2.5937f, 1e-4);
  for (int i = 0; i < 40; ++i) frame().Run(32774);
  EXPECT_EQ(view().Zoom(), 30.0f);
  frame().Run(32776);
  frame().Run(32774);
  frame().Run(32775);  // 1.1 - 0.11 = 0.99: clamped
  EXPECT_EQ(view().Zoom(), 1.0f);
}

TEST_F(SegdrawTest, OverlappingBitmapsCombineByAndAndTheSelectionIsGreen) {
  // Two 2 x 2 black/white bitmaps: the left column black, the top row black.
  folder.write("left.bmp", BlackWhite(2, 2, [](int x, int) { return x == 0; }));
  folder.write("top.bmp", BlackWhite(2, 2, [](int, int y) { return y == 0; }));
  doc().SetDocumentFolder(folder.path());
  doc().AddBitmap("left.bmp");
  doc().AddBitmap("top.bmp");
  const int a = Place(doc(), 10, 10), b = Place(doc(), 10, 10), plain = Place(doc(), 50, 10);
  doc().SetBitmapIndex(a, 0);
  doc().SetBitmapIndex(b, 1);
  for (int i = 0; i < 8; ++i) view().OnViewZoomIn();  // 2.14: each bitmap pixel covers several
  QImage image = render();
  const QRect r = view().SegmentRect(a);
  EXPECT_EQ(r, view().SegmentRect(b));
  const auto quarter = [&](int qx, int qy) { return image.pixel(r.x() + r.width() * qx / 4, r.y() + r.height() * qy / 4); };
  EXPECT_EQ(quarter(1, 1), qRgb(0, 0, 0));        // black in both
  EXPECT_EQ(quarter(1, 3), qRgb(0, 0, 0));        // left column only
  EXPECT_EQ(quarter(3, 1), qRgb(0, 0, 0));        // top row only
  EXPECT_EQ(quarter(3, 3), qRgb(255, 255, 255));  // white in both
  const QPoint plainEdge = view().SegmentRect(plain).topLeft() + QPoint(0, 5);
  const QPoint displayEdge(static_cast<int>(10 * view().Zoom()), plainEdge.y());
  EXPECT_EQ(image.pixel(plainEdge), qRgb(0, 0, 0));          // no bitmap: framed black
  EXPECT_EQ(image.pixel(displayEdge), qRgb(255, 0, 0));      // nothing selected: red
  EXPECT_EQ(image.pixel(plainEdge - QPoint(1, 0)), qRgb(255, 255, 255));
  view().SelectSegment(plain);
  image = render();
  EXPECT_EQ(image.pixel(plainEdge), qRgb(0, 255, 0));
  EXPECT_EQ(image.pixel(displayEdge), qRgb(0, 0, 0));
}

}  // namespace
}  // namespace segdrawtest
