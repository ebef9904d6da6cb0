// The about box and the tip of the day from the Help menu and at start-up,
// with real hives; the programmer's host form with a recording double.
#include <QApplication>
#include <QScreen>
#include <QTest>
#include <filesystem>

#include "core/main_module.h"
#include "debug/debug_forms.h"
#include "debug/tracewin.h"
#include "settings/mdl_registry.h"
#include "settings/registry_layout.h"
#include "tools_fixture.h"
#include "workbench/tools/frmabout.h"
#include "workbench/tools/frmtip.h"
#include "workbench/tools/pelto_host.h"
#include "workbench/tools/workbench_tools.h"

namespace {

using monitor::frmTip;
using toolstest::ToolsTest;

std::string Joined(const std::vector<QString>& lines) {
  std::string out;
  for (const QString& line : lines) out += "[" + line.toStdString() + "]";
  return out;
}

TEST(TipList, EveryLineIsATipAndASeededSourceReachesEachOne) {
  EXPECT_EQ(Joined(monitor::SplitTipLines("one\r\n\r\nthree\rfour\nfiv\xE9\r\n")),
            "[one][][three][four][fivé]");
  EXPECT_EQ(Joined(monitor::SplitTipLines("\nlast")), "[][last]");
  testsupport::TempDir dir;
  dir.write("five.txt", "a\nb\n\nd\ne\n");
  monitor::TipList tips;
  EXPECT_FALSE(tips.Load(dir.file("missing.txt")));
  ASSERT_TRUE(tips.Load(dir.file("five.txt")));
  tips.Seed(12345);
  std::vector<int> seen(7, 0);
  for (int i = 0; i < 200; ++i) ++seen[static_cast<size_t>(tips.PickNext())];
  EXPECT_TRUE(seen[0] == 0 && seen[6] == 0);
  for (int n = 1; n <= 5; ++n) EXPECT_GT(seen[static_cast<size_t>(n)], 10) << n;
}

TEST_F(ToolsTest, AboutShowsTheBuildsVersionAndSaysThereIsNoSystemInformation) {
  Start();  // a first start shows the tips (closed here)
  act = [](platform::Form& form) {
    auto& about = dynamic_cast<monitor::frmAbout&>(form);
    EXPECT_EQ(about.Caption(), "About Tavix");
    EXPECT_EQ(about.lblVersion->text(), "Version 1.0");
    EXPECT_EQ(about.lblTitle->text(), "Tavix");
    EXPECT_EQ(about.lblcompany->text(), "The Tavix project");
    EXPECT_EQ(about.lblcopyright->text(), "Copyright (C) The Tavix project. All rights reserved.");
    EXPECT_TRUE(about.lblDisclaimer->text().startsWith("Warning: "));
    about.cmdSysInfo->click();
    about.cmdOK->click();
  };
  Click("mnuabout");
  EXPECT_EQ(modal, (std::vector<std::string>{"frmTip", "frmAbout"}));
  EXPECT_EQ(boxes,
            (std::vector<std::string>{"Tavix|System Information Is Unavailable At This Time|0"}));
  EXPECT_FALSE(state.Forms.IsLoaded("frmAbout"));

  // The trace window's own Help and disassembler items are the main window's
  // commands.
  monitor::RegisterDebugForms(state);
  monitor::LoadTraceWindow(state);
  auto* trace = dynamic_cast<monitor::Tracewin*>(state.Forms.Get("Tracewin"));
  ASSERT_NE(trace, nullptr);
  act = nullptr;
  modal.clear();
  trace->Menus().Item("mnuabout")->trigger();
  trace->Menus().Item("mnuTips")->trigger();
  EXPECT_EQ(modal, (std::vector<std::string>{"frmAbout", "frmTip"}));
  EXPECT_TRUE(trace->Menus().Item("mnudissasm")->isEnabled());
}

TEST_F(ToolsTest, TipWindowWritesOnlyOnClickAndTheNextStartsObeyIt) {
  const std::vector<QString> shipped =
      monitor::SplitTipLines(testsupport::ReadFile(program.file("tipofday.txt")));
  ASSERT_GE(shipped.size(), 5u);
  std::vector<std::string> steps;
  std::vector<QPoint> centres;  // the tip's, as shown
  act = [&](platform::Form& form) {
    auto& tip = dynamic_cast<frmTip&>(form);
    tip.show();
    centres.push_back(tip.frameGeometry().center());
    EXPECT_EQ(tip.Caption(), "Tip of the Day");
    steps.push_back(UserSetting(monitor::kTavixKey, "Show Tips at Startup") + "," +
                    std::to_string(tip.chkLoadTipsAtStartup->isChecked()));
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(tip.lblTipText->text(), shipped.at(static_cast<size_t>(tip.Tips().Current()) - 1));
      tip.cmdNextTip->click();
    }
    tip.chkLoadTipsAtStartup->click();
    steps.push_back(UserSetting(monitor::kTavixKey, "Show Tips at Startup"));
    tip.cmdOK->click();
  };
  settings.seed = true;  // a main window at its place, not maximized
  settings.dwords = {{"left", 150}, {"top", 300}, {"width", 9000}, {"height", 6750}};
  Start();           // no value yet: the tips show, and ticking writes 1
  Click("mnuTips");  // still reachable; unticking writes 0
  EXPECT_EQ(steps, (std::vector<std::string>{",0", "1", "1,1", "0"}));
  EXPECT_FALSE(state.Forms.IsLoaded("frmTip"));

