// The programmer link: its start-up from the registry, the settings
// window's OK, Cancel and Default with the registry's texts, the line drops,
// and the send in buffered mode.
#include "mtp_fixture.h"
#include "protocol/frames.h"
#include "wait_until.h"

namespace {

using mtptest::Lines;
using mtptest::MtpTest;
using testsupport::WaitUntil;

class MtpLinkTest : public MtpTest {};

TEST_F(MtpLinkTest, StartUpOkCancelAndDefaultWithTheRegistrysTexts) {
  // A fresh registry: the window's load makes the key OK writes into.
  state.Forms.Load("MTPCOMM_FORM");
  EXPECT_NE(Machine().find("[SOFTWARE\\Corvane\\Tavix\\MTPCOMM]"), std::string::npos);
  EXPECT_EQ(Settings().MTP_comCombo->currentText(), "COM1");
  state.Forms.Unload("MTPCOMM_FORM");
  // A rate that is not in the list: nothing selected, nothing opened.
  StoreSettings(" 2", "38400", " 1");
  monitor::Mtp& panel = LoadPanel();
  monitor::MtpCommForm& settings = Settings();
  EXPECT_FALSE(settings.isVisible());
  EXPECT_EQ(settings.Caption(), "MTP Serial Interface Parameters");
  EXPECT_EQ(settings.MTP_baudcombo->currentIndex(), -1);
  EXPECT_EQ(settings.MTP_comCombo->currentText(), "COM3");
  EXPECT_TRUE(settings.MTP_buffcheck->isChecked());
  EXPECT_FALSE(comm.MTP_comm.PortOpen());
  EXPECT_EQ(comm.ProgrammerLinkState, 2);
  EXPECT_EQ(panel.Connection->text(), "&Connect");
  EXPECT_FALSE(panel.MTP_DOWNLOAD->isEnabled() || panel.Checkonline->isEnabled());

  // OK stores the three texts as they are written, and leaves the link closed.
  settings.MTP_baudcombo->setCurrentIndex(2);
  ClickOn(settings.MTP_buffcheck);
  ClickOn(settings.MTP_OK);
  EXPECT_EQ(comm.ProgrammerBaud, 14400);
  EXPECT_EQ(comm.ProgrammerBuffered, 0);
  EXPECT_NE(Machine().find("[SOFTWARE\\Corvane\\Tavix\\MTPCOMM]\n\"Com\"=sz:\" 2\"\n"
                           "\"Baud Rate\"=sz:\"14400\"\n\"Buffed\"=sz:\" 0\"\n"),
            std::string::npos)
      << Machine();
  EXPECT_FALSE(comm.MTP_comm.PortOpen());
  // A Connect the port refuses says so; the next one clears the text.
  programmer.SetRefuseHosts(true);
  ClickOn(panel.Connection);
  EXPECT_EQ(panel.Connection->text(), "&Connect");
  EXPECT_EQ(panel.Prgstatus->text(), "ERROR - Programmer not connected");
  EXPECT_EQ(monitor::Mtp::ForeColor(*panel.Prgstatus), monitor::Mtp::kRed);
  programmer.SetRefuseHosts(false);
  // Connect opens COM3 at the custom rate, DTR and RTS on.
  ClickOn(panel.Connection);
  EXPECT_EQ(comm.ProgrammerLinkState, 1);
  EXPECT_EQ(panel.Connection->text(), "&Disconnect");
  EXPECT_EQ(panel.Prgstatus->text(), "");
  EXPECT_EQ(programmer.Device().HostRate(), 14400);
  EXPECT_TRUE(programmer.Device().Dtr() && programmer.Device().Rts());
  EXPECT_TRUE(settings.MTP_DTRCheck->isChecked() && settings.MTP_RTSCheck->isChecked());
  EXPECT_FALSE(panel.CommOptions->isEnabled());

  // Cancel saves nothing; Default selects 19200 and COM1, disconnects and
  // saves nothing either; OK while connected disconnects first.
  const std::string stored = Machine();
  settings.MTP_comCombo->setCurrentIndex(0);
  ClickOn(settings.MTP_CANCEL);
  ClickOn(settings.MTP_RESET);
  EXPECT_EQ(settings.MTP_baudcombo->currentText() + settings.MTP_comCombo->currentText(),
            "19200COM1");
  EXPECT_EQ(comm.ProgrammerLinkState, 2);
  EXPECT_EQ(Machine(), stored);
  WaitDetached();
  ClickOn(panel.Connection);
  EXPECT_EQ(comm.ProgrammerLinkState, 1);
  EXPECT_EQ(comm.ProgrammerPort, 3);  // the port in use until OK
  ClickOn(settings.MTP_OK);
  EXPECT_EQ(comm.ProgrammerLinkState, 2);
  EXPECT_FALSE(comm.MTP_comm.PortOpen());
  EXPECT_NE(Machine().find("\"Com\"=sz:\" 0\"\n\"Baud Rate\"=sz:\"19200\"\n\"Buffed\"=sz:\" 0\"\n"),
            std::string::npos);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(MtpLinkTest, LineDropsCloseOrFailTheLink) {
  StoreSettings(" 2", "9600", "");
  monitor::Mtp& panel = LoadPanel();
  ASSERT_EQ(comm.ProgrammerLinkState, 1);
  // DSR drops with CTS on: the link closes.
  programmer.DropDsr(true);
  ASSERT_TRUE(WaitUntil([&] { return comm.ProgrammerLinkState == 2; }));
  EXPECT_EQ(panel.Connection->text(), "&Connect");
  EXPECT_FALSE(comm.MTP_comm.PortOpen());
  EXPECT_FALSE(Settings().MTP_DSRCheck->isChecked());

  // Both drop: failed, with a beep; the port stays open and the look too,
  // a disconnect keeps 7 and Connect then does nothing.
  programmer.SetDsr(true);
  WaitDetached();
  ClickOn(panel.Connection);
  ASSERT_EQ(comm.ProgrammerLinkState, 1);
  programmer.DropDsr(false);
  ASSERT_TRUE(WaitUntil([&] { return comm.ProgrammerLinkState == 7; }));
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(panel.Connection->text(), "&Disconnect");
  ClickOn(panel.Connection);
  ClickOn(panel.Connection);
  EXPECT_EQ(comm.ProgrammerLinkState, 7);
  EXPECT_FALSE(comm.MTP_comm.PortOpen());
  // The panel's next load leaves the failure.
  ClickOn(panel.CancelBut);
  programmer.SetCts(true);
  programmer.SetDsr(true);
  monitor::Mtp& again = LoadPanel();
  EXPECT_EQ(comm.ProgrammerLinkState, 2);
  WaitDetached();
  ClickOn(again.Connection);
  EXPECT_EQ(comm.ProgrammerLinkState, 1);
  // A panel opened on a link left open shows it open.
  ClickOn(again.CancelBut);
  monitor::Mtp& third = LoadPanel();
  EXPECT_EQ(third.Connection->text(), "&Disconnect");
  EXPECT_EQ(comm.ProgrammerLinkState, 1);

  // Buffered: the frame goes out byte by byte; a closed port fails with the box.
  comm.ProgrammerBuffered = 1;
  EXPECT_TRUE(prog.ProgrammerSend(protocol::CommandFrame(0x10)));
  ASSERT_TRUE(WaitUntil([&] { return programmer.FrameText().back() == "A6 00 10 00 01 10"; }));
  // A stalled output fails after the send's time instead of waiting for ever.
  programmer.SetHold(true);
  ExpectTimeouts();
  EXPECT_FALSE(prog.ProgrammerSend(protocol::CommandFrame(0x00)));
  programmer.SetHold(false);
  ClickOn(third.Connection);
  EXPECT_FALSE(prog.ProgrammerSend(protocol::CommandFrame(0x00)));
  EXPECT_EQ(boxes, (Lines{"|Communication Error timeout DSR |0",
                          "|Communication Error timeout DSR |0"}));
}

}  // namespace
