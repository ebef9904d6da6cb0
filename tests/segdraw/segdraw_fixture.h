#pragma once
// SEGDRAW in the test process, offscreen: the application with its frame and
// view, a folder of its own for files and the registry, message boxes and
// file dialogs answered from a script, and segment bitmap files.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QTest>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <platform/hooks.h>
#include <platform/messagebox.h>

#include "segdraw_app.h"
#include "temp_dir.h"

namespace segdrawtest {

// A Windows bitmap: 40-byte header, the palette, rows bottom-up padded to 4
// bytes. `pixel(x, y)` gives the palette index (1 and 8 bits) or 0xRRGGBB.
std::string Bmp(int width, int height, int bits, const std::function<uint32_t(int x, int y)>& pixel);
// A black-and-white 1-bit bitmap whose pixel is black where `black(x, y)`.
std::string BlackWhite(int width, int height, const std::function<bool(int x, int y)>& black);

class SegdrawTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  CSegdrawDoc& doc() { return app->Document(); }
  CSegdrawView& view() { return app->View(); }
  CMainFrame& frame() { return app->Frame(); }

  // The boxes shown since the last take, as "title|text|style".
  std::vector<std::string> takeBoxes();
  // The next file dialog chooses `path` (an empty path cancels).
  void chooseFile(const std::string& path) { files.push_back(path); }

  // The view pixel whose document point is `q` (relative to the display).
  QPoint at(QPoint q);
  void press(QPoint q) { QTest::mousePress(view().viewport(), Qt::LeftButton, {}, at(q)); }
  void moveTo(QPoint q) { QTest::mouseMove(view().viewport(), at(q)); }
  void release(QPoint q) { QTest::mouseRelease(view().viewport(), Qt::LeftButton, {}, at(q)); }
  void key(int key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(&view(), static_cast<Qt::Key>(key), modifiers);
  }
  QImage render();

  testsupport::TempDir folder;
  std::unique_ptr<CSegdrawApp> app;
  std::vector<std::string> boxes;
  std::deque<int> answers;  // message box answers; the default button when empty
  std::deque<std::string> files;
  std::vector<std::string> dialogNames;  // each file dialog's starting name
  // The next modal dialogs, in turn; a dialog without a script is cancelled.
  std::deque<std::function<void(QWidget&)>> modals;
  std::string oldDir;
};

}  // namespace segdrawtest