  // The next starts: none when ticked, none while minimized; unattended and
  // without a hook it returns at once.
  state.MainForm()->CloseFrame();
  mainModule.ReleaseInstanceLock();
  struct Started {
    monitor::MonitorState state;
    monitor::MainModule module{state};
  };
  auto startAgain = [&](int32_t showTips, int32_t windowState) {
    monitor::RegSetSetting(platform::HKEY_CURRENT_USER, monitor::kTavixKey, "Show Tips at Startup",
                           showTips, platform::REG_DWORD);
    monitor::RegSetSetting(platform::HKEY_CURRENT_USER, monitor::kMonitorWindowKey, "windowstate",
                           windowState, platform::REG_DWORD);
    modal.clear();
    auto next = std::make_unique<Started>();
    monitor::BindWorkbenchTools(next->state);
    EXPECT_TRUE(next->module.Main());
    return next;
  };
  // Centred on the main window at its place, and on the room a maximized one takes.
  const QRect room = QApplication::primaryScreen()->availableGeometry();
  if (auto maximized = startAgain(0, 2)) {
    QWidget* frame = maximized->state.MainForm();
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->frameGeometry() == room; }));
  }
  const QPoint placed = QRect(10, 20, 604, 454).center();  // with a 2-pixel decoration
  EXPECT_EQ(centres, (std::vector<QPoint>{placed, placed, room.center()}));
  startAgain(1, 0);
  EXPECT_TRUE(modal.empty());
  startAgain(0, 1);
  EXPECT_TRUE(modal.empty());
  platform::SetModalFormHook(nullptr);
  setenv("TAVIX_UNATTENDED", "1", 1);
  std::filesystem::remove(program.file("tipofday.txt"));
  auto last = startAgain(0, 0);
  auto* tip = dynamic_cast<frmTip*>(last->state.Forms.Get("frmTip"));
  ASSERT_NE(tip, nullptr);
  EXPECT_FALSE(tip->isVisible());
  tip->cmdNextTip->click();
  EXPECT_EQ(tip->lblTipText->text(), "That the tipofday.txt file was not found.");
}

// A recording double of the programmer control: what the host sets, and
// whether the host was shown by then.
class RecordingControl : public monitor::PeltoControl {
 public:
  RecordingControl(QWidget* host, std::vector<std::string>& log) : host_(host), log_(log) {}
  QWidget* Widget() override { return &panel; }
  void SetPadBytes(int16_t v) override { Log("PadBytes", std::to_string(v)); }
  void SetInBuffSize(int16_t v) override { Log("InBuffSize", std::to_string(v)); }
  void SetOutBuffSize(int16_t v) override { Log("OutBuffSize", std::to_string(v)); }
  std::string ActiveMicro() const override { return micro; }
  void SetActiveMicro(const std::string& v) override { Log("ActiveMicro", micro = v); }
  std::string ActiveFile() const override { return file; }
  void SetActiveFile(const std::string& v) override { Log("ActiveFile", file = v); }
  std::string micro, file;
  QWidget panel;

 private:
  void Log(const char* member, const std::string& v) {
    log_.push_back(std::string(member) + "=" + v + (host_->isVisible() ? " shown" : ""));
  }
  QWidget* host_;
  std::vector<std::string>& log_;
};

TEST_F(ToolsTest, ProgrammerHostSetsTheControlBeforeShowingAndKeepsItsChoice) {
  std::vector<std::string> log;
  RecordingControl* control = nullptr;
  monitor::BindPeltoHost(state, [&](QWidget* host) {
    auto made = std::make_unique<RecordingControl>(host, log);
    control = made.get();
    return made;
  });
  Start();
  Click("mnuMTP");
  // The key was missing: it is created, and the texts start empty.
  EXPECT_NE(registry.read("HKEY_CURRENT_USER.hive").find("[SOFTWARE\\Corvane\\PELTO Programmer]"),
            std::string::npos);
  EXPECT_EQ(log, (std::vector<std::string>{"PadBytes=2", "InBuffSize=8096", "OutBuffSize=8096",
                                           "ActiveMicro=", "ActiveFile="}));
  platform::Form* host = state.Forms.Get("Pelto");
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(QApplication::activeModalWidget(), host);
  EXPECT_EQ(host->centralWidget(), &control->panel);

  control->micro = "QV4234";
  control->file = work.file("main code.bin");
  host->close();
  EXPECT_EQ(UserSetting(monitor::kProgrammerKey, "ActiveMicro"), "QV4234");
  log.clear();
  Click("mnuMTP");
  EXPECT_EQ(log, (std::vector<std::string>{"PadBytes=2", "InBuffSize=8096", "OutBuffSize=8096",
                                           "ActiveMicro=QV4234",
                                           "ActiveFile=" + work.file("main code.bin")}));
}

}  // namespace
