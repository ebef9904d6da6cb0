// The watch and RAM windows on the real panel and chip module (QV4128):
// editing by double-click and keys, the symbol list, the RAM fill and the
// windows' registry keys.
#include <QTest>

#include "core/code_grid.h"
#include "core/settings/mdl_registry.h"
#include "core/settings/registry_layout.h"
#include "debug/ramwin.h"
#include "debug/symbol_loader.h"
#include "debug/watchwin.h"
#include "emulator_attach.h"
#include "panel_fixture.h"
#include "platform/controls.h"
#include "platform/grid_control.h"
#include "platform/hooks.h"

namespace {

using namespace monitor;
using platform::GridControl;

// What the assembler writes for two register symbols, and a pick too high.
constexpr char kSymbols[] =
    "; symbol table\r\n"
    "              Value:Length  Line          Class\r\n"
    "COUNT         0012  4       010001        -Reg\r\n"
    "SECOND        0012  4       010002        -Reg\r\n"
    "TOOHIGH       0080  4       010003        -Reg\r\n"
    "INDEXHI       006F  4       010004        -Reg\r\n";

RegValue Value(const char* key, const char* name) {
  return RegGetSetting(platform::HKEY_CURRENT_USER, std::string(kTavixKey) + "\\" + key, name);
}

class WatchWindowsTest : public paneltest::PanelTest {
 protected:
  void SetUp() override {
    StartMonitor();
    ASSERT_NE(Virtual("QV4128"), nullptr);
    watch = dynamic_cast<Watchwin*>(state.Forms.Get("Watchwin"));
    ram = dynamic_cast<RAMWin*>(state.Forms.Get("RAMWin"));
    ASSERT_NE(watch, nullptr);
    ASSERT_NE(ram, nullptr);
    paneltest::AttachEmulator(state, ice);
  }
  void TearDown() override { paneltest::DetachEmulator(); }
  // The emulator's data cells read back since the last look.
  int ReadBacks() {
    int reads = 0;
    for (const paneltest::Block& read : paneltest::Received(ice, testdevices::IceEvent::kRead))
      reads += read.address == testdevices::SimulatedIce::kDataCells;
    ice.ClearTranscript();
    return reads;
  }

  // The clicks reach the window on top: the grid's own is brought forward,
  // the cell scrolled into view.
  void DoubleClick(GridControl* grid, int row, int col) {
    Front(grid);
    grid->scrollTo(grid->model()->index(row - 1, col));
    const QPoint at = grid->visualRect(grid->model()->index(row - 1, col)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
  }
  void DoubleClickBelow(GridControl* grid) {
    Front(grid);
    const QRect last = grid->visualRect(grid->model()->index(grid->Rows() - 2, 0));
    const QPoint below(last.center().x(), last.bottom() + 30);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, below);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, below);
  }
  void Front(GridControl* grid) {
    platform::Form* form = grid == ram->grdRAM ? static_cast<platform::Form*>(ram) : watch;
    if (state.Forms.Get(form->Name()) == form) state.Forms.Show(form);
  }
  // Types into the open editor and closes it with the key.
  void Type(QLineEdit* editor, const QString& text, Qt::Key close = Qt::Key_Return) {
    ASSERT_TRUE(editor->isVisible());
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, close);
  }
  QString Row(int row) const {
    QStringList cells;
    for (int col = 0; col < 8; ++col) cells << watch->grdData->TextMatrix(row, col);
    return cells.join('|');
  }
  int Cell(int address) const {
    return state.RegisterFile[static_cast<size_t>(address)].value & 15;
  }
  // A cell's condition: its flags, and the compare value above its value.
  std::pair<int32_t, int32_t> Condition(int address) const {
    const RegisterCell& cell = state.RegisterFile[static_cast<size_t>(address)];
    return {cell.flags, cell.value >> 4};
  }

  Watchwin* watch = nullptr;
  RAMWin* ram = nullptr;
  testdevices::SimulatedIce ice;
};

