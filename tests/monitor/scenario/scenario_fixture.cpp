#include "scenario_fixture.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <QTextBlock>

#include "core/monitor_state.h"
#include "debug/iceview.h"
#include "debug/ramwin.h"
#include "debug/tracewin.h"
#include "debug/watchwin.h"
#include "platform/controls.h"
#include "platform/grid_control.h"
#include "platform/hooks.h"
#include "program_fixture.h"
#include "temp_dir.h"

namespace scenario {

namespace {

const std::string kFolder = std::string(TAVIX_SOURCE_DIR) + "tests/monitor/scenario/";

}  // namespace

std::string FixtureSource() {
  return testsupport::ReadFile(kFolder + "fixture.asm");
}

std::string Golden(const std::string& name) {
  return testsupport::ReadFile(kFolder + "golden/" + name);
}

std::vector<uint16_t> BuildProject(monitor::MonitorState& state, const std::string& folder) {
  std::vector<uint16_t> image = paneltest::AssembleIn(folder, FixtureSource());
  state.ControllerName = "QV4128";
  state.SourceFile = folder + "FIXTURE.ASM";
  return image;
}

void LoadCode(monitor::IceView& panel, const std::string& image) {
  platform::SetDialogHook([&](platform::CommonDialog& dialog, platform::CommonDialog::Action) {
    dialog.FileName = image;
    return true;
  });
  QTest::mouseClick(panel.Loadcodeimg, Qt::LeftButton);
  platform::SetDialogHook({});
}

std::vector<std::string> Column(const platform::GridControl& grid, int col) {
  std::vector<std::string> texts;
  for (int row = 1; row < grid.Rows(); ++row)
    texts.push_back(grid.TextMatrix(row, col).toStdString());
  return texts;
}

std::string Row(const platform::GridControl& grid, int row, int cols) {
  QStringList cells;
  for (int col = 0; col < cols; ++col) cells << grid.TextMatrix(row, col);
  return cells.join('|').toStdString();
}

int CodeRow(int address) {
  return address + 1;  // the fixture's listing has one row per word from 0
}

namespace {

void Front(monitor::MonitorState& state, platform::GridControl& grid) {
  for (const char* name : {"Watchwin", "RAMWin", "IceView"}) {
    platform::Form* form = state.Forms.Get(name);
    if (form != nullptr && form->isAncestorOf(&grid)) state.Forms.Show(form);
  }
}

}  // namespace

void DoubleClickIn(monitor::MonitorState& state, platform::GridControl& grid, int row, int col) {
  Front(state, grid);
  paneltest::DoubleClickCell(grid, row, col);
}

void DoubleClickBelow(monitor::MonitorState& state, platform::GridControl& grid) {
  Front(state, grid);
  const QRect last = grid.visualRect(grid.model()->index(grid.Rows() - 2, 0));
  paneltest::DoubleClickAt(grid.viewport(), QPoint(last.center().x(), last.bottom() + 30));
}

void TypeIntoEditor(QLineEdit* editor, const QString& text) {
  ASSERT_TRUE(editor->isVisible());
  editor->selectAll();
  QTest::keyClicks(editor, text);
  QTest::keyClick(editor, Qt::Key_Return);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back(text.substr(at));
      break;
    }
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

std::string FirstDifference(const std::string& actual, const std::string& expected) {
  if (actual == expected) return "";
  const std::vector<std::string> a = Lines(actual), e = Lines(expected);
  for (size_t i = 0; i < a.size() && i < e.size(); ++i) {
    if (a[i] != e[i])
      return "line " + std::to_string(i + 1) + ": \"" + a[i] + "\" not \"" + e[i] + "\"";
  }
  return std::to_string(actual.size()) + " bytes, not " + std::to_string(expected.size());
}

void ClickTraceRow(monitor::Tracewin& trace, int row, Qt::MouseButton button) {
  monitor::TraceTextBox* box = trace.Traceout;
  QTextCursor cursor(box->document()->findBlockByNumber(row));
  cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 2);
  const QPoint at = box->cursorRect(cursor).center();
  QTest::mousePress(box->viewport(), button, {}, at);
  QTest::mouseRelease(box->viewport(), button, {}, at);
}

void SaveTraceAs(monitor::Tracewin& trace, const std::string& path) {
  platform::SetDialogHook([&](platform::CommonDialog& dialog, platform::CommonDialog::Action) {
    dialog.FileName = path;
    return true;
  });
  trace.Menus().Item("mnuFSave")->trigger();
  platform::SetDialogHook({});
}

void WatchCounterAndSecond(monitor::MonitorState& state, monitor::Watchwin& watch) {
  using monitor::Watchwin;
  DoubleClickIn(state, *watch.grdSymbols, 1, 0);
  DoubleClickBelow(state, *watch.grdData);
  const int entry = watch.grdData->Rows() - 1;
  DoubleClickIn(state, *watch.grdData, entry, Watchwin::kAddr);
  TypeIntoEditor(watch.Text2, "11");
}

}  // namespace scenario
