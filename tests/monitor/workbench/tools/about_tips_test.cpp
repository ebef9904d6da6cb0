// The about box and the tip of the day, from the main window's Help menu and
// at start-up, with real hives.
#include <QAction>
#include <QTest>
#include <filesystem>

#include "core/main_module.h"
#include "core/registry_settings.h"
#include "settings/load_settings.h"
#include "settings/mdl_registry.h"
#include "settings/registry_layout.h"
#include "tavix_version.h"
#include "temp_dir.h"
#include "tools_fixture.h"
#include "workbench/tools/frmabout.h"
#include "workbench/tools/frmtip.h"
#include "workbench/tools/workbench_tools.h"

namespace {

using monitor::frmTip;
using monitor::SplitTipLines;
using monitor::TipList;
using toolstest::ToolsTest;

std::vector<std::string> Strings(const std::vector<QString>& lines) {
  std::vector<std::string> out;
  for (const QString& line : lines) out.push_back(line.toStdString());
  return out;
}

TEST(TipList, LinesEndAtCrLfCrOrLfAndEveryLineIsATip) {
  EXPECT_EQ(Strings(SplitTipLines("one\r\n\r\nthree\rfour\nfive\r\n")),
            (std::vector<std::string>{"one", "", "three", "four", "five"}));
  EXPECT_EQ(Strings(SplitTipLines("last without end")),
            (std::vector<std::string>{"last without end"}));
  EXPECT_EQ(Strings(SplitTipLines("\n")), (std::vector<std::string>{""}));
  EXPECT_TRUE(SplitTipLines("").empty());
  EXPECT_EQ(SplitTipLines("caf\xE9")[0], QString::fromUtf8("café"));  // 8-bit characters

  testsupport::TempDir dir;
  TipList none;
  EXPECT_FALSE(none.Load(""));
  EXPECT_FALSE(none.Load(dir.file("missing.txt")));
  EXPECT_FALSE(none.Load(dir.path()));
  QString text = "kept";
  EXPECT_FALSE(none.CurrentText(text));
  EXPECT_EQ(text, "kept");

  dir.write("one.txt", "only tip\r\n");
  TipList one;
  ASSERT_TRUE(one.Load(dir.file("one.txt")));
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(one.PickNext(), 1);
    ASSERT_TRUE(one.CurrentText(text));
    EXPECT_EQ(text, "only tip");
  }

  // A seeded source reaches every tip of five, and only those.
  dir.write("five.txt", "a\nb\n\nd\ne\n");
  TipList five;
  five.Seed(12345);
  ASSERT_TRUE(five.Load(dir.file("five.txt")));
  std::vector<int> seen(7, 0);
  for (int i = 0; i < 200; ++i) ++seen[static_cast<size_t>(five.PickNext())];
  EXPECT_EQ(seen[0], 0);
  EXPECT_EQ(seen[6], 0);
  for (int n = 1; n <= 5; ++n) EXPECT_GT(seen[static_cast<size_t>(n)], 10) << n;
  TipList again;
  again.Seed(12345);
  again.Load(dir.file("five.txt"));
  five.Seed(12345);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(again.PickNext(), five.PickNext());
}

class AboutTipsTest : public ToolsTest {
 protected:
  std::string ShowTips() const { return UserSetting(monitor::kTavixKey, "Show Tips at Startup"); }
};

TEST_F(AboutTipsTest, AboutShowsTheBuildsVersionAndNoSystemInformation) {
  ScriptModal([](platform::Form& form) {
    if (auto* tip = dynamic_cast<frmTip*>(&form)) {
      tip->cmdOK_Click();
      return;
    }
    auto& about = dynamic_cast<monitor::frmAbout&>(form);
    EXPECT_EQ(about.Caption(), "About Tavix");
    EXPECT_EQ(about.lblVersion->text().toStdString(),
              "Version " + std::to_string(monitor::kVersionMajor) + "." +
                  std::to_string(monitor::kVersionMinor));
    EXPECT_EQ(about.lblTitle->text(), "Tavix");
    EXPECT_EQ(about.lblcompany->text(), monitor::kCompanyName);
    EXPECT_EQ(about.lblcopyright->text(), monitor::kLegalNotice);
    EXPECT_TRUE(about.lblDisclaimer->text().startsWith("Warning: "));
    EXPECT_FALSE(about.picIcon->pixmap().isNull());
    QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
    QTest::mouseClick(about.cmdOK, Qt::LeftButton);
  });
  Start();
  ASSERT_TRUE(state.MainForm()->Menu("mnuabout")->isEnabled());
  Click("mnuabout");
  EXPECT_EQ(modal, (std::vector<std::string>{"frmTip", "frmAbout"}));  // the first start shows tips
  EXPECT_EQ(boxes,
            (std::vector<std::string>{"Tavix|System Information Is Unavailable At This Time|0"}));
  EXPECT_FALSE(state.Forms.IsLoaded("frmAbout"));
  // No programmer control: MTP stays off.
  EXPECT_FALSE(state.MainForm()->Menu("mnuMTP")->isEnabled());
}

