#pragma once
// The end-to-end debugging scenario's shared pieces: the committed fixture
// program (fixture.asm) and its golden trace files, assembled by the real
// assembler into a project folder, and what a user's session sees of it.
#include <QtCore/qnamespace.h>

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

class QLineEdit;

namespace monitor {
class IceView;
class MonitorState;
class RAMWin;
class Tracewin;
class Watchwin;
}  // namespace monitor

namespace platform {
class GridControl;
}

namespace scenario {

// The fixture's addresses and registers (see fixture.asm): the loop from
// LOOP to its JPNZ, the sum stored into SECOND, the breakpoint's label AFTER.
constexpr int kLoop = 0x4, kStoreSecond = 0x7, kLoopEnd = 0xA, kAfter = 0xB, kDone = 0xD;
constexpr int kWords = 14;
constexpr int kCounter = 0x10, kSecond = 0x11, kResult = 0x12;
// The records a run to AFTER traces: three passes of the seven loop rows.
constexpr int kTracedRecords = 21;

// The committed fixture source and a golden file of the scenario's folder.
std::string FixtureSource();
std::string Golden(const std::string& name);

// Assembles the fixture as FIXTURE.ASM in `folder` (trailing "/") and sets
// the project values as the project would: controller QV4128, the source.
std::vector<uint16_t> BuildProject(monitor::MonitorState& state, const std::string& folder);

// The panel's Load button clicked, the file dialog answering `image`.
void LoadCode(monitor::IceView& panel, const std::string& image);

// The texts of a grid's column from row 1 to its last row.
std::vector<std::string> Column(const platform::GridControl& grid, int col);
// One row of a grid, its first `cols` cells joined by "|".
std::string Row(const platform::GridControl& grid, int row, int cols);
// The row of the program grid whose address column holds `address`.
int CodeRow(int address);

// A double-click on a cell of one of the watch or RAM window's grids, the
// window brought forward first as the user's click would.
void DoubleClickIn(monitor::MonitorState& state, platform::GridControl& grid, int row, int col);
// The same below the last row of the grid.
void DoubleClickBelow(monitor::MonitorState& state, platform::GridControl& grid);
// Types into an open cell editor of the watch window and presses Return.
void TypeIntoEditor(QLineEdit* editor, const QString& text);

// The lines of a text whose lines end in CR LF, without their ends.
std::vector<std::string> Lines(const std::string& text);
// "" when the texts are equal; else the first line (from 1) that differs
// with both its versions, or the sizes when one text is a prefix of the other.
std::string FirstDifference(const std::string& actual, const std::string& expected);
// A press and release of `button` on row `row` of the trace window's page.
void ClickTraceRow(monitor::Tracewin& trace, int row, Qt::MouseButton button);
// File > Save of the trace window, the save dialog answering `path`.
void SaveTraceAs(monitor::Tracewin& trace, const std::string& path);

// Watch: the loop counter picked from the symbols and added below the last
// row, and the second register's address typed into the entry row.
void WatchCounterAndSecond(monitor::MonitorState& state, monitor::Watchwin& watch);

}  // namespace scenario
