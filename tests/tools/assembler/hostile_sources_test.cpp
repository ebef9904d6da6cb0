// Sources meant to break the assembler: folders for files, includes and
// macros that call themselves, expressions nested without end, lines of
// megabytes, errors by the thousand, and a seeded stream of random lines.
// Each ends in a clear error, never a crash or a run without end.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <random>

#include "assembler_runner.h"
#include "temp_dir.h"

namespace {

using asmtest::CrlfLines;
using asmtest::RunInProcess;

std::string Repeat(const std::string& text, size_t times) {
  std::string out;
  out.reserve(text.size() * times);
  for (size_t i = 0; i < times; ++i) out += text;
  return out;
}

// The error codes of an error file, in order.
std::vector<std::string> ErrorCodes(const std::string& errors) {
  std::vector<std::string> codes;
  for (const std::string& line : CrlfLines(errors)) {
    size_t at = line.find(" Error ");
    if (at == std::string::npos) continue;
    at += 7;
    codes.push_back(line.substr(at, line.find(':', at) - at));
  }
  return codes;
}

class HostileSourceTest : public ::testing::Test {
 protected:
  // Assembles `text` as T.ASM; returns the run.
  asmtest::InProcessRun Assemble(const std::string& text, bool linkMode = false) {
    dir_.write("T.ASM", text);
    std::remove(dir_.file("T.bin").c_str());
    return RunInProcess(dir_.file("T.ASM"), linkMode);
  }
  std::string Errors() const { return dir_.read("T.err"); }

