// Emulation > MTP with the real programmer control from the program folder,
// against the simulated device programmer: a file built by the real
// assembler is downloaded, programmed and verified to the green light, and
// closing the form keeps the target, the file and the port.
#include <QAbstractButton>
#include <QApplication>
#include <cstdlib>
#include <tuple>

#include "platform/library.h"
#include "platform/registry.h"
#include "settings/mdl_registry.h"
#include "settings/registry_layout.h"
#include "simulated_programmer.h"
#include "tools_fixture.h"
#include "workbench/tools/pelto_binding.h"

namespace {

using PeltoHostTest = toolstest::ToolsTest;

void Press(QWidget* control, const char* button) {
  control->findChild<QAbstractButton*>(button)->click();
}
std::string Shown(QWidget* control, const char* name, const char* property = "text") {
  return control->findChild<QWidget*>(name)->property(property).toString().toStdString();
}

TEST_F(PeltoHostTest, MtpOpensTheRealControlWhichProgramsAChipToTheGreenLight) {
  testdevices::SimulatedProgrammer programmer;
  setenv("TAVIX_COM2", programmer.Endpoint().c_str(), 1);
  for (const char* name : {"Pelto.so", "STD73XX.so", "Corvane.spec"}) LinkFromDist(name);
  work.write("road.asm", "START:  LDI 7\r\n        STA 20H\r\nDONE:   JMP DONE\r\n");
  const std::string build = "cd '" + work.path() + "' && TAVIX_LINK_DIR='" + link.path() +
                            "' '" + TAVIX_DIST_DIR + "K42xxasm' /D/sroad >/dev/null 2>&1";
  ASSERT_EQ(std::system(build.c_str()), 0);
  for (auto [root, name, value] : {std::tuple{platform::HKEY_CURRENT_USER, "ActiveMicro",
                                              monitor::RegValue("QV4234")},
                                   {platform::HKEY_LOCAL_MACHINE, "CommPortIndex", 1}}) {
    monitor::RegCreateKeyPath(root, monitor::kProgrammerKey);
    monitor::RegSetSetting(root, monitor::kProgrammerKey, name, value,
                           value.IsText() ? platform::REG_SZ : platform::REG_DWORD);
  }

  monitor::BindPeltoHost(state, monitor::PeltoLibraryFactory(program.path()));
  Start();
  ASSERT_TRUE(state.MainForm()->Menu("mnuMTP")->isEnabled());
  Click("mnuMTP");
  platform::Form* host = state.Forms.Get("Pelto");
  ASSERT_NE(host, nullptr);
  QWidget* control = host->centralWidget();
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->property("ActiveMicro").toString(), "QV4234");
  EXPECT_EQ(control->property("PadBytes").toInt(), 2);
  EXPECT_EQ(control->property("InBuffSize").toInt(), 8096);
  reinterpret_cast<void (*)(QWidget*, int)>(platform::GetProcAddress(
      platform::LoadLibrary("Pelto", program.path()), "PeltoControl_TimePercent"))(control, 10);

  // The control's own file dialog and help reach the program's hooks.
  answers = {work.file("road.bin")};
  Press(control, "Button_Browse");
  EXPECT_EQ(dialogs.back(), "CommonDialog1||Binary Files (*.bin)|*.bin|All Files (*.*)|*.*||1|on");
  EXPECT_EQ(control->property("ActiveFile").toString().toStdString(), work.file("road.bin"));
  Press(control, "Button_Index");
  ASSERT_FALSE(opened.empty());
  EXPECT_NE(opened.back().find("Peltoprog.hlp"), std::string::npos);

  Press(control, "Button_Connect");
  EXPECT_EQ(Shown(control, "Button_Connect", "picture"), "Connected");
  EXPECT_FALSE(control->findChild<QWidget*>("Combo_CommSel")->isEnabled());
  Press(control, "Button_Download");
  Press(control, "Button_Program");
  EXPECT_EQ(Shown(control, "Pict_TraficLight", "picture"), "LightGreen");
  EXPECT_EQ(Shown(control, "Text_CRCDevice"), Shown(control, "Text_CRCMaster"));
  EXPECT_EQ(Shown(control, "Text_CRCBox"), Shown(control, "Text_CRCMaster"));
  EXPECT_EQ(Shown(control, "Text_ProgSize"), "3");

  host->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(UserSetting(monitor::kProgrammerKey, "ActiveMicro"), "QV4234");
  EXPECT_EQ(UserSetting(monitor::kProgrammerKey, "ActiveFile"), work.file("road.bin"));
  const std::string machine = registry.read("HKEY_LOCAL_MACHINE.hive");
  EXPECT_NE(machine.find("\"CommPortIndex\"=dword:00000001"), std::string::npos) << machine;
  EXPECT_NE(machine.find("\"BaudRateIndex\"=dword:00000000"), std::string::npos) << machine;
  unsetenv("TAVIX_COM2");
}

TEST_F(PeltoHostTest, WithoutTheLibraryMtpStaysDisabledAndSilent) {
  monitor::BindPeltoHost(state, monitor::PeltoLibraryFactory(program.path()));
  Start();
  EXPECT_FALSE(state.MainForm()->Menu("mnuMTP")->isEnabled());
  Click("mnuMTP");
  EXPECT_EQ(state.Forms.Get("Pelto"), nullptr);
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