TEST_F(WatchWindowsTest, WatchRowsTakeAddressesValuesMarksAndConditions) {
  EXPECT_EQ(watch->Caption(), "Watch");
  EXPECT_EQ(Value("watch window", "").AsText(), "Default");
  EXPECT_TRUE(Value("watch window", "windowstate").IsNumber());
  EXPECT_EQ(Value("watch window", "fontsize").AsNumber(), 8);
  EXPECT_EQ(Value("watch window", "fontname").AsText(), "Courier New");
  EXPECT_EQ(watch->grdSymbols->BackColor(), 0x7FFFFF);
  GridControl* grid = watch->grdData;
  ASSERT_EQ(grid->Rows(), 2);

  // The entry row names no cell: Data, R, W, IO, Rel and Match do nothing.
  for (int col = Watchwin::kData; col <= Watchwin::kMatch; ++col) DoubleClick(grid, 1, col);
  EXPECT_EQ(watch->EditRow, 0);
  EXPECT_EQ(Row(1), "|||||||");
  EXPECT_EQ(ReadBacks(), 0);

  // Addresses: out of range dropped, "2a" names cell 0x2A and adds an entry row.
  DoubleClick(grid, 1, Watchwin::kAddr);
  Type(watch->Text2, "80");
  EXPECT_EQ(grid->Rows(), 2);
  DoubleClick(grid, 1, Watchwin::kAddr);
  Type(watch->Text2, "FFFF");
  DoubleClick(grid, 1, Watchwin::kAddr);
  Type(watch->Text2, "2a");
  EXPECT_EQ(grid->Rows(), 3);
  EXPECT_EQ(Row(1).left(16), "Addr2A|002A|0000");
  EXPECT_FALSE(watch->Text2->isVisible());

  // Values go through the chip; too large is dropped; Escape drops the edit.
  DoubleClick(grid, 1, Watchwin::kData);
  Type(watch->Text1, "1F");
  EXPECT_EQ(Cell(0x2A), 0);
  DoubleClick(grid, 1, Watchwin::kData);
  Type(watch->Text1, "9", Qt::Key_Escape);
  EXPECT_EQ(Cell(0x2A), 0);
  // A click elsewhere takes the focus and drops the edit.
  state.MainForm()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(state.MainForm()));
  DoubleClick(grid, 1, Watchwin::kData);
  ASSERT_TRUE(watch->Text1->hasFocus());
  QTest::keyClicks(watch->Text1, "7");
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                    grid->visualRect(grid->model()->index(0, Watchwin::kLabel)).center());
  EXPECT_FALSE(watch->Text1->isVisible());
  EXPECT_EQ(watch->EditRow, 0);
  EXPECT_EQ(Cell(0x2A), 0);
  DoubleClick(grid, 1, Watchwin::kData);
  Type(watch->Text1, "5");
  EXPECT_EQ(Cell(0x2A), 5);
  EXPECT_EQ(ram->grdRAM->TextMatrix(0x2B, RAMWin::kData), "0005");
  EXPECT_EQ(grid->TextMatrix(1, Watchwin::kData), "0005");

  // R on a fresh row: the mark and the condition "always".
  DoubleClick(grid, 1, Watchwin::kRead);
  EXPECT_EQ(Row(1), "Addr2A|002A|0005|X|||<>=|0000");
  EXPECT_EQ(Condition(0x2A), std::make_pair(8 | 7, 0));
  DoubleClick(grid, 1, Watchwin::kIo);
  DoubleClick(grid, 1, Watchwin::kRel);
  Type(watch->txtInput, "=<3");
  EXPECT_EQ(Row(1), "Addr2A|002A|0005|X||X|<=|0003");
  DoubleClick(grid, 1, Watchwin::kMatch);
  Type(watch->txtInput, "<<1", Qt::Key_Escape);
  EXPECT_EQ(Row(1), "Addr2A|002A|0005|X||X|<=|0003");
  EXPECT_EQ(Condition(0x2A), std::make_pair(8 | 32 | 6, 3));

  // 006F takes 0..7 only, and the index register follows.
  DoubleClick(grid, 2, Watchwin::kAddr);
  Type(watch->Text2, "6F");
  DoubleClick(grid, 2, Watchwin::kData);
  Type(watch->Text1, "9");
  EXPECT_EQ(grid->TextMatrix(2, Watchwin::kData), "0000");
  DoubleClick(grid, 2, Watchwin::kData);
  Type(watch->Text1, "7");
  EXPECT_EQ(Cell(0x6F), 7);
  EXPECT_EQ(ram->grdRAM->TextMatrix(0x70, RAMWin::kData), "0007");

  // Delete: the entry row stays, a watch row goes and its cell's flags clear.
  DoubleClick(grid, 3, Watchwin::kLabel);
  QTest::keyClick(grid, Qt::Key_Delete);
  EXPECT_EQ(grid->Rows(), 4);
  DoubleClick(grid, 1, Watchwin::kLabel);
  QTest::keyClick(grid, Qt::Key_Delete);
  EXPECT_EQ(grid->Rows(), 3);
  EXPECT_EQ(Row(1).left(16), "Addr6F|006F|0007");
  EXPECT_EQ(Row(2), "|||||||");
  EXPECT_EQ(Condition(0x2A).first, 0);

  // Picks: too high is not added and stays pending; pending blocks Addr and
  // Data; a Rel double-click takes "=" + value; below the last row adds it.
  testsupport::TempDir dir;
  dir.write("P.sym", kSymbols);
  LoadSymbolFile(state, dir.file("P.sym"));
  ASSERT_EQ(watch->grdSymbols->Rows(), 7);
  DoubleClick(watch->grdSymbols, 3, 0);
  DoubleClickBelow(grid);
  EXPECT_EQ(grid->Rows(), 3);
  EXPECT_EQ(watch->PendingLabel, "TOOHIGH");
  DoubleClick(grid, 1, Watchwin::kData);
  EXPECT_EQ(watch->EditRow, 0);
  DoubleClick(watch->grdSymbols, 1, 1);
  DoubleClick(grid, 1, Watchwin::kRel);
  EXPECT_EQ(Row(1), "Addr6F|006F|0007||||=|0002");
  DoubleClick(watch->grdSymbols, 2, 0);
  DoubleClickBelow(grid);
  EXPECT_EQ(grid->Rows(), 4);
  EXPECT_EQ(Row(2), "SECOND|0012|0000|||||");
  EXPECT_TRUE(watch->PendingLabel.isEmpty());
  EXPECT_EQ(Condition(0x6F).first & 7, 2);
  EXPECT_EQ(Condition(0x6F).second, 2);
}

