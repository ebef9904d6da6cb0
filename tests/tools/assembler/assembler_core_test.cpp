// The assembler in-process: error lines and pokes, the tables, expressions,
// the encoder, symbols, files and includes, through real source files.
#include <gtest/gtest.h>

#include <filesystem>

#include "assembler_runner.h"
#include "encoding_table.h"
#include "temp_dir.h"

namespace k42asm {

// Reaches the parts of a run that have no outside effect of their own.
class AssemblerTestAccess {
 public:
  static void LoadTables(Assembler& a) { a.LoadTables(); }
  static void WriteError(Assembler& a, int code, const std::string& file, int line,
                         const std::string& text, const std::string& extra) {
    a.WriteError(code, file, line, text, extra);
  }
  static bool CreateErrorFile(Assembler& a, const std::string& path) {
    return a.CreateErrorFile(path);
  }
  static const Table& Instructions(const Assembler& a) { return a.instructions_; }
  static const Table& Directives(const Assembler& a) { return a.directives_; }
  static const Table& Conditionals(const Assembler& a) { return a.conditionals_; }
};

}  // namespace k42asm

namespace {

using k42asm::AssemblerTestAccess;
using testsupport::ReadFile;

struct Recorder {
  std::vector<std::string> pokes;
  int beeps = 0;
  k42asm::RunEnvironment Env(bool linkMode = true) {
    k42asm::RunEnvironment env;
    env.linkMode = linkMode;
    env.programFolder = TAVIX_DIST_DIR;
    env.poke = [this](const std::string& l) { pokes.push_back(l); };
    env.beep = [this] { ++beeps; };
    env.romStep = [](const std::string&) {};
    return env;
  }
};

class AssemblerCoreTest : public ::testing::Test {
 protected:
  // Assembles `text` as <tmp>/t.asm; returns the run.
  asmtest::InProcessRun Assemble(const std::string& text, bool linkMode = true) {
    temp_.write("t.asm", text);
    return asmtest::RunInProcess(temp_.file("t"), linkMode);
  }
  std::string Err() { return temp_.read("t.err"); }
  std::string Bin() { return temp_.read("t.bin"); }
  // The body lines of the listing (after the 14 header lines).
  std::vector<std::string> ListingBody() {
    std::vector<std::string> lines = asmtest::CrlfLines(temp_.read("t.prn"));
    size_t header = 0;
    while (header < lines.size() && lines[header].rfind(";", 0) == 0) ++header;
    return std::vector<std::string>(lines.begin() + static_cast<long>(header), lines.end());
  }
  // The poked error lines only.
  static std::vector<std::string> Errors(const asmtest::InProcessRun& run) {
    std::vector<std::string> e;
    for (const std::string& p : run.pokes)
      if (p.find(" ERROR ") != std::string::npos) e.push_back(p.substr(p.find(" ERROR ") + 1));
    return e;
  }
  testsupport::TempDir temp_;
};

TEST(PrintZoneLine, FieldsMoveToTheNextZoneStrictlyAfterTheColumn) {
  using k42asm::PrintZoneLine;
  EXPECT_EQ(PrintZoneLine().NextZone().Join("X").text(), std::string(14, ' ') + "X");
  EXPECT_EQ(PrintZoneLine().Join(std::string(13, 'A')).NextZone().Join("X").text(),
            std::string(13, 'A') + " X");
  EXPECT_EQ(PrintZoneLine().Join(std::string(14, 'A')).NextZone().Join("X").text(),
            std::string(14, 'A') + std::string(14, ' ') + "X");
  EXPECT_EQ(PrintZoneLine().Join(std::string(15, 'A')).NextZone().Join("X").text(),
            std::string(15, 'A') + std::string(13, ' ') + "X");
  EXPECT_EQ(k42asm::StrNumber(5), " 5");
  EXPECT_EQ(k42asm::StrNumber(-5), "-5");
  EXPECT_EQ(k42asm::FormatLineNumber(-1, 4), "-0001");
  EXPECT_EQ(k42asm::FormatLineNumber(12345, 4), "12345");
  EXPECT_EQ(k42asm::FormatHex(-1), "FFFF");
  EXPECT_EQ(k42asm::FormatHex(0x12F800), "F800");
}

TEST_F(AssemblerCoreTest, ErrorLinesAndPokesFollowTheirFormats) {
  Recorder rec;
  k42asm::Assembler a(rec.Env());
  ASSERT_TRUE(AssemblerTestAccess::CreateErrorFile(a, temp_.file("x.err")));
  const std::string name = "C:\\WORK\\MAIN.AS";  // 16 characters
  AssemblerTestAccess::WriteError(a, 100, name + "M", 12, "ABCDE", "X");
  AssemblerTestAccess::WriteError(a, 300, "F", 1, "L", "");
  AssemblerTestAccess::WriteError(a, 17, "F", 2, "L", "Y");
  AssemblerTestAccess::WriteError(a, 0, "F", 3, "ERROR STOP HERE", "STOP HERE");
  EXPECT_EQ(
      asmtest::CrlfLines(temp_.read("x.err")),
      (std::vector<std::string>{
          name + "M 0012:" + std::string(6, ' ') + "ABCDE Error 100:" + std::string(12, ' ') + "X",
          "F 0001:" + std::string(7, ' ') + "L Error 300:" + std::string(2, ' '),
          "F 0002:" + std::string(7, ' ') + "L Error 17:" + std::string(3, ' ') + "Y",
          "F 0003:" + std::string(7, ' ') + "ERROR STOP HERE Error 0:" + std::string(4, ' ') +
              "STOP HERE"}));
  EXPECT_EQ(rec.pokes, (std::vector<std::string>{
                           name + "M ERROR 100: Unknown Instruction; line 0011 - X",
                           "F ERROR 300: Symbol defined twice ; line 0000 - ",
                           "F ERROR 17: 17; line 0001 - Y", "F ERROR 0: ; line 0002 - STOP HERE"}));
  EXPECT_EQ(a.errorCount(), 4);
}

TEST_F(AssemblerCoreTest, DebugModeCountsErrorsAndPokesNothing) {
  auto run = Assemble(" NOP 3, 4\n FOO\n", false);
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.pokes.empty());
  EXPECT_EQ(run.beeps, 5);
  EXPECT_EQ(asmtest::CrlfLines(Err()).size(), 2u);
  EXPECT_FALSE(std::filesystem::exists(temp_.file("t.bin")));
}

