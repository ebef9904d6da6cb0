#pragma once
// Programs from the real assembler and the mouse on the program grid, for the
// panel's tests in simulation and on the emulator alike.
#include <QPoint>
#include <QtCore/qnamespace.h>
#include <cstdint>
#include <string>
#include <vector>

class QWidget;

namespace platform {
class GridControl;
}

namespace paneltest {

// A program with labels on lines of their own, a macro, remarks holding ":"
// and "MACRO", an ORG gap, LDI words (F8xx), a DW list and a DD value. Its
// listing rows give the addresses 0-3, 10-12 and 15.
extern const char* const kLoadFixture;

// Stores 5 to 10H, counts 11H through 16 values for each of the 16 values of
// 12H, then stays at DONE (address kCountingDone), where a breakpoint goes.
extern const char* const kCountingFixture;
inline constexpr int kCountingDone = 8;

// The code image of an assembled source: 16-bit words, high byte first.
std::vector<uint16_t> Assemble(const std::string& source);
// The same, assembled as FIXTURE.ASM in `folder` (an existing folder with a
// trailing "/"), where the listing, symbol file and image stay.
std::vector<uint16_t> AssembleIn(const std::string& folder, const std::string& source);

// The centre of a cell of the grid's viewport (rows from 1, the header is 0).
QPoint CellCentre(const platform::GridControl& grid, int row, int col);
// A double-click at a point of a widget, as the user gives it.
void DoubleClickAt(QWidget* widget, const QPoint& at);
// The same on a cell.
void DoubleClickCell(platform::GridControl& grid, int row, int col);
// A press on `fromRow` dragged to `toRow` in column `col`, then released.
void DragCells(platform::GridControl& grid, int col, int fromRow, int toRow,
               Qt::KeyboardModifiers keys = {});

}  // namespace paneltest