  testsupport::TempDir dir_;
};

TEST_F(HostileSourceTest, FoldersAndFilesOpenUpTheIncludeChainAreUnopenable) {
  // A folder as the source: one error 700, as for a missing file.
  ASSERT_EQ(mkdir(dir_.file("F.ASM").c_str(), 0755), 0);
  EXPECT_EQ(RunInProcess(dir_.file("F.ASM"), false).status, 1);
  EXPECT_EQ(ErrorCodes(dir_.read("F.err")), std::vector<std::string>{"700"});

  // A folder included, the file including itself twice (once by another
  // path), and B.INC, which includes the main file back, included twice one
  // after the other.
  ASSERT_EQ(mkdir(dir_.file("SUB").c_str(), 0755), 0);
  dir_.write("B.INC", " INCLUDE T.ASM\r\nINNER: LDI 1\r\n");
  asmtest::InProcessRun run = Assemble(" INCLUDE SUB\r\n INCLUDE T.ASM\r\n INCLUDE " + dir_.path() +
                                       "./T.ASM\r\n INCLUDE B.INC\r\n NOP\r\n INCLUDE B.INC\r\n");
  EXPECT_EQ(run.status, 1);
  const std::vector<std::string> lines = CrlfLines(Errors());
  ASSERT_EQ(lines.size(), 6u) << Errors();
  EXPECT_EQ(ErrorCodes(Errors()),
            (std::vector<std::string>{"700", "700", "700", "700", "700", "300"}));
  EXPECT_NE(lines[0].find("SUB"), std::string::npos);
  EXPECT_NE(lines[2].find("/./T.ASM"), std::string::npos);
  // The refusal inside B.INC names B.INC, line 1, and its next line is read:
  // the second reading defines INNER again (300).
  EXPECT_NE(lines[3].find("B.INC 0001:"), std::string::npos) << lines[3];
  EXPECT_NE(lines[5].find("B.INC 0002:"), std::string::npos) << lines[5];
  EXPECT_EQ(std::count(run.symbols.begin(), run.symbols.end(), "INNER"), 1);
}

TEST_F(HostileSourceTest, AMacroCallingItselfStopsAtTheDepthBoundOncePerCall) {
  // Three calls in its body: without the stop, 3^16 expansions.
  asmtest::InProcessRun run =
      Assemble("M MACRO\r\n M\r\n M\r\n M\r\n ENDM\r\n M\r\n NOP\r\n M\r\n");
  EXPECT_EQ(run.status, 1);
  // Three calls reported while defining, then one per call of the source.
  EXPECT_EQ(ErrorCodes(Errors()), std::vector<std::string>(5, "902"));

  // Two macros calling each other: the same stop.
  run = Assemble("A MACRO\r\n B\r\n B\r\n ENDM\r\nB MACRO\r\n A\r\n ENDM\r\n A\r\n");
  EXPECT_EQ(ErrorCodes(Errors()), std::vector<std::string>(2, "902"));
}

TEST_F(HostileSourceTest, DeepExpressionsAreRefusedAndLongOnesEvaluated) {
  const struct {
    std::string operand;
    bool refused;
  } cases[] = {
      {Repeat("NOT ", 5000) + "1", true},
      {Repeat("(", 20000) + "1" + Repeat(")", 20000), true},
      {"1" + Repeat(" * 1", 30000), true},
      {Repeat("! ", 20000) + "1", true},
      {Repeat("(", 200) + "5" + Repeat(")", 200), false},
      {Repeat("NOT ", 200) + "5", false},
      // 2 MB of parts at one level.
      {"1" + Repeat(" + 1", 500000), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.operand.substr(0, 24));
    asmtest::InProcessRun run = Assemble(" LDI " + c.operand + "\r\n");
    if (c.refused) {
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(ErrorCodes(Errors()), std::vector<std::string>{"209"});
      EXPECT_NE(Errors().find("nested too deeply"), std::string::npos);
    } else {
      EXPECT_EQ(run.status, 0) << Errors().substr(0, 300);
      EXPECT_EQ(dir_.read("T.bin"), c.operand[0] == '1' ? "\xF8\x01" : "\xF8\x05");
    }
  }
}

TEST_F(HostileSourceTest, ErrorsBeyondTheBoundAreCountedButNotWritten) {
  // Ten thousand unknown words: the count is whole, the file and the link
  // stop after their bound with one line saying so.
  asmtest::InProcessRun run = Assemble(Repeat(" XYZ\r\n", 10000), true);
  EXPECT_EQ(run.status, 1);
  const std::vector<std::string> lines = CrlfLines(Errors());
  ASSERT_EQ(lines.size(), 4001u);
  EXPECT_EQ(lines.back(), "Too many errors: the rest are left out");
  EXPECT_EQ(
      std::count(run.pokes.begin(), run.pokes.end(), "Too many errors: the rest are left out"), 1);
  EXPECT_NE(std::find(run.pokes.begin(), run.pokes.end(), " 10000 Errors"), run.pokes.end());
  EXPECT_LT(run.pokes.size(), 4020u);

  // A data line of 600 kB: 300,000 words past the end of program memory,
  // each error line repeating the line; the file stays bounded in bytes.
  run = Assemble(" DW 1" + Repeat(",1", 300000) + "\r\n");
  EXPECT_EQ(run.status, 1);
  const std::string errors = Errors();
  EXPECT_LT(errors.size(), 17u << 20);
  EXPECT_EQ(CrlfLines(errors).back(), "Too many errors: the rest are left out");
  EXPECT_EQ(ErrorCodes(errors).front(), "1599");
}

TEST_F(HostileSourceTest, SeededRandomSourcesEndInAResult) {
  // Lines made of the assembler's own words, names, numbers and punctuation,
  // with includes of each other and macros, from a fixed seed.
  const std::string vocabulary =
      "LDI|STI|JMP|CALL|ROM|NOP|DW|DD|DB|EQU|ORG|VAR|PROC|ENDP|IF|ELSE|ENDIF|MACRO|ENDM|END|PUBLIC|"
      "EXTERN|NOT|HIGH|+|-|*|/|SHL|(|)|,|'A'|0FFH|12|$|@|X|Y|M|LOOP|$EJECT|LEJECT|ERROR|"
      "INCLUDE A.INC|INCLUDE B.INC|:|;|\t|PAGE|GLOBAL|SWAP|MOD|**|1000H|-7|'|\"AB\"";
  std::vector<std::string> words;
  for (size_t at = 0, bar = 0; at <= vocabulary.size(); at = bar + 1) {
    bar = std::min(vocabulary.find('|', at), vocabulary.size());
    words.push_back(vocabulary.substr(at, bar - at));
  }
  std::mt19937 random(20231114);
  auto randomText = [&](size_t lines) {
    std::string text;
    for (size_t l = 0; l < lines; ++l) {
      if (random() % 3 != 0) text += ' ';
      for (size_t n = random() % 7; n > 0; --n) text += words[random() % words.size()] + ' ';
      text += "\r\n";
    }
    return text;
  };
  for (int round = 0; round < 150; ++round) {
    SCOPED_TRACE(round);
    dir_.write("A.INC", randomText(20));
    dir_.write("B.INC", randomText(20));
    asmtest::InProcessRun run = Assemble(randomText(60));
    ASSERT_TRUE(run.status == 0 || run.status == 1);
    EXPECT_LE(CrlfLines(Errors()).size(), 4001u);
  }
}

}  // namespace