TEST_F(AssemblerCoreTest, ShippedTablesHoldTheirRowsAndAgreeWithTheInstructionSet) {
  Recorder rec;
  k42asm::Assembler a(rec.Env());
  AssemblerTestAccess::CreateErrorFile(a, temp_.file("x.err"));
  AssemblerTestAccess::LoadTables(a);
  EXPECT_EQ(a.errorCount(), 0);
  const k42asm::Table& instructions = AssemblerTestAccess::Instructions(a);
  EXPECT_EQ(AssemblerTestAccess::Conditionals(a).size(), 14u);
  EXPECT_EQ(instructions.size(), 73u);
  EXPECT_EQ(AssemblerTestAccess::Directives(a).size(), 25u);
  ASSERT_EQ(a.operatorTable().size(), 48u);
  EXPECT_EQ(a.operatorTable()[47].format, 0);
  EXPECT_EQ(k42asm::FindTableEntry(a.operatorTable(), "").format, 0);
  EXPECT_EQ(k42asm::FindTableEntry(a.operatorTable(), "|").code, 10);
  EXPECT_EQ(k42asm::FindTableEntry(a.operatorTable(), "=").code, 14);
  for (const testsupport::InstructionRow& row : testsupport::InstructionRows()) {
    k42asm::TableEntry e = k42asm::FindTableEntry(instructions, row.mnemonic);
    ASSERT_NE(e.format, 0) << row.mnemonic;
    EXPECT_EQ(e.code & 0xFFFF, row.base) << row.mnemonic;
    EXPECT_EQ(e.format, row.format) << row.mnemonic;
    EXPECT_EQ(instructions[e.row].operandCount, row.operands) << row.mnemonic;
    EXPECT_EQ(instructions[e.row].size, 1) << row.mnemonic;
  }
}