TEST_F(WatchWindowsTest, RamWindowLabelsFromSymbolsAndWritesRowMinusOne) {
  EXPECT_EQ(ram->Caption(), "RAM");
  EXPECT_EQ(Value("ram window", "").AsText(), "Default");
  GridControl* grid = ram->grdRAM;
  ASSERT_EQ(grid->Rows(), 129);
  // The assembler's own symbol file: only its register symbols, in order
  // (a long name, a PUBLIC, an EXTERN and unused names are skipped).
  LoadSymbolFile(state, std::string(TAVIX_SOURCE_DIR) + "tests/tools/assembler/golden/demo.sym");
  ASSERT_EQ(watch->grdSymbols->Rows(), 5);
  EXPECT_EQ(watch->grdSymbols->TextMatrix(1, 0) + "=" + watch->grdSymbols->TextMatrix(1, 1) + " " +
                watch->grdSymbols->TextMatrix(2, 0) + "=" + watch->grdSymbols->TextMatrix(2, 1),
            "COUNT=0005 FLAG=0022");
  FillRamWindow(state);
  EXPECT_EQ(grid->TextMatrix(6, RAMWin::kLabel), "COUNT");
  EXPECT_EQ(grid->TextMatrix(0x23, RAMWin::kLabel), "FLAG");
  testsupport::TempDir dir;
  dir.write("P.sym", kSymbols);
  LoadSymbolFile(state, dir.file("P.sym"));
  FillRamWindow(state);
  EXPECT_EQ(grid->TextMatrix(0x13, RAMWin::kLabel), "COUNT");
  EXPECT_EQ(grid->TextMatrix(0x70, RAMWin::kLabel), "INDEXHI");
  EXPECT_EQ(grid->TextMatrix(1, RAMWin::kAddress), "0000");
  EXPECT_EQ(grid->TextMatrix(128, RAMWin::kAddress), "007F");

  // A second program without symbols, or without a symbol file, leaves none.
  dir.write("Q.sym", "              Value:Length\nONE           0005  4  010001  -Reg\n");
  LoadSymbolFile(state, dir.file("Q.sym"));
  EXPECT_EQ(watch->grdSymbols->Rows(), 4);
  EXPECT_EQ(watch->grdSymbols->TextMatrix(2, 0), "");
  LoadSymbolFile(state, dir.file("MISSING.sym"));
  EXPECT_EQ(watch->grdSymbols->Rows(), 3);
  EXPECT_EQ(watch->grdSymbols->TextMatrix(1, 0), "");
  FillRamWindow(state);
  EXPECT_EQ(grid->TextMatrix(0x13, RAMWin::kLabel), "");

  // 006F: "A" and "10" dropped, Escape writes nothing, "7" is written.
  DoubleClick(grid, 0x70, RAMWin::kData);
  Type(ram->RAMEditBox, "A");
  DoubleClick(grid, 0x70, RAMWin::kData);
  Type(ram->RAMEditBox, "10");
  DoubleClick(grid, 0x70, RAMWin::kData);
  Type(ram->RAMEditBox, "6", Qt::Key_Escape);
  EXPECT_EQ(Cell(0x6F), 0);
  DoubleClick(grid, 0x70, RAMWin::kData);
  Type(ram->RAMEditBox, "7");
  EXPECT_EQ(Cell(0x6F), 7);
  EXPECT_EQ(grid->TextMatrix(0x70, RAMWin::kData), "0007");
  EXPECT_EQ(state.LastEditKey, 0);

  // Reopened before a fill, a row still writes its own cell (row - 1).
  state.Forms.Unload("RAMWin");
  ram = dynamic_cast<RAMWin*>(state.Forms.Load("RAMWin"));
  ASSERT_NE(ram, nullptr);
  EXPECT_EQ(ram->grdRAM->TextMatrix(6, RAMWin::kAddress), "");
  const int cell0 = Cell(0);
  DoubleClick(ram->grdRAM, 6, RAMWin::kData);
  Type(ram->RAMEditBox, "3");
  EXPECT_EQ(Cell(5), 3);
  EXPECT_EQ(Cell(0), cell0);

  // The panel's unload closes both windows; a maximized window stores only
  // its state.
  state.Forms.Unload("IceView");
  EXPECT_EQ(state.Forms.Get("Watchwin"), nullptr);
  EXPECT_EQ(state.Forms.Get("RAMWin"), nullptr);
  EXPECT_EQ(Value("ram window", "windowstate").AsNumber(), 2);
  EXPECT_TRUE(Value("ram window", "height").IsEmpty());
  EXPECT_TRUE(Value("watch window", "windowstate").IsNumber());
}

