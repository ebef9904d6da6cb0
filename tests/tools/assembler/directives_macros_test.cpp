// Directives, conditional assembly and macros, through real source files:
// the golden listing of a program using them, then each behaviour with its
// errors.
#include <gtest/gtest.h>

#include <filesystem>

#include "assembler_runner.h"
#include "link_test_server.h"
#include "platform/messagebox.h"
#include "temp_dir.h"

namespace {

class DirectivesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetMessageBoxHook([this](const std::string& text, const std::string&, unsigned) {
      boxes_.push_back(text);
      return static_cast<int>(platform::IDOK);
    });
  }
  void TearDown() override { platform::SetMessageBoxHook(nullptr); }

  asmtest::InProcessRun Assemble(const std::string& text) {
    temp_.write("t.asm", text);
    return asmtest::RunInProcess(temp_.file("t"));
  }
  std::string Bin() { return temp_.read("t.bin"); }
  std::vector<std::string> ListingBody() {
    std::vector<std::string> lines = asmtest::CrlfLines(temp_.read("t.prn"));
    size_t header = 0;
    while (header < lines.size() && lines[header].rfind(";", 0) == 0) ++header;
    return std::vector<std::string>(lines.begin() + static_cast<long>(header), lines.end());
  }
  std::vector<std::string> Header() {
    std::vector<std::string> lines = asmtest::CrlfLines(temp_.read("t.prn"));
    lines.resize(lines.size() - ListingBody().size());
    return lines;
  }
  static std::vector<std::string> Errors(const asmtest::InProcessRun& run) {
    std::vector<std::string> e;
    for (const std::string& p : run.pokes)
      if (p.find(" ERROR ") != std::string::npos) e.push_back(p.substr(p.find(" ERROR ") + 1));
    return e;
  }
  static std::string Words(std::initializer_list<uint16_t> words) {
    std::string s;
    for (uint16_t w : words) s += static_cast<char>(w >> 8), s += static_cast<char>(w & 0xFF);
    return s;
  }

  testsupport::TempDir temp_;
  std::vector<std::string> boxes_;
};

TEST_F(DirectivesTest, GoldenListingOfMacrosProceduresAndData) {
  std::string work = temp_.path();
  testsupport::WriteFile(work + "directives.asm",
                         testsupport::ReadFile(std::string(TAVIX_SOURCE_DIR) +
                                               "tests/tools/assembler/sources/directives.asm"));
  std::string link = work + "link";
  asmtest::ProcessRun run = asmtest::RunAssemblerProcess({"/D/sdirectives"}, link, "", work);
  EXPECT_EQ(run.exitCode, 0);
  for (const char* ext : {"prn", "sym", "bin"})
    EXPECT_EQ(temp_.read(std::string("directives.") + ext),
              asmtest::Golden(std::string("directives.") + ext))
        << ext;
}

TEST_F(DirectivesTest, OrgFillsWithNopsAndRefusesToGoBack) {
  auto run = Assemble(" NOP\n NOP\n NOP\n NOP\nHERE ORG 10H\n ORG 10H\n HALT\n");
  EXPECT_EQ(run.status, 0);
  std::string bin = Bin();
  ASSERT_EQ(bin.size(), 34u);
  EXPECT_EQ(bin.substr(8, 24), std::string(24, '\0').replace(0, 24, [] {
    std::string s;
    for (int i = 0; i < 12; ++i) s += "\xF0\xFF";
    return s;
  }()));
  EXPECT_EQ(bin.substr(32), Words({0xF4FF}));
  EXPECT_EQ(run.symbols, (std::vector<std::string>{"HERE"}));
  // The fill words have no listing line of their own.
  EXPECT_EQ(ListingBody()[4].substr(0, 17), std::string(17, ' '));
  EXPECT_EQ(ListingBody()[6].substr(0, 16), "000007 0010 F4FF");

  run = Assemble(" ORG 20H\n ORG 10H\n ORG 1000H\n ORG UNKNOWN\n .ORG 21H\n");
  EXPECT_EQ(boxes_, (std::vector<std::string>{" ROM ADRRESS OVERFLOW", " ROM ADRRESS OVERFLOW"}));
  EXPECT_EQ(Errors(run), (std::vector<std::string>{
                             "ERROR 1599: Program Memory Overflow; line 0001 - 10H",
                             "ERROR 1599: Program Memory Overflow; line 0002 - 1000H",
                             "ERROR 200: Undefined Variable or Constant; line 0003 - UNKNOWN"}));
}