TEST(TableFile, KeyValueGrammarAndRows) {
  std::string line = "COUNT = 3";
  EXPECT_EQ(k42asm::SplitKeyValue(line), "COUNT");
  EXPECT_EQ(line, "3");
  line = "=DATA";
  EXPECT_EQ(k42asm::SplitKeyValue(line), "");
  line = "DATA=14,0,=,2,14";
  EXPECT_EQ(k42asm::SplitKeyValue(line), "DATA");
  k42asm::TableRecord row;
  k42asm::ParseTableRecord(line, row);
  EXPECT_EQ(row.name, "=");
  EXPECT_EQ(row.code, 14);
  k42asm::ParseTableRecord("&HE000,1,CALL,1,2", row);
  EXPECT_EQ(row.code & 0xFFFF, 0xE000);
  EXPECT_EQ(row.format, 2);
  k42asm::ParseTableRecord("7,X,NAME", row);
  EXPECT_EQ(row.size, 0);
  EXPECT_EQ(row.operandCount, 0);
  EXPECT_EQ(row.format, 0);

  testsupport::TempDir dir;
  dir.write("t.ini", "[Set]\r\n count = 2 \r\nDATA=1,0,A,0,1\ndata=2,0,b,0,1\nDATA=3,0,C,0,1\n");
  k42asm::Table table(64);
  ASSERT_TRUE(k42asm::ReadTableFile(dir.file("t.ini"), table));
  ASSERT_EQ(table.size(), 3u);  // more rows than announced grow the table
  EXPECT_EQ(table[1].name, "B");
  EXPECT_FALSE(k42asm::ReadTableFile(dir.file("missing.ini"), table));
}