// What goes over the link is checked against the simulated emulator
// (watch_emulator_test); here the monitor's own side of the same writes.
TEST_F(WatchWindowsTest, OnTheEmulatorCellWritesMoveTheIndexAndReadBack) {
  state.TargetState = 2;  // connected and idle
  state.Forms.Unload("Watchwin");
  watch = dynamic_cast<Watchwin*>(state.Forms.Load("Watchwin"));
  ASSERT_NE(watch, nullptr);
  EXPECT_EQ(state.DataLower, 0);
  EXPECT_EQ(state.DataUpper, 127);
  GridControl* grid = watch->grdData;
  DoubleClick(grid, 1, Watchwin::kAddr);
  Type(watch->Text2, "6e");
  state.RegisterFile[111].value = 0x52;  // compare bits above the value
  DoubleClick(grid, 1, Watchwin::kData);
  Type(watch->Text1, "9");
  EXPECT_EQ(state.RegisterFile[110].value, 9);
  EXPECT_EQ(state.CpuState.word[k42::kIndex], 0x29);
  EXPECT_EQ(state.CpuStateDirty, -1);
  DoubleClick(grid, 1, Watchwin::kWrite);
  EXPECT_EQ(Row(1), "Addr6E|006E|0009||X||<>=|0000");
  EXPECT_EQ(ReadBacks(), 1);

  // A RAM write carries the condition of the watch row naming its cell.
  ram->grdRAM->SetRow(0x70);
  ram->EditText = "3";
  ram->WriteRamCell();
  ram->grdRAM->SetRow(0x6);
  ram->WriteRamCell();
  EXPECT_EQ(state.CpuState.word[k42::kIndex], 0x39);
  EXPECT_EQ(ReadBacks(), 2);

  // Busy: Addr and Data beep and open nothing; a deletion sends nothing.
  state.TargetState = 5;
  DoubleClick(grid, 1, Watchwin::kData);
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(watch->EditRow, 0);
  DoubleClick(grid, 1, Watchwin::kLabel);
  QTest::keyClick(grid, Qt::Key_Delete);
  EXPECT_EQ(grid->Rows(), 2);
  EXPECT_EQ(ReadBacks(), 0);
}

