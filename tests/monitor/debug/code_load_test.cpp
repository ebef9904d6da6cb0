// The listing reader over a hand-made listing, its failures, its row limit,
// and the Load button on the panel.
#include "debug/code_load.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <filesystem>

#include "core/monitor_state.h"
#include "debug/watch_logic.h"
#include "panel_fixture.h"
#include "platform/controls.h"
#include "platform/grid_control.h"
#include "platform/hooks.h"

namespace {

using namespace monitor;

std::string CodeLine(int line, const char* address, const char* code, const char* text) {
  return QString::asprintf("%06d %s %s : %s", line, address, code, text).toStdString();
}

std::string Note(const char* text) {
  return std::string(16, ' ') + " : " + text;
}

std::vector<std::string> HandListing() {
  std::vector<std::string> lines(14, ";      Key = value.");
  lines[0] = ";---------------------------------------------------------------";
  const std::vector<std::string> body = {
      Note("; a remark: with MACRO inside"),
      Note("START:"),
      Note("\tAGAIN:"),
      CodeLine(4, "0000", "F800", "        LDI 0       ; load: MACRO zero"),
      Note("TWICE   MACRO"),
      Note("INNER:  NOP"),
      Note("        ENDM"),
      CodeLine(8, "0001", "8000", "        TWICE"),
      CodeLine(8, "0002", "FFFF", "        NOP"),
      CodeLine(9, "0003", "B80C", "ONLY:   ; nothing else"),
      CodeLine(10, "0004", "1234", "        JMP START"),
      CodeLine(11, "0010", "0001", "TABLE:  DW 1,2"),
      CodeLine(11, "0011", "0002", ""),
  };
  lines.insert(lines.end(), body.begin(), body.end());
  return lines;
}

TEST(ListingReader, RowsLabelsMacrosAndWords) {
  const Listing listing = LoadDebugInfo(HandListing());
  ASSERT_FALSE(listing.failed);
  ASSERT_EQ(listing.rows.size(), 5u);
  using Row = std::array<QString, 9>;
  EXPECT_EQ(listing.rows[0], (Row{" ", " ", "000004", "0000", "F800", "START:,AGAIN:", "LDI ",
                                  "0" + QString(8, ' '), "load: MACRO zero"}));
  // A macro's definition is skipped with its label; its expansion is listed.
  EXPECT_EQ(listing.rows[1], (Row{" ", " ", "000008", "0001", "8000", "", "TWICE", "", ""}));
  EXPECT_EQ(listing.rows[2][6], "NOP");
  // A code line of only a label gives no row; the label waits for the next.
  EXPECT_EQ(listing.rows[3][3], "0004");
  EXPECT_EQ(listing.rows[3][5], "ONLY:");
  EXPECT_EQ(listing.rows[3][8], "nothing else");
  EXPECT_EQ(listing.rows[4][5], "TABLE:");
  EXPECT_EQ(listing.rows[4][7], "1,2");
  // Every word, including the label-only line's and the rowless data word.
  const std::vector<std::pair<int32_t, int32_t>> expected = {
      {0, 0xF800}, {1, 0x8000}, {2, 0xFFFF}, {3, 0xB80C}, {4, 0x1234}, {0x10, 1}, {0x11, 2}};
  ASSERT_EQ(listing.words.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(listing.words[i].address, expected[i].first);
    EXPECT_EQ(listing.words[i].word, expected[i].second);
  }

  EXPECT_TRUE(IsMacroLine(true, " X .macro"));
  EXPECT_TRUE(IsMacroLine(false, " .ENDMACRO "));
  EXPECT_FALSE(IsMacroLine(true, " MACROS"));
  EXPECT_FALSE(IsMacroLine(true, "MACRO"));
  EXPECT_FALSE(IsMacroLine(false, " MACRO"));
}

TEST(ListingReader, StopsAtBadFieldsAndAtTheRowLimit) {
  for (const char* address : {"1000", "00G1", "12345"}) {
    std::vector<std::string> lines = {CodeLine(1, "0000", "1111", " NOP"),
                                      CodeLine(2, address, "2222", " NOP"),
                                      CodeLine(3, "0002", "3333", " NOP")};
    const Listing listing = LoadDebugInfo(lines);
    EXPECT_TRUE(listing.failed) << address;
    ASSERT_EQ(listing.rows.size(), 2u);
    EXPECT_EQ(listing.rows[1][3], address);
    EXPECT_EQ(listing.words.size(), 1u);
  }
  const Listing badCode = LoadDebugInfo({CodeLine(1, "0000", "X111", " NOP")});
  EXPECT_TRUE(badCode.failed);
  EXPECT_TRUE(badCode.words.empty());

  std::vector<std::string> many;
  for (int i = 0; i < 4096; ++i) {
    many.push_back(CodeLine(i + 1, QString::asprintf("%04X", i & 0xFFF).toLatin1().constData(),
                            "0001", " NOP"));
  }
  const Listing full = LoadDebugInfo(many);
  EXPECT_TRUE(full.full);
  EXPECT_FALSE(full.failed);
  EXPECT_EQ(full.rows.size(), 4095u);
}

class CodeLoadTest : public paneltest::PanelTest {
 protected:
  void SetUp() override {
    StartMonitor();
    panel = Virtual("QV4128");
    ASSERT_NE(panel, nullptr);
  }
  // A symbol file naming one register symbol.
  void WriteSymbol(const std::string& path, const std::string& label) {
    testsupport::WriteFile(
        path, "; symbol table\r\n              Value:Length  Line          Class\r\n" + label +
                  "         0012  4       010001        -Reg\r\n");
  }
  // The register symbols the watch window lists, as the last symbol load left them.
  std::string Symbols() const {
    std::string labels;
    for (const monitor::WatchSymbol& symbol : state.Watch.symbols)
      labels += symbol.label.toStdString() + ";";
    return labels;
  }
  void Write(const std::string& name, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    files.write(name, text);
  }
  // The Load button pressed and released with `button`, the dialog answered
  // with `chosen` (cancelled when empty).
  void Load(const std::string& chosen, Qt::MouseButton button = Qt::LeftButton) {
    platform::SetDialogHook([&](platform::CommonDialog& dialog, platform::CommonDialog::Action) {
      dialogs.push_back(dialog.DialogTitle + "|" + dialog.Filter + "|" + dialog.FileName);
      dialog.FileName = chosen;
      return !chosen.empty();
    });
    QTest::mousePress(panel->Loadcodeimg, button);
    pressedPicture = panel->Loadcodeimg->pictureName();
    QTest::mouseRelease(panel->Loadcodeimg, button);
  }
  QStringList Column(int col) const {
    QStringList texts;
    for (int row = 1; row < panel->grdProgram->Rows(); ++row) {
      texts << panel->grdProgram->TextMatrix(row, col);
    }
    return texts;
  }