TEST_F(AssemblerCoreTest, ExpressionsEvaluateAsSpecified) {
  Recorder rec;
  k42asm::Assembler a(rec.Env());
  AssemblerTestAccess::CreateErrorFile(a, temp_.file("x.err"));
  AssemblerTestAccess::LoadTables(a);
  const std::pair<const char*, int32_t> cases[] = {{"1 + 2 * 3", 7},
                                                   {"2 * 3 + 1", 7},
                                                   {"8 / 2 / 2", 8},
                                                   {"7 / 2", 4},
                                                   {"5 / 2", 2},
                                                   {"7 DIV 2", 3},
                                                   {"7 \\ 2", 3},
                                                   {"-7 MOD 2", -1},
                                                   {"(1 + 2) * (3 + 4)", 21},
                                                   {"((5))", 5},
                                                   {"10B", 2},
                                                   {"17O", 15},
                                                   {"17Q", 15},
                                                   {"0ABH", 171},
                                                   {"'A'", 65},
                                                   {"'AB'", 0x4142},
                                                   {"''", 0},
                                                   {"'ABCDE'", 0x42434445},
                                                   {"HIGH 1234H", 0x12},
                                                   {"LOW 1234H", 0x34},
                                                   {"SWAP 1234H", 0x3412},
                                                   {"UPPER 12345678H", 0x1234},
                                                   {"LOWER 12345678H", 0x5678},
                                                   {"1 SHL 0", 1},
                                                   {"1 SHL 31", INT32_MIN},
                                                   {"3 SHL 30", 0x40000000},
                                                   {"-16 SHR 2", -4},
                                                   {"(0 - 1) SHR 31", 1},
                                                   {"-1 SHR 31", 0},
                                                   {"HIGH 1234H + 1", 0x13},
                                                   {"NOT 0 AND 5", -1},
                                                   {"2.5", 2},
                                                   {"3.5", 4},
                                                   {"1 = 1", -1},
                                                   {"2 <> 1", -1},
                                                   {"2 ** 10", 1024},
                                                   {"0FFFFFFFFH", -1},
                                                   {"$", 0},
                                                   {"@", 0},
                                                   {"12B", k42asm::kUnresolved},
                                                   {"ABH", k42asm::kUnresolved},
                                                   {"UNDEF * 2", k42asm::kUnresolved},
                                                   {"", k42asm::kUnresolved},
                                                   {"5 * -3", k42asm::kUnresolved},
                                                   {"A*B", k42asm::kUnresolved}};
  for (const auto& [text, value] : cases) EXPECT_EQ(a.Evaluate(text), value) << text;
  EXPECT_EQ(a.errorCount(), 0);

  EXPECT_EQ(a.Evaluate("5 / 0"), 0);
  EXPECT_EQ(a.Evaluate("1 + )"), k42asm::kUnresolved);
  EXPECT_EQ(a.Evaluate("5 X"), 0);
  EXPECT_EQ(a.Evaluate("123456789012H"), 0);
  EXPECT_EQ(a.Evaluate("7FFFFFFFH + 1"), 0);
  for (std::string& p : rec.pokes) p = p.substr(p.find("ERROR"));
  EXPECT_EQ(rec.pokes, (std::vector<std::string>{
                           "ERROR 400: Invalid Numeric Constant; line -0001 -  0",
                           "ERROR 209: Incorrect use of Parenthesis; line -0001 - )",
                           "ERROR 100: Unknown Instruction; line -0001 - X",
                           "ERROR 400: Invalid Numeric Constant; line -0001 - 123456789012H",
                           "ERROR 400: Invalid Numeric Constant; line -0001 -  1"}));
}

TEST_F(AssemblerCoreTest, EncoderBuildsEveryFormatAndChecksOperands) {
  auto run = Assemble(
      "START EQU 123H\n"
      " LDI 1FH\n STI 12H, 3\n STIX 5\n CALL START\n JMP LATER\n ROM 1\n"
      "LATER: NOP 3\n LDI\n STI 5\n ADD R1, R2\n JMP 100H\n");
  std::string bin = Bin();
  EXPECT_TRUE(bin.empty());  // errors: no image
  EXPECT_EQ(Errors(run), (std::vector<std::string>{
                             "ERROR 240: Wrong Nr.of Parameters; line 0007 - 3",
                             "ERROR 240: Wrong Nr.of Parameters; line 0008 - ",
                             "ERROR 200: Undefined Variable or Constant; line 0008 - ",
                             "ERROR 240: Wrong Nr.of Parameters; line 0009 - ",
                             "ERROR 200: Undefined Variable or Constant; line 0009 - ",
                             "ERROR 240: Wrong Nr.of Parameters; line 0010 - R2",
                             "ERROR 200: Undefined Variable or Constant; line 0010 - R1",
                             "ERROR 200: Undefined Variable or Constant; line 0011 - 100H"}));
  // The same words without the faulty lines, as an image.
  Assemble(
      "START EQU 123H\n LDI 1FH\n STI 12H, 3\n STIX 5\n CALL START\n JMP LATER\n ROM 1\nLATER: "
      "NOP\n");
  EXPECT_EQ(Bin(), std::string("\xF8\x0F\xC3\x12\xC5\xFF\xE1\x23\x00\x06\xF1\xFF\xF0\xFF", 14));
}

TEST_F(AssemblerCoreTest, ProgramMemoryEndsAt4095Words) {
  std::string full;
  for (int i = 0; i < 4095; ++i) full += " NOP\n";
  auto run = Assemble(full);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Bin().size(), 8190u);
  EXPECT_EQ(run.pokes[run.pokes.size() - 2], "Prog-Size=4095");
  run = Assemble(full + " NOP\n HALT\n");
  EXPECT_EQ(Errors(run),
            (std::vector<std::string>{"ERROR 1599: Program Memory Overflow; line 4095 - NOP",
                                      "ERROR 1599: Program Memory Overflow; line 4096 - HALT"}));
}

