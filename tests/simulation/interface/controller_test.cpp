// STDK42XX's controller list, module binding and forwarding, with real
// modules in program folders and their TAVIX.INI.
#include <gtest/gtest.h>
#include <platform/messagebox.h>
#include <temp_dir.h>

#include "target_client.h"

using namespace k42test;

namespace {

constexpr const char* kNotSelected = "Error V0010\nType of controller not selected";

class Controllers : public ::testing::Test {
 protected:
  void TearDown() override { Stdk::Get().UnloadInterface(0); }
  std::string getController(int n, int length, const std::string& folder, int32_t* result) {
    std::vector<char> buffer(static_cast<size_t>(std::max(length, 1)) + 8, '#');
    *result = Stdk::Get().GetController(n, buffer.data(), length, folder.c_str());
    return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
  }
  Records r;
  MessageLog log;
};

}  // namespace

TEST_F(Controllers, ListsTheNamesInSectionOrder) {
  testsupport::TempDir dir;
  dir.write("tavix.ini",
            "[ROM Sizes]\r\nA=1\r\n[controllers]\r\n; comment\r\nQV4228 = 42280000.DLL\r\n"
            "QV4111=42110000.DLL\r\nAVeryLongControllerNameIndeed=x\r\n");
  int32_t result;
  EXPECT_EQ(getController(1, 64, dir.path(), &result), "QV4228");
  EXPECT_EQ(result, 1);
  EXPECT_EQ(getController(2, 64, dir.path(), &result), "QV4111");
  EXPECT_EQ(result, 2);
  EXPECT_EQ(getController(3, 64, dir.path(), &result), "AVeryLongControllerNameIndeed");
  EXPECT_EQ(getController(4, 64, dir.path(), &result), "");
  EXPECT_EQ(result, -1);
  EXPECT_EQ(getController(0, 64, dir.path(), &result), "");
  EXPECT_EQ(result, -1);
  // A name that does not fit, and buffers shorter than the message itself.
  EXPECT_EQ(getController(3, 20, dir.path(), &result), "Name too long!");
  EXPECT_EQ(result, 3);
  EXPECT_EQ(getController(3, 6, dir.path(), &result), "Name ");
  EXPECT_EQ(getController(1, 6, dir.path(), &result), "Name ") << "6 characters do not fit in 6";
  EXPECT_EQ(getController(1, 7, dir.path(), &result), "QV4228");
  std::string untouched = getController(1, 0, dir.path(), &result);
  EXPECT_EQ(result, -1);
  EXPECT_EQ(untouched[0], '#');
  // The folder may end in '\' or in nothing.
  std::string folder = dir.path().substr(0, dir.path().size() - 1);
  EXPECT_EQ(getController(2, 64, folder, &result), "QV4111");
  EXPECT_EQ(getController(2, 64, folder + "\\", &result), "QV4111");
}

TEST_F(Controllers, MissingOrEmptySectionIsAnEmptyList) {
  testsupport::TempDir dir;
  int32_t result;
  std::string untouched = getController(0, 64, dir.path(), &result);
  EXPECT_EQ(result, 0) << "no TAVIX.INI";
  EXPECT_EQ(untouched[0], '#');
  EXPECT_EQ(getController(1, 64, dir.path(), &result), "");
  EXPECT_EQ(result, -1);
  dir.write("TAVIX.INI", "[Controllers]\n[ROM Sizes]\nX=1\n");
  getController(0, 64, dir.path(), &result);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(getController(1, 64, dir.path(), &result), "");
  EXPECT_EQ(result, -1);
}

TEST_F(Controllers, BindingKeepsOrReplacesTheModule) {
  EXPECT_EQ(Stdk::Get().SetController("NOBODY", 0, TEST_PROGRAM_FOLDER), -1);
  EXPECT_EQ(Stdk::Get().Instruction_Break(16), -1);
  UseTestChip();
  EXPECT_EQ(Stdk::Get().Instruction_Break(0), 0);
  // Not configured: the module stays.
  EXPECT_EQ(Stdk::Get().SetController("NOBODY", 0, TEST_PROGRAM_FOLDER), -1);
  EXPECT_EQ(Stdk::Get().Instruction_Break(2), 2);
  // Configured but not loadable: the old module is gone.
  EXPECT_EQ(Stdk::Get().SetController("missing", 0, TEST_PROGRAM_FOLDER), -1);
  EXPECT_EQ(Stdk::Get().Instruction_Break(16), -1);
  EXPECT_EQ(r.execute(0), -1);
  UseTestChip();
  EXPECT_EQ(Stdk::Get().UnloadInterface(0), -1);
  EXPECT_EQ(Stdk::Get().Monitor_Write(&r.cpu, r.program.data(), r.registers.data(), r.trace.data(), 5, 5), -1);
  EXPECT_EQ(Stdk::Get().InitInterface(nullptr), -1);
  EXPECT_EQ(Stdk::Get().SetControllerOptions("x"), -1);
  char buffer[8];
  EXPECT_EQ(Stdk::Get().GetControllerOptions(8, buffer), -1);
  EXPECT_EQ(r.reset(), -1);
  EXPECT_EQ(log.texts(), std::vector<std::string>(8, kNotSelected));
  for (const auto& box : log.boxes()) {
    EXPECT_EQ(box.title, "STDK42XX.DLL");
    EXPECT_EQ(box.style, platform::MB_OK | platform::MB_ICONERROR);
  }
}

TEST_F(Controllers, ForwardsToTheCompleteModule) {
  UseTestChip();
  EXPECT_EQ(Stdk::Get().InitInterface(nullptr), 0);
  EXPECT_EQ(Stdk::Get().SetControllerOptions("RC,32K"), 0);
  char buffer[5];
  EXPECT_EQ(Stdk::Get().GetControllerOptions(sizeof buffer, buffer), 4);
  EXPECT_STREQ(buffer, "RC,3");
  EXPECT_EQ(r.reset(), 0);
  EXPECT_EQ(r.write(7, 12), 12);
  EXPECT_EQ(r.reg(7), 12);
  EXPECT_TRUE(log.boxes().empty());
}

TEST_F(Controllers, MissingExportsOfAModule) {
  ASSERT_EQ(Stdk::Get().SetController("Partial", 0, TEST_PROGRAM_FOLDER), 0);
  EXPECT_EQ(r.reset(), 0) << "the module's 7 is not passed on";
  EXPECT_EQ(r.execute(16), 17);
  EXPECT_EQ(Stdk::Get().SetControllerOptions("x"), -1);
  char buffer[8];
  EXPECT_EQ(Stdk::Get().GetControllerOptions(8, buffer), -1);
  EXPECT_TRUE(log.boxes().empty()) << "missing option exports are silent";
  EXPECT_EQ(Stdk::Get().Instruction_Break(16), -1);
  ASSERT_EQ(Stdk::Get().SetController("bare", 0, TEST_PROGRAM_FOLDER), 0);
  EXPECT_EQ(r.execute(0), -1);
  EXPECT_EQ(r.reset(), -1);
  EXPECT_EQ(r.write(1, 1), -1);
  EXPECT_EQ(Stdk::Get().InitInterface(nullptr), -1);
  EXPECT_EQ(log.texts(), (std::vector<std::string>{
                             "Error V0011\nImpossible to find Instruction_Break function",
                             "Error V0011\nImpossible to find Execute function",
                             "Error V0011\nImpossible to find Instruction_Reset function",
                             "Error V0011\nImpossible to find Monitor_Write function",
                             "Error V0011\nImpossible to find InitInterface function"}));
}