TEST_F(WatchWindowsTest, FontsComeFromTheKeysAndTheFontCommand) {
  // A stored font is applied at load to the grids and the editors.
  const std::string key = std::string(kTavixKey) + "\\watch window";
  RegSetSetting(platform::HKEY_CURRENT_USER, key, "fontsize", RegValue(12), 4);
  RegSetSetting(platform::HKEY_CURRENT_USER, key, "fontpara", RegValue(1), 4);
  state.Forms.Unload("Watchwin");
  watch = dynamic_cast<Watchwin*>(state.Forms.Load("Watchwin"));
  ASSERT_NE(watch, nullptr);
  for (QWidget* control : std::vector<QWidget*>{watch->grdData, watch->grdSymbols, watch->Text1,
                                                watch->Text2, watch->txtInput}) {
    EXPECT_EQ(control->font().family(), "Courier New") << control->objectName().toStdString();
    EXPECT_EQ(control->font().pointSize(), 12);
    EXPECT_TRUE(control->font().italic());
    EXPECT_FALSE(control->font().bold());
  }
  // The font command on the RAM window reaches its grid and its editor.
  state.Forms.Show(ram);
  platform::SetDialogHook([](platform::CommonDialog& dialog, platform::CommonDialog::Action) {
    dialog.FontName = "Courier New";
    dialog.FontSize = 9;
    dialog.FontBold = true;
    dialog.FontItalic = false;
    return true;
  });
  Click("mnuFontName");
  platform::SetDialogHook(nullptr);
  for (QWidget* control : std::vector<QWidget*>{ram->grdRAM, ram->RAMEditBox}) {
    EXPECT_EQ(control->font().pointSize(), 9);
    EXPECT_TRUE(control->font().bold());
  }
}

// A program from the real assembler whose register operands make "-Reg"
// symbols: COUNT and STEPS name cell 20H, a long name cell 23H; a PUBLIC, an
// EXTERN and an unused name make none. The loop counts COUNT up from 0.
constexpr const char* kWatchedProgram =
    "; Watch fixture\r\n"
    "COUNT   EQU 20H\r\n"
    "STEPS   EQU 20H\r\n"
    "LONG_COUNTER_NAME EQU 23H\r\n"
    "PUBNAME EQU 21H\r\n"
    "SPARE   EQU 22H\r\n"
    "START:  LDI 0\r\n"
    "        STA COUNT\r\n"
    "LOOP:   INC COUNT\r\n"
    "        STA COUNT\r\n"
    "        LDR LONG_COUNTER_NAME\r\n"
    "        ADD STEPS\r\n"
    "        ADD PUBNAME\r\n"
    "        JMP LOOP\r\n"
    "        PUBLIC PUBNAME\r\n"
    "        EXTERN OUTSIDE\r\n";
constexpr int kStoreCount = 3, kLoadLong = 4;

// The same windows with the monitor's own cell operations and the chip's
// register write: nothing recorded in between.
class WatchWindowsOnTheChipTest : public WatchWindowsTest {
 protected:
  void SetUp() override {
    const DebugViewServices real = state.Seams.debug;
    WatchWindowsTest::SetUp();
    state.Seams.debug = real;
  }
};