TEST_F(AssemblerCoreTest, LineParserSplitsLabelsAndRejectsReservedWords) {
  auto run = Assemble(
      "NAME: LDI 1, 2\nNAME2 LDI 3\n LDI 4\n\tLDI 5 ; tab\nALONE:\n ; comment only\n\n  \t \n"
      " LDI 6 ; 'A;B'\nsmall: ldi 7\n");
  EXPECT_EQ(Errors(run),
            (std::vector<std::string>{"ERROR 240: Wrong Nr.of Parameters; line 0000 - 2"}));
  run = Assemble(
      "NAME: LDI 1\nNAME2 LDI 3\n LDI 4\n\tLDI 5 ; tab\nALONE:\n ; comment only\n\n  \t \n"
      " LDI 6 ; 'A;B'\nsmall: ldi 7\n FOO\n");
  EXPECT_EQ(Errors(run),
            (std::vector<std::string>{"ERROR 100: Unknown Instruction; line 0010 - FOO"}));
  EXPECT_EQ(run.symbols, (std::vector<std::string>{"ALONE", "NAME", "NAME2", "SMALL"}));
  run = Assemble("ADD: NOP\nAND: NOP\nSHL: X\n");
  EXPECT_EQ(Errors(run), (std::vector<std::string>{"ERROR 230: Reserved Word; line 0000 - ADD",
                                                   "ERROR 230: Reserved Word; line 0001 - AND",
                                                   "ERROR 230: Reserved Word; line 0001 - AND",
                                                   "ERROR 230: Reserved Word; line 0002 - SHL",
                                                   "ERROR 230: Reserved Word; line 0002 - SHL"}));
  EXPECT_TRUE(run.symbols.empty());
}

TEST_F(AssemblerCoreTest, LowerCaseAndLineEndsDoNotChangeTheOutputs) {
  const std::string lf = "start: ldi 1 ; One\n jmp start\n";
  Assemble(lf);
  std::string bin = Bin(), prn = temp_.read("t.prn");
  EXPECT_EQ(ListingBody(), (std::vector<std::string>{"000001 0000 F801 : START: LDI 1 ; ONE",
                                                     "000002 0001 0000 :  JMP START"}));
  Assemble("start: ldi 1 ; One\r\n jmp start\r\n");
  EXPECT_EQ(Bin(), bin);
  EXPECT_EQ(temp_.read("t.prn"), prn);
  Assemble("start: ldi 1 ; One\r jmp start");
  EXPECT_EQ(temp_.read("t.prn"), prn);
}