  IceView* panel = nullptr;
  testsupport::TempDir files;
  std::vector<std::string> dialogs;
  QString pressedPicture;
};

TEST_F(CodeLoadTest, BadListingKeepsWhatWasReadAndTheLoadGoesOn) {
  state.ProgramMemory[0x20] = {0x5555, 3};  // a stale mark at an address the listing skips
  Write("bad.prn", {CodeLine(1, "0000", "F800", " LDI 0"), CodeLine(2, "1000", "2222", " NOP"),
                    CodeLine(3, "0002", "3333", " NOP")});
  WriteSymbol(files.file("bad.sym"), "BAD");
  boxes.clear();
  Load(files.file("bad.bin"));
  EXPECT_EQ(pressedPicture, "imgreloaddown");
  EXPECT_EQ(panel->Loadcodeimg->pictureName(), "imgreloadup");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "Warning|Unable to find Debug information file|48");
  EXPECT_EQ(Column(3), (QStringList{"0000", "1000"}));  // the failing row is the last
  EXPECT_EQ(state.ProgramMemory[0].instr, 0xF800);
  EXPECT_EQ(state.ProgramMemory[0x20].instr, 0x5555);
  EXPECT_EQ(state.ProgramMemory[0x20].flags, 0);
  EXPECT_EQ(Symbols(), "BAD;");