TEST_F(AboutTipsTest, TipWindowWritesOnlyOnClickAndTheNextStartObeysIt) {
  std::vector<std::string> shipped;
  for (const QString& line : SplitTipLines(testsupport::ReadFile(program.file("tipofday.txt")))) {
    shipped.push_back(line.toStdString());
  }
  ASSERT_GE(shipped.size(), 5u);
  std::vector<std::string> steps;
  ScriptModal([&](platform::Form& form) {
    auto& tip = dynamic_cast<frmTip&>(form);
    EXPECT_EQ(tip.Caption(), "Tip of the Day");
    const std::string first = tip.lblTipText->text().toStdString();
    EXPECT_NE(std::find(shipped.begin(), shipped.end(), first), shipped.end()) << first;
    steps.push_back("load " + ShowTips() + " box " +
                    std::to_string(tip.chkLoadTipsAtStartup->isChecked()));
    tip.Tips().Seed(7);
    for (int i = 0; i < 5; ++i) {
      QTest::mouseClick(tip.cmdNextTip, Qt::LeftButton);
      EXPECT_EQ(tip.lblTipText->text().toStdString(),
                shipped[static_cast<size_t>(tip.Tips().Current()) - 1]);
    }
    tip.chkLoadTipsAtStartup->click();
    steps.push_back("ticked " + ShowTips());
    tip.chkLoadTipsAtStartup->click();
    steps.push_back("unticked " + ShowTips());
    tip.chkLoadTipsAtStartup->click();
    QTest::mouseClick(tip.cmdOK, Qt::LeftButton);
  });
  Start();  // first start: no value, the tips show
  EXPECT_EQ(steps, (std::vector<std::string>{"load  box 0", "ticked 1", "unticked 0"}));
  EXPECT_EQ(ShowTips(), "1");
  EXPECT_FALSE(state.Forms.IsLoaded("frmTip"));

  // Help > Tip of the Day still opens it, with the box ticked.
  ScriptModal([&](platform::Form& form) {
    auto& tip = dynamic_cast<frmTip&>(form);
    EXPECT_TRUE(tip.chkLoadTipsAtStartup->isChecked());
    QTest::mouseClick(tip.cmdOK, Qt::LeftButton);
  });
  modal.clear();
  Click("mnuTips");
  EXPECT_EQ(modal, (std::vector<std::string>{"frmTip"}));
  EXPECT_EQ(ShowTips(), "1");

  // The next start shows none.
  state.MainForm()->CloseFrame();
  state.InstanceLock.reset();
  modal.clear();
  monitor::MonitorState second;
  monitor::BindRegistrySettings(second.Seams.settings);
  monitor::BindWorkbenchTools(second);
  ASSERT_TRUE(monitor::Main(second));
  EXPECT_TRUE(modal.empty());
}

TEST_F(AboutTipsTest, NoTipsWhileMinimizedUnattendedReturnsAtOnceAndAMissingFileIsSaid) {
  monitor::LoadSettings();
  monitor::RegSetSetting(platform::HKEY_CURRENT_USER, monitor::kMonitorWindowKey, "windowstate",
                         monitor::RegValue(1), platform::REG_DWORD);
  ScriptModal(nullptr);
  Start();
  EXPECT_TRUE(modal.empty());
  state.MainForm()->CloseFrame();
  state.InstanceLock.reset();

  // Unattended and without a hook, the start-up tip returns at once.
  platform::SetModalFormHook(nullptr);
  setenv("TAVIX_UNATTENDED", "1", 1);
  std::filesystem::remove(program.file("tipofday.txt"));
  monitor::MonitorState second;
  monitor::BindRegistrySettings(second.Seams.settings);
  monitor::BindWorkbenchTools(second);
  monitor::RegSetSetting(platform::HKEY_CURRENT_USER, monitor::kMonitorWindowKey, "windowstate",
                         monitor::RegValue(0), platform::REG_DWORD);
  ASSERT_TRUE(monitor::Main(second));
  auto* tip = dynamic_cast<frmTip*>(second.Forms.Get("frmTip"));
  ASSERT_NE(tip, nullptr);
  EXPECT_FALSE(tip->isVisible());
  EXPECT_EQ(tip->lblTipText->text(), "That the tipofday.txt file was not found.");
  tip->cmdNextTip_Click();
  EXPECT_EQ(tip->lblTipText->text(), "That the tipofday.txt file was not found.");
  EXPECT_EQ(ShowTips(), "");
}

}  // namespace
