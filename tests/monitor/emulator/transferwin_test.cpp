// The settings window: its load is the link's start-up, OK stores and
// reopens (and recovers), and the port's events move the link and session.
#include "emulator/transferwin.h"

#include <gtest/gtest.h>

#include <QAction>
#include <cstdlib>

#include "core/main_module.h"
#include "emulator/emulator_commands.h"
#include "emulator_fixture.h"
#include "platform/hooks.h"
#include "wait_until.h"

namespace {

using monitor::Transferwin;
using monitortest::EmulatorTest;
using Lines = std::vector<std::string>;

class TransferwinTest : public EmulatorTest {
 protected:
  ~TransferwinTest() override {
    unsetenv("TAVIX_COM3");
    unsetenv("TAVIX_COM4");
  }
  Transferwin& Window() {
    Link().Comm();
    return *Transferwin::Loaded(state);
  }
  std::string Machine() const { return registry.read("HKEY_LOCAL_MACHINE.hive"); }
};

TEST_F(TransferwinTest, LoadSelectsTheStoredEntriesAndOpensThePortHidden) {
  setenv("TAVIX_COM3", ice.Endpoint().c_str(), 1);
  StoreSettings(2, 38400, 1);
  Transferwin& window = Window();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.windowTitle(), "ICE Serial Interface Parameters");
  EXPECT_EQ(window.baudcombo->currentIndex(), 4);
  EXPECT_EQ(window.comCombo->currentText(), "COM3");
  EXPECT_EQ(state.LinkState, 1);
  EXPECT_EQ(state.LinkBuffered, 1);
  EXPECT_TRUE(window.Buffcheck->isChecked());
  EXPECT_TRUE(window.DTRCheck->isChecked() && window.RTSCheck->isChecked());
  EXPECT_EQ(ice.Device().HostRate(), 38400);
  // The input boxes follow the lines' events.
  ASSERT_TRUE(testsupport::WaitUntil([&] { return window.DSRCheck->isChecked(); }));
  EXPECT_TRUE(window.CTSCheck->isChecked());
  window.CTSCheck->click();
  EXPECT_TRUE(window.CTSCheck->isChecked());
}

TEST_F(TransferwinTest, OkStoresTheSettingsInANewKeyOnlyWithBothEntries) {
  Transferwin& window = Window();  // a fresh registry: COM1 and no rate
  EXPECT_EQ(window.baudcombo->currentIndex(), -1);
  EXPECT_EQ(state.LinkState, 2);
  EXPECT_FALSE(Link().Port().PortOpen());
  EXPECT_FALSE(window.CTSCheck->isChecked() || window.DSRCheck->isChecked());
  window.OKCommand->click();
  EXPECT_EQ(Machine().find("Communications"), std::string::npos);
  EXPECT_EQ(state.LinkState, 2);

  window.comCombo->setCurrentIndex(1);
  window.baudcombo->setCurrentIndex(3);
  window.OKCommand->click();
  EXPECT_EQ(state.LinkState, 1);
  EXPECT_EQ(ice.Device().HostRate(), 19200);
  EXPECT_NE(Machine().find("[SOFTWARE\\Corvane\\Tavix\\Communications]\n"
                           "\"Buffed\"=sz:\"0\"\n"
                           "\"Baud Rate\"=sz:\"19200\"\n"
                           "\"Com\"=sz:\"1\"\n"),
            std::string::npos)
      << Machine();
  EXPECT_TRUE(boxes.empty());
}

TEST_F(TransferwinTest, TheQuietOpenSendsNoLinkEventAndOkWithoutARateLeavesIt) {
  StoreSettings(1, 57600);  // a rate the list does not hold
  monitor::LoadCommSettings(Link());
  EXPECT_EQ(state.LinkState, 2);
  EXPECT_TRUE(Link().Port().PortOpen());
  EXPECT_EQ(ice.Device().HostRate(), 57600);
  Transferwin& window = *Transferwin::Loaded(state);
  EXPECT_EQ(window.baudcombo->currentIndex(), -1);
  EXPECT_TRUE(window.DTRCheck->isChecked());
  window.OKCommand->click();
  EXPECT_TRUE(Link().Port().PortOpen());
  EXPECT_EQ(state.LinkState, 2);
}

TEST_F(TransferwinTest, OkThatCannotOpenReportsOnceAndFallsBack) {
  StoreSettings(1, 38400);
  Transferwin& window = Window();
  setenv("TAVIX_COM4", "/nonexistent/tavix-port", 1);
  window.comCombo->setCurrentIndex(3);
  window.OKCommand->click();
  EXPECT_EQ(boxes, (Lines{"|Invalid COM port|48"}));
  EXPECT_EQ(state.LinkState, 1);  // the old port again
  EXPECT_EQ(window.comCombo->currentText(), "COM2");

  // A busy port, and the old one refused as well: one message, closed.
  testdevices::SimulatedIce busy;
  busy.SetRefuseHosts(true);
  setenv("TAVIX_COM3", busy.Endpoint().c_str(), 1);
  ice.SetRefuseHosts(true);
  boxes.clear();
  window.comCombo->setCurrentIndex(2);
  window.OKCommand->click();
  EXPECT_EQ(boxes, (Lines{"|Port unavailable|48"}));
  EXPECT_EQ(state.LinkState, 2);
  EXPECT_FALSE(Link().Port().PortOpen());
}

TEST_F(TransferwinTest, PortEventsMoveTheSessionAndTheLink) {
  Connect();
  // CD edges: running, then halted.
  state.TargetState = 14;
  ice.Device().SetCd(false);
  ASSERT_TRUE(WaitForSession(4));
  ice.Device().SetCd(true);
  ASSERT_TRUE(WaitForSession(12));
  state.TargetState = 2;

  // The handshake drops DSR on purpose: neither failure nor disconnect.
  Link().PollEmulator();
  testsupport::RunEventsFor(10);
  EXPECT_EQ(state.LinkState, 1);
  EXPECT_EQ(state.TargetState, 2);
  EXPECT_EQ(beeps, 0);

  // DSR drops with CTS off: the link fails, and the poll step recovers it.
  ice.DropDsr(false);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return state.LinkState == 7; }));
  EXPECT_EQ(beeps, 1);
  monitor::PollStep(state);
  EXPECT_EQ(state.LinkState, 1);
  EXPECT_EQ(state.TargetState, 2);

  // With CTS on, the session is disconnected.
  ice.Device().SetCts(true);
  ice.DropDsr(true);
  ASSERT_TRUE(WaitForSession(1));
  EXPECT_EQ(state.LinkState, 2);
}

TEST_F(TransferwinTest, IceConfigShowsTheWindowModally) {
  std::vector<std::string> shown;
  platform::SetModalFormHook([&](QWidget& form) {
    shown.push_back(form.objectName().toStdString());
    static_cast<Transferwin&>(form).CancelCommand->click();
  });
  Start();
  QAction* item = state.MainForm()->Menu("settingmnu");
  ASSERT_TRUE(item->isEnabled());
  item->trigger();
  EXPECT_EQ(shown, (Lines{"transferwin"}));
  EXPECT_FALSE(Transferwin::Loaded(state)->isVisible());
}

}  // namespace