TEST_F(DirectivesTest, OrgInLinkModeDoesNotWaitForAnyone) {
  platform::SetMessageBoxHook(nullptr);
  temp_.write("o.asm", " ORG 10H\n ORG 5\n");
  asmtest::ProcessRun run =
      asmtest::RunAssemblerProcess({"/D/s" + temp_.file("o")}, temp_.file("link"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_LT(run.millis, 2000);
}

TEST_F(DirectivesTest, DataWordsAndTheirListingLines) {
  auto run = Assemble(
      " DW 1, 2, 3\n WORD 0FFFFH, -1\n DD 12345678H\n DD 8000H, UNDEF\n DB 'AB', 1FFH\n BYTE 7\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Bin(), Words({1, 2, 3, 0xFFFF, 0xFFFF, 0x5678, 0x1234, 0x8000, 0, 0xA5A5, 0xA5A5, 0x41,
                          0x42, 0xFF, 7}));
  std::vector<std::string> body = ListingBody();
  std::vector<std::string> expected = {"000001 0000 0001 :  DW 1, 2, 3",
                                       "000001 0001 0002 : ",
                                       "000001 0002 0003 : ",
                                       "000002 0003 FFFF :  WORD 0FFFFH, -1",
                                       "000002 0004 FFFF : ",
                                       "000003 0005 5678 :  DD 12345678H",
                                       "000003 0006 1234 : ",
                                       "                 : ",
                                       "000004 0007 8000 :  DD 8000H, UNDEF",
                                       "000004 0008 0000 : ",
                                       "000004 0009 A5A5 : ",
                                       "000004 000A A5A5 : ",
                                       "                 : ",
                                       "000005 000B 0041 :  DB 'AB', 1FFH",
                                       "000005 000C 0042 : ",
                                       "000005 000D 00FF : ",
                                       "000006 000E 0007 :  BYTE 7"};
  EXPECT_EQ(body, expected);

  run = Assemble(" DW\n DD\n DB\n EXTERN\n PUBLIC\n DW UNDEF\n");
  EXPECT_EQ(Errors(run), (std::vector<std::string>{
                             "ERROR 502: 502; line 0000 - DW", "ERROR 502: 502; line 0001 - DD",
                             "ERROR 502: 502; line 0002 - DB", "ERROR 502: 502; line 0003 - EXTERN",
                             "ERROR 502: 502; line 0004 - PUBLIC",
                             "ERROR 200: Undefined Variable or Constant; line 0005 - UNDEF"}));
}

TEST_F(DirectivesTest, VariablesConstantsAndTheHeader) {
  auto run = Assemble(
      "COUNTER VAR 2, 20H\nX VAR\nC EQU 5\nC EQU 6\nD .EQU @\nE EQU UNDEF\n $PAGEWIDTH 40\n NOP\n");
  EXPECT_EQ(Errors(run),
            (std::vector<std::string>{"ERROR 300: Symbol defined twice ; line 0003 - C",
                                      "ERROR 100: Unknown Instruction; line 0005 - EQU"}));
  run = Assemble("COUNTER VAR 2, 20H\nX VAR\nC EQU 5\nD .EQU @\n $PAGEWIDTH 40\n NOP\n");
  EXPECT_EQ(run.status, 0);
  std::vector<std::string> header = Header();
  EXPECT_EQ(header[0], ";" + std::string(39, '-'));
  EXPECT_EQ(header[7], ";      VarBeg = 0000H");
  EXPECT_EQ(header[8], ";      VarEnd = 0022H");
  std::vector<std::string> sym = asmtest::CrlfLines(temp_.read("t.sym"));
  EXPECT_EQ(sym[sym.size() - 4].substr(0, 18), "C             0005");
  EXPECT_EQ(sym[sym.size() - 3].substr(0, 18), "COUNTER       0020");
  EXPECT_EQ(sym[sym.size() - 2].substr(0, 18), "D             0023");
  EXPECT_EQ(sym[sym.size() - 1].substr(0, 18), "X             0022");
}