TEST_F(AssemblerCoreTest, ForwardJumpsArePatchedAndShownPatched) {
  auto run = Assemble(" JMP LATER\n JPZ LATER\n CALL LATER\n NOP\nLATER: HALT\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Bin(), std::string("\x00\x04\x60\x04\xE0\x04\xF0\xFF\xF4\xFF", 10));
  EXPECT_EQ(ListingBody()[0], "000001 0000 0004 :  JMP LATER");
  Assemble("");
  EXPECT_EQ(Bin(), "");
  EXPECT_EQ(temp_.read("t.prn").find("CodeBeg"), std::string::npos);
}

TEST_F(AssemblerCoreTest, IncludesNumberTheirFilesAndErrorsNameThem) {
  std::filesystem::create_directories(temp_.file("sub"));
  // A name with a folder is used as written (here the full path).
  temp_.write("a.inc", " NOP\n $INCLUDE " + temp_.file("sub/b.inc") + "\n");
  temp_.write("sub/b.inc", "\n\n\n\n\n\n JMP NOWHERE\n");
  auto run = Assemble(" INCLUDE A.INC\n LDI 1\n INCLUDE A.INC\n LDI 2\n");
  ASSERT_EQ(Errors(run).size(), 2u);
  std::string b = temp_.file("sub/b.inc");
  EXPECT_EQ(run.pokes[4], b + " ERROR 200: Undefined Variable or Constant; line 0006 - NOWHERE");
  EXPECT_EQ(asmtest::CrlfLines(Err())[0].substr(0, b.size() + 6), b + " 0007:");

  temp_.write("sub/b.inc", " HALT\n");
  run = Assemble(" INCLUDE A.INC\n LDI 1\n INCLUDE A.INC\n LDI 2\n");
  EXPECT_EQ(run.status, 0);
  std::vector<std::string> body = ListingBody();
  std::vector<std::string> prefixes;
  for (const std::string& l : body) prefixes.push_back(l.substr(0, 6));
  EXPECT_EQ(prefixes, (std::vector<std::string>{"      ", "010001", "      ", "020001", "000002",
                                                "      ", "030001", "      ", "040001", "000004"}));
}

TEST_F(AssemblerCoreTest, EndStopsEveryIncluderAndSelfIncludeIsBounded) {
  temp_.write("e.inc", " NOP\n END\n HALT\n");
  auto run = Assemble(" INCLUDE E.INC\n LDI 1\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Bin(), std::string("\xF0\xFF", 2));
  temp_.write("self.inc", " NOP\n INCLUDE SELF.INC\n");
  run = Assemble(" INCLUDE SELF.INC\n");
  ASSERT_EQ(Errors(run).size(), 1u);
  EXPECT_EQ(Errors(run)[0].substr(0, 30), "ERROR 700: Unable to open File");
}

TEST_F(AssemblerCoreTest, MissingSourceIsErrorSevenHundredAgainstNoFile) {
  auto run = asmtest::RunInProcess(temp_.file("absent"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.pokes[4],
            " ERROR 700: Unable to open File; line -0001 - " + temp_.file("absent.ASM"));
  EXPECT_EQ(run.pokes.back(), " 1 Errors");
  EXPECT_EQ(run.beeps, 5);
}

TEST_F(AssemblerCoreTest, SymbolsAreQualifiedInProceduresAndChecked) {
  auto run = Assemble(
      "A PROC\nLOOP: NOP\n JMP LOOP\n ENDP\nB PROC\nLOOP: NOP\n JMP LOOP\n ENDP\n"
      " EXTERN _X1, A#2, A:B\n PUBLIC A\nREG EQU 3\n ADD REG\n PUBLIC REG\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.symbols,
            (std::vector<std::string>{"A", "A#2", "A:B", "B", "LOOP.1", "LOOP.2", "REG", "_X1"}));
  std::vector<std::string> sym = asmtest::CrlfLines(temp_.read("t.sym"));
  ASSERT_EQ(sym.size(), 21u);
  EXPECT_EQ(sym[12], std::string(14, ' ') + "Value:Length  Line          Class");
  EXPECT_EQ(sym[19], "REG           0003  4       000011        PUBLIC");
  EXPECT_EQ(sym[20], "_X1           0000  4       000009        EXTERN");

  run = Assemble(" EXTERN 1A, #A, A:\nP PROC\nIN: NOP\n ENDP\n PUBLIC IN\n JMP IN\n");
  EXPECT_EQ(Errors(run), (std::vector<std::string>{
                             "ERROR 399: Invalid symbol; line 0000 - 1A",
                             "ERROR 399: Invalid symbol; line 0000 - #A",
                             "ERROR 399: Invalid symbol; line 0000 - A:",
                             "ERROR 200: Undefined Variable or Constant; line 0005 - IN",
                             "ERROR 200: Undefined Variable or Constant; line 0005 - IN"}));
  EXPECT_EQ(run.symbols, (std::vector<std::string>{"#A", "1A", "A:", "IN.1", "P"}));
}

}  // namespace