  // A missing listing, and listing and symbols that are pipes without a
  // writer: the same warning, an empty grid, no wait.
  ASSERT_EQ(mkfifo(files.file("pipe.prn").c_str(), 0600), 0);
  ASSERT_EQ(mkfifo(files.file("pipe.sym").c_str(), 0600), 0);
  alarm(20);
  for (const char* name : {"none.bin", "pipe.bin"}) {
    boxes.clear();
    state.Watch.symbols = {{"EARLIER", "0001"}};
    Load(files.file(name));
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(panel->grdProgram->Rows(), 2);
    EXPECT_EQ(Symbols(), "");  // the symbol load ran, and found none
  }
  EXPECT_TRUE(ReadTextLines(files.file("pipe.sym")).empty());
  alarm(0);
}

TEST_F(CodeLoadTest, CancelChangesNothingAndTheSourceNamesTheImage) {
  Write("a.prn", {CodeLine(1, "0000", "1234", " NOP"), CodeLine(2, "0001", "4321", " NOP")});
  WriteSymbol(files.file("a.sym"), "ASYM");
  Load(files.file("a.bin"));
  EXPECT_EQ(Symbols(), "ASYM;");
  const QStringList codes = Column(4);
  EXPECT_EQ(codes, (QStringList{"1234", "4321", ""}));
  Load(files.file("a.bin"));
  EXPECT_EQ(Column(4), codes);
  EXPECT_EQ(dialogs.back(),
            "Load Binary File Into Emulator|binary Files (*.bin)|*.bin|All "
            "Files (*.*)|*.*|*.bin");
  state.ProgramMemory[1].flags = 2;
  state.CpuState.word[k42::kAcc] = 7;
  state.Watch.symbols = {{"EARLIER", "0001"}};
  Load("");
  EXPECT_EQ(Column(4), codes);
  EXPECT_EQ(state.ProgramMemory[1].flags, 2);
  EXPECT_EQ(state.CpuState.word[k42::kAcc], 7);
  EXPECT_EQ(Symbols(), "EARLIER;");  // no symbol load

  // A right click with a project source loads its image without a dialog,
  // cut at the last "." of the file name only.
  testsupport::TempDir project;
  const std::string folder = project.path() + "proj.v2/";
  std::filesystem::create_directories(folder);
  testsupport::WriteFile(folder + "main.prn", CodeLine(1, "0000", "0ABC", " NOP") + "\r\n");
  WriteSymbol(folder + "main.sym", "MAIN");
  state.SourceFile = folder + "main.asm";
  const size_t asked = dialogs.size();
  Load("", Qt::RightButton);
  EXPECT_EQ(dialogs.size(), asked);
  EXPECT_EQ(Column(4), (QStringList{"0ABC", ""}));
  EXPECT_EQ(Symbols(), "MAIN;");
  Load(files.file("a.bin"));
  EXPECT_EQ(dialogs.back().substr(dialogs.back().rfind('|') + 1), folder + "main.bin");
  // A relative source lies beside the project, as the build takes it.
  state.SourceFile = "main.asm";
  state.ProjectFile = folder + "p.prj";
  Load(files.file("a.bin"));
  EXPECT_EQ(dialogs.back().substr(dialogs.back().rfind('|') + 1), folder + "main.bin");
}

// Over a Load on the maximized panel, the windows in front of it stay in
// front; a key's error box gives the keyboard back to the program grid.
TEST_F(CodeLoadTest, LoadKeepsTheWindowsInFrontAndAKeysBoxGivesTheGridTheKeys) {
  panel->SetWindowState(2);
  for (const char* name : {"Watchwin", "RAMWin"}) {
    state.Forms.Get(name)->SetWindowState(0);
    state.Forms.Get(name)->Outer()->raise();
  }
  state.MainForm()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(state.MainForm()));
  QMdiArea* area = state.MainForm()->Area();
  const QList<QMdiSubWindow*> before = area->subWindowList(QMdiArea::StackingOrder);
  ASSERT_NE(area->activeSubWindow(), panel->SubWindow());  // the press raises the panel
  Load(files.file("a.bin"));
  EXPECT_EQ(area->subWindowList(QMdiArea::StackingOrder), before);

  LoadProgram({0xFA7F});  // RET without CALL: the chip module's box
  platform::SetMessageBoxHook(nullptr);
  platform::SetModalDialogHook([](QDialog& box) { box.accept(); });
  panel->AccText->setFocus();
  QTest::keyClick(panel->AccText, Qt::Key_F8);
  platform::SetModalDialogHook(nullptr);
  EXPECT_EQ(QApplication::focusWidget(), panel->grdProgram);
}

}  // namespace
