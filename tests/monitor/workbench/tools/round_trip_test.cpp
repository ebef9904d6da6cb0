// End to end: the real assembler builds a project whose source lies in a
// dotted folder; Build > Disassemble proposes its outputs there and the real
// K42XXDIS writes them; the ROM characteristic file matches the assembler's,
// and the disassembly assembles to the same image.
#include <filesystem>

#include "assembler_runner.h"
#include "tools_fixture.h"
#include "workbench/tools/dissassamble_params.h"

namespace {

constexpr char kSource[] =
    "; Counts in a register and calls a delay between counts.\r\n"
    "COUNT   VAR\r\n"
    "START:  LDI 0\r\n"
    "        STA COUNT\r\n"
    "LOOP:   INC COUNT\r\n"
    "        LDR COUNT\r\n"
    "        CALL DELAY\r\n"
    "        JPZ START\r\n"
    "        JMP LOOP\r\n"
    "DELAY:  NOP\r\n"
    "        NOP\r\n"
    "        RET\r\n";

class DisassembleBuiltProgramTest : public toolstest::ToolsTest {
 protected:
  // Builds <folder>/<base>.asm as a project build starts the assembler.
  int Build(const std::string& folder, const std::string& base) {
    const asmtest::ProcessRun run =
        asmtest::RunAssemblerProcess({"/D/s" + folder + base}, link.path(), "", folder);
    return run.exitCode;
  }
};

TEST_F(DisassembleBuiltProgramTest, OutputsBesideTheSourceMatchTheBuildAndReassemble) {
  const std::string folder = work.file("proj.v1.2/");
  std::filesystem::create_directory(folder);
  testsupport::WriteFile(folder + "MAIN.ASM", kSource);
  ASSERT_EQ(Build(folder, "MAIN"), 0) << testsupport::ReadFile(folder + "MAIN.err");
  const std::string image = testsupport::ReadFile(folder + "MAIN.bin");
  ASSERT_EQ(image.size(), 2u * 10u);

  state.SourceFile = folder + "MAIN.ASM";
  Start();
  Click("disassemblermnu");
  auto* dialog =
      dynamic_cast<monitor::Dissassamble_params*>(state.Forms.Get("Dissassamble_params"));
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->BINfile->text().toStdString(), folder + "MAIN.bin");
  EXPECT_EQ(dialog->XREFfile->text().toStdString(), folder + "MAIN.xrf");
  dialog->Command1->click();
  for (const char* ext : {"asm", "prt", "sym", "sta", "xrf"}) {
    EXPECT_TRUE(std::filesystem::exists(folder + "MAIN." + ext)) << ext;
  }

  // The same ROM characteristic file, but for the line naming the file itself.
  std::vector<std::string> ours = asmtest::CrlfLines(testsupport::ReadFile(folder + "MAIN.sta"));
  const std::vector<std::string> built =
      asmtest::CrlfLines(testsupport::ReadFile(folder + "MAIN.STA"));
  ASSERT_EQ(ours.size(), built.size());
  ASSERT_GT(ours.size(), 2u);
  EXPECT_NE(ours[1], built[1]);
  ours[1] = built[1];
  EXPECT_EQ(ours, built);

  // The disassembly builds the same image.
  testsupport::WriteFile(folder + "AGAIN.asm", testsupport::ReadFile(folder + "MAIN.asm"));
  ASSERT_EQ(Build(folder, "AGAIN"), 0) << testsupport::ReadFile(folder + "AGAIN.err");
  EXPECT_EQ(testsupport::ReadFile(folder + "AGAIN.bin"), image);
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