TEST_F(WatchWindowsOnTheChipTest, ADataBreakpointSetInTheWatchWindowStopsTheRun) {
  // The Load button with the assembler's image, its name chosen in another
  // case: listing, symbols and RAM labels all load.
  testsupport::TempDir work;
  ASSERT_EQ(paneltest::AssembleIn(work.path(), kWatchedProgram).size(), 8u);
  IceView* panel = Panel();
  platform::SetDialogHook([&](platform::CommonDialog& dialog, platform::CommonDialog::Action) {
    dialog.FileName = work.path() + "fixture.bin";
    return true;
  });
  QTest::mouseClick(panel->Loadcodeimg, Qt::LeftButton);
  platform::SetDialogHook({});
  ASSERT_EQ(panel->grdProgram->TextMatrix(kStoreCount + 1, kAddrColumn), "0003");
  GridControl* symbols = watch->grdSymbols;
  ASSERT_EQ(symbols->Rows(), 6);
  QStringList taken;
  for (int row = 1; row < symbols->Rows(); ++row)
    taken << symbols->TextMatrix(row, 0) + "=" + symbols->TextMatrix(row, 1);
  EXPECT_EQ(taken, (QStringList{"COUNT=0020", "LONG_COUNTER_NAME=0023", "STEPS=0020", "=", "="}));
  EXPECT_EQ(ram->grdRAM->TextMatrix(0x21, RAMWin::kLabel), "COUNT");
  EXPECT_EQ(ram->grdRAM->TextMatrix(0x24, RAMWin::kLabel), "LONG_COUNTER_NAME");
  EXPECT_EQ(ram->grdRAM->TextMatrix(0x22, RAMWin::kLabel), "");

  // COUNT picked and added; W with "=5" arms the cell's condition.
  GridControl* grid = watch->grdData;
  DoubleClick(symbols, 1, 0);
  DoubleClickBelow(grid);
  DoubleClick(grid, 1, Watchwin::kWrite);
  EXPECT_EQ(state.RegisterFile[0x20].flags, 16 | 7);
  DoubleClick(grid, 1, Watchwin::kRel);
  Type(watch->txtInput, "=5");
  EXPECT_EQ(Row(1), "COUNT|0020|0000||X||=|0005");
  EXPECT_EQ(state.RegisterFile[0x20].flags, 16 | 2);
  EXPECT_EQ(state.RegisterFile[0x20].value >> 4, 5);

  // A value typed into the watch window goes through the chip: the cell, both
  // windows and the index box show it.
  DoubleClick(grid, 2, Watchwin::kAddr);
  Type(watch->Text2, "6F");
  DoubleClick(grid, 2, Watchwin::kData);
  Type(watch->Text1, "7");
  EXPECT_EQ(Cell(0x6F), 7);
  EXPECT_EQ(state.CpuState.word[k42::kIndex], 0x70);
  EXPECT_EQ(panel->IndexText->text(), "70");
  EXPECT_EQ(ram->grdRAM->TextMatrix(0x70, RAMWin::kData), "0007");
  EXPECT_EQ(grid->TextMatrix(2, Watchwin::kData), "0007");
  EXPECT_EQ(state.LastEditKey, 13);

  // That Enter does not make a click away from the RAM editor write.
  state.MainForm()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(state.MainForm()));
  DoubleClick(ram->grdRAM, 0x21, RAMWin::kData);
  ASSERT_TRUE(ram->RAMEditBox->hasFocus());
  QTest::keyClicks(ram->RAMEditBox, "9");
  QTest::mouseClick(ram->grdRAM->viewport(), Qt::LeftButton, {},
                    paneltest::CellCentre(*ram->grdRAM, 0x21, RAMWin::kLabel));
  EXPECT_FALSE(ram->RAMEditBox->isVisible());
  EXPECT_EQ(Cell(0x20), 0);

  // Data breakpoints on: the run stops right after the store of 5.
  state.CpuState.word[k42::kDataBreakEnable] = 1;
  Key(Qt::Key_F5);
  EXPECT_EQ(Pc(), kStoreCount + 1);
  EXPECT_EQ(Cell(0x20), 5);
  EXPECT_EQ(state.CpuState.word[k42::kDataBreakHit], 1);
  EXPECT_EQ(panel->databrkpnl->Caption(), "D");
  EXPECT_EQ(panel->instrbrkpnl->Caption(), "");
  EXPECT_EQ(grid->TextMatrix(1, Watchwin::kData), "0005");
  EXPECT_EQ(ram->grdRAM->TextMatrix(0x21, RAMWin::kData), "0005");
  EXPECT_EQ(panel->grdProgram->SelStartRow(), kStoreCount + 2);

  // W off, the long name's cell marked R (always): the next run stops after
  // the read that comes first.
  DoubleClick(grid, 1, Watchwin::kWrite);
  EXPECT_EQ(state.RegisterFile[0x20].flags, 2);
  DoubleClick(symbols, 2, 0);
  DoubleClickBelow(grid);
  DoubleClick(grid, 3, Watchwin::kRead);
  EXPECT_EQ(Row(3), "LONG_COUNTER_NAME|0023|0000|X|||<>=|0000");
  Key(Qt::Key_F5);
  EXPECT_EQ(Pc(), kLoadLong + 1);
  EXPECT_EQ(Cell(0x20), 5);
  EXPECT_EQ(panel->databrkpnl->Caption(), "D");
}

}  // namespace