TEST_F(DirectivesTest, ListingDirectivesAndTheErrorDirective) {
  auto run = Assemble(" $TITLE DEMO\n $EJECT\n LEJECT 50, 60\n PAGE NEXT\n LEJECT\n NOP\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(ListingBody(),
            (std::vector<std::string>{
                "                 :  $TITLE DEMO", "                 :  $EJECT",
                "                 : \f", "                 :  LEJECT 50, 60",
                "                 : \f", "                 :  PAGE NEXT", "                 : \f",
                "                 :  LEJECT", "                 : \f", "000006 0000 F0FF :  NOP"}));
  EXPECT_EQ(Header()[0], ";" + std::string(49, '-'));
  run = Assemble(" ERROR STOP HERE\n $PAGEWIDTH UNDEF\n");
  EXPECT_EQ(Errors(run),
            (std::vector<std::string>{"ERROR 0: ; line 0000 - STOP HERE",
                                      "ERROR 100: Unknown Instruction; line 0001 - $PAGEWIDTH"}));
  Assemble(" $PAGEWIDTH 0\n NOP\n");
  EXPECT_EQ(Header()[0], ";");
}

TEST_F(DirectivesTest, IncludesComeFromTheMainFolderAndEndStopsAll) {
  std::filesystem::create_directories(temp_.file("other"));
  temp_.write("defs.inc", "K EQU 3\n");
  temp_.write("other/inner.inc", " INCLUDE DEFS.INC\n LDI K\n END\n HALT\n");
  auto run = Assemble(" INCLUDE " + temp_.file("other/inner.inc") + "\n NOP\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Bin(), Words({0xF803}));
}

TEST_F(DirectivesTest, ProceduresMakeLabelsLocalExceptGlobals) {
  auto run = Assemble(
      "P1 PROC KEEP\nKEEP: NOP\nLOOP: JMP LOOP\n GLOBAL G\nG: NOP\n ENDP\n"
      "P2 PROC\nLOOP: JMP LOOP\n ENDP\n JMP KEEP\n JMP G\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.symbols, (std::vector<std::string>{"G", "KEEP", "LOOP.1", "LOOP.2", "P1", "P2"}));
  run = Assemble("P1 PROC\nLOOP: NOP\n ENDP\n JMP LOOP\n");
  EXPECT_EQ(
      Errors(run),
      (std::vector<std::string>{"ERROR 200: Undefined Variable or Constant; line 0003 - LOOP"}));
}

TEST_F(DirectivesTest, ConditionalBlocksNestAndCountTheirWords) {
  auto run = Assemble(
      " IF 0\n NOP\n ELSE\n HALT\n ENDIF\n IF 1\n RET\n ENDIF\n"
      " IF 0\n IF 1\n NOP\n ENDIF\n ELSE\n RTI\n ENDIF\n"
      " .IF UNDEF\n CPLA\n .ENDIF\n IF 0\nSKIPPED: NOP\n ENDIF\nSKIPPED: NOP\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Bin(), Words({0xF4FF, 0xFA7F, 0xF27F, 0xAA7F, 0xF0FF}));
  EXPECT_EQ(run.symbols, (std::vector<std::string>{"SKIPPED"}));

  // Kept as the reader has it: labels on skipped lines are still checked.
  run = Assemble(" IF 0\nNOP: NOP\n1X: NOP\n ENDIF\n ENDIF\n IF 1\n ELSE\n ELSE\n ENDIF\n ENDM\n");
  EXPECT_EQ(Errors(run),
            (std::vector<std::string>{"ERROR 230: Reserved Word; line 0001 - NOP",
                                      "ERROR 399: Invalid symbol; line 0002 - 1X",
                                      "ERROR 708: Nr of .IF and .ELSE missmatch; line 0004 - ENDIF",
                                      "ERROR 708: Nr of .IF and .ELSE missmatch; line 0007 - ELSE",
                                      "ERROR 705: No End of Macro; line 0009 - ENDM"}));
}

TEST_F(DirectivesTest, MacrosBindParametersAndKeepTheirLabelsLocal) {
  auto run = Assemble("DELAY MACRO N\nLOOP: LDI N\n JMP LOOP\n ENDM\n DELAY 5\n DELAY 7\n DELAY\n");
  EXPECT_EQ(Errors(run),
            (std::vector<std::string>{"ERROR 200: Undefined Variable or Constant; line 0006 - N"}));
  run = Assemble("DELAY MACRO N\n LDI N\n ENDM\n DELAY 5\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Bin(), Words({0xF805}));
  EXPECT_EQ(ListingBody(), (std::vector<std::string>{
                               "                 : DELAY MACRO N", "                 :  LDI N",
                               "                 :  ENDM", "                 :  DELAY 5",
                               "                 : DELAY..1:", "                 : DELAY.N.1 EQU 5",
                               "000004 0000 F805 :  LDI 5"}));
  // Kept as specified: only the first occurrence of a parameter is looked
  // at for the listing ("INC N": the first N is inside INC).
  run = Assemble("BUMP MACRO N\n INC N\n ENDM\n BUMP 3\n");
  EXPECT_EQ(ListingBody().back(), "000004 0000 8603 :  INC N");
}

TEST_F(DirectivesTest, MacroCallInsideAProcedureKeepsItsLocals) {
  auto run = Assemble(
      "WAIT MACRO T\n LDI T\n ENDM\nMAIN PROC\nBACK: NOP\n WAIT 2\n JMP BACK\n JMP FWD\nFWD: RET\n "
      "ENDP\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Bin(), Words({0xF0FF, 0xF802, 0x0000, 0x0004, 0xFA7F}));
  EXPECT_EQ(run.symbols,
            (std::vector<std::string>{"BACK.1", "FWD.1", "MAIN", "WAIT..2", "WAIT.T.2"}));
}

TEST_F(DirectivesTest, MacroDefinitionErrors) {
  auto run = Assemble(
      " MACRO\n NOP\n ENDM\nM MACRO\n ENDM\nM MACRO\n NOP\n ENDM\n"
      "N MACRO\n M\nX MACRO\n ENDM\n ENDM\n");
  EXPECT_EQ(Errors(run), (std::vector<std::string>{
                             "ERROR 799: MACRO without Name; line 0000 - MACRO",
                             "ERROR 1204: MACRO Name Duplicated; line 0005 - M",
                             "ERROR 902: MACRO nesting not allowed; line 0009 - MACRO",
                             "ERROR 902: MACRO nesting not allowed; line 0010 - MACRO",
                             // the first ENDM closed N's definition: the second one is stray
                             "ERROR 705: No End of Macro; line 0012 - ENDM"}));
}

TEST_F(DirectivesTest, NestedCallsWorkAndDepthIsBounded) {
  // A body may call a macro defined after it.
  auto run =
      Assemble("OUTER MACRO A\n INNER A\n LDI A\n ENDM\nINNER MACRO B\n LDI B\n ENDM\n OUTER 4\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Bin(), Words({0xF804, 0xF804}));
  // A chain longer than the bound ends in an error, not in a crash.
  std::string chain;
  for (int i = 0; i < 20; ++i)
    chain += "M" + std::to_string(i) + " MACRO\n M" + std::to_string(i + 1) + "\n ENDM\n";
  chain += "M20 MACRO\n NOP\n ENDM\n M0\n";
  run = Assemble(chain);
  ASSERT_EQ(Errors(run).size(), 1u);
  EXPECT_EQ(Errors(run)[0].substr(0, 37), "ERROR 902: MACRO nesting not allowed;");
}

}  // namespace
