#include "program_fixture.h"

#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "platform/filenames.h"
#include "platform/grid_control.h"
#include "temp_dir.h"

extern char** environ;

namespace paneltest {

const char* const kCountingFixture =
    "; Counting fixture\r\n"
    "START:  LDI 5\r\n"
    "        STA 10H\r\n"
    "LOOP:   INC 11H\r\n"
    "        STA 11H\r\n"
    "        JPNZ LOOP\r\n"
    "        INC 12H\r\n"
    "        STA 12H\r\n"
    "        JPNZ LOOP\r\n"
    "DONE:   JMP DONE\r\n";

const char* const kLoadFixture =
    "; Load fixture\r\n"
    "START:\r\n"
    "FIRST:\r\n"
    "        LDI 3           ; note: MACRO in a remark\r\n"
    "BUMP    MACRO R\r\n"
    "        INC R\r\n"
    "        ENDM\r\n"
    "LOOP:   STA 10H\r\n"
    "        BUMP 10H\r\n"
    "        JMP NEXT\r\n"
    "        ORG 10H\r\n"
    "NEXT:   LDI 15\r\n"
    "DONE:   JMP DONE\r\n"
    "        DW 1, 2, 3\r\n"
    "        DD 12345678H\r\n";

std::vector<uint16_t> Assemble(const std::string& source) {
  testsupport::TempDir work;
  return AssembleIn(work.path(), source);
}

std::vector<uint16_t> AssembleIn(const std::string& folder, const std::string& source) {
  testsupport::WriteFile(folder + "FIXTURE.ASM", source);
  const std::string exe = std::string(TAVIX_DIST_DIR) + "K42xxasm";
  std::vector<std::string> args{exe, "/D/SFIXTURE"};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = -1;
  if (spawned == 0) waitpid(pid, &status, 0);
  EXPECT_EQ(status, 0) << "assembler failed";
  const std::string image = testsupport::ReadFile(platform::FindOrKeepPath(folder + "FIXTURE.BIN"));
  std::vector<uint16_t> words;
  for (size_t i = 0; i + 1 < image.size(); i += 2) {
    words.push_back(static_cast<uint16_t>(static_cast<uint8_t>(image[i]) << 8 |
                                          static_cast<uint8_t>(image[i + 1])));
  }
  return words;
}

QPoint CellCentre(const platform::GridControl& grid, int row, int col) {
  return grid.visualRect(grid.model()->index(row - 1, col)).center();
}

void DoubleClickAt(QWidget* widget, const QPoint& at) {
  QTest::mouseClick(widget, Qt::LeftButton, {}, at);
  QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
  QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

void DoubleClickCell(platform::GridControl& grid, int row, int col) {
  DoubleClickAt(grid.viewport(), CellCentre(grid, row, col));
}

void DragCells(platform::GridControl& grid, int col, int fromRow, int toRow,
               Qt::KeyboardModifiers keys) {
  QWidget* view = grid.viewport();
  const QPoint to = CellCentre(grid, toRow, col);
  QTest::mousePress(view, Qt::LeftButton, keys, CellCentre(grid, fromRow, col));
  QMouseEvent move(QEvent::MouseMove, to, view->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                   keys);
  QApplication::sendEvent(view, &move);
  QTest::mouseRelease(view, Qt::LeftButton, keys, to);
}

}  // namespace paneltest
