// The programmer's host form, driven with a recording double of the control.
#include "workbench/tools/pelto_host.h"

#include <QApplication>

#include "settings/mdl_registry.h"
#include "settings/registry_layout.h"
#include "tools_fixture.h"

namespace {

using monitor::PeltoControl;
using toolstest::ToolsTest;

// Records every member the host sets, and whether the host was visible then.
class RecordingControl : public PeltoControl {
 public:
  RecordingControl(QWidget* parent, std::vector<std::string>& log)
      : panel_(new QWidget(parent)), host_(parent), log_(log) {}
  QWidget* Widget() override { return panel_; }
  void SetPadBytes(int16_t v) override { Record("PadBytes=" + std::to_string(v)); }
  void SetInBuffSize(int16_t v) override { Record("InBuffSize=" + std::to_string(v)); }
  void SetOutBuffSize(int16_t v) override { Record("OutBuffSize=" + std::to_string(v)); }
  std::string ActiveMicro() const override { return micro; }
  void SetActiveMicro(const std::string& v) override {
    micro = v;
    Record("ActiveMicro=" + v);
  }
  std::string ActiveFile() const override { return file; }
  void SetActiveFile(const std::string& v) override {
    file = v;
    Record("ActiveFile=" + v);
  }
  std::string micro, file;

 private:
  void Record(const std::string& entry) {
    log_.push_back(entry + (host_->isVisible() ? " shown" : ""));
  }
  QWidget* panel_;
  QWidget* host_;
  std::vector<std::string>& log_;
};

TEST_F(ToolsTest, ProgrammerHostGivesTheControlItsSettingsBeforeShowingAndKeepsTheChoice) {
  std::vector<std::string> log;
  RecordingControl* control = nullptr;
  monitor::BindPeltoHost(state, [&](QWidget* parent) {
    auto made = std::make_unique<RecordingControl>(parent, log);
    control = made.get();
    return made;
  });
  Start();
  EXPECT_EQ(UserSetting(monitor::kProgrammerKey, "ActiveMicro"), "");
  ASSERT_TRUE(state.MainForm()->Menu("mnuMTP")->isEnabled());
  Click("mnuMTP");
  // The key was missing: created, and the control starts with empty texts.
  EXPECT_NE(Hive().find("[SOFTWARE\\Corvane\\PELTO Programmer]"), std::string::npos) << Hive();
  EXPECT_EQ(log, (std::vector<std::string>{"PadBytes=2", "InBuffSize=8096", "OutBuffSize=8096",
                                           "ActiveMicro=", "ActiveFile="}));
  platform::Form* host = state.Forms.Get("Pelto");
  ASSERT_NE(host, nullptr);
  EXPECT_TRUE(host->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), host);
  EXPECT_EQ(host->centralWidget(), control->Widget());

  // The user picks a target and a file; closing stores them.
  control->micro = "QV4234";
  control->file = work.file("main code.bin");
  host->close();
  EXPECT_FALSE(state.Forms.IsLoaded("Pelto"));
  EXPECT_EQ(UserSetting(monitor::kProgrammerKey, "ActiveMicro"), "QV4234");
  EXPECT_EQ(UserSetting(monitor::kProgrammerKey, "ActiveFile"), work.file("main code.bin"));

  log.clear();
  Click("mnuMTP");
  EXPECT_EQ(log, (std::vector<std::string>{"PadBytes=2", "InBuffSize=8096", "OutBuffSize=8096",
                                           "ActiveMicro=QV4234",
                                           "ActiveFile=" + work.file("main code.bin")}));
  state.Forms.Unload("Pelto");
}

}  // namespace
