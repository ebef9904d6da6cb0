// The programming panel end to end: a project built by the real assembler,
// opened from the editor's menu, downloaded, programmed and compared on the
// simulated programmer; and the faults the programmer can show.
#include <QAction>
#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <unistd.h>

#include "mtp_fixture.h"
#include "platform/filenames.h"
#include "platform/hooks.h"
#include "program_fixture.h"
#include "protocol/frames.h"
#include "simulated_programmer.h"
#include "temp_dir.h"
#include "wait_until.h"
#include "workbench/frmnotepad.h"
#include "workbench/mdinote.h"
#include "workbench/workbench.h"

namespace {

using mtptest::Lines;
using mtptest::MtpTest;
using testdevices::HexBytes;
using testdevices::SimulatedProgrammer;

constexpr const char* kStatusRead = "A5 00 00 00 30";
constexpr const char* kPoll = "A5 00 10 00 01";
constexpr const char* kErrorCommand = "A6 00 10 00 01 01";

class MtpPanelTest : public MtpTest {
 protected:
  // A project on QV4128 whose source the real assembler builds; its image.
  std::vector<uint8_t> BuildProject() {
    paneltest::AssembleIn(project.path(), paneltest::kCountingFixture);
    state.ControllerName = "QV4128";
    state.SourceFile = project.path() + "FIXTURE.ASM";
    const std::string image =
        testsupport::ReadFile(platform::FindOrKeepPath(project.path() + "FIXTURE.BIN"));
    return {image.begin(), image.end()};
  }
  // The panel connected from the stored settings, its frames taken.
  monitor::Mtp& Connected() {
    StoreSettings(" 2", "9600", " 0");
    monitor::Mtp& panel = LoadPanel();
    EXPECT_EQ(comm.ProgrammerLinkState, 1);
    EXPECT_EQ(NewFrames(1), Lines{kStatusRead});
    return panel;
  }
  testsupport::TempDir project;
};

TEST_F(MtpPanelTest, TheEditorsMenuOpensThePanelThatProgramsTheBuiltProject) {
  const std::vector<uint8_t> image = BuildProject();
  ASSERT_GE(image.size(), 8u);
  StoreSettings(" 2", "9600", " 0");
  monitor::Workbench bench(state);
  monitor::BindWorkbench(bench);
  Start();
  EXPECT_FALSE(state.MainForm()->Menu("mnuMTP")->isEnabled());
  monitor::OpenNewEditor(bench);
  QAction* item = monitor::ActiveEditor(bench)->Menu("mnuMTP");
  ASSERT_TRUE(item->isEnabled());
  item->trigger();
  auto& panel = *static_cast<monitor::Mtp*>(state.Forms.Get("MTP"));
  EXPECT_TRUE(panel.isVisible());
  EXPECT_EQ(panel.Caption(), "MTP Interface");

  // Connected at load from the registry (COM3), on-line, ROM of 16 words.
  EXPECT_EQ(panel.Connection->text(), "&Disconnect");
  EXPECT_EQ(comm.ProgrammerLinkState, 1);
  EXPECT_TRUE(panel.Checkonline->isChecked() && panel.MTP_DOWNLOAD->isEnabled());
  EXPECT_EQ(panel.instrbits->text() + "|" + panel.nbblocks->text() + "|" + panel.blocksize->text() +
                "|" + panel.Label4->text(),
            "16|2|8| 16");
  // The image as the programmer gets it: complemented, low byte first.
  std::vector<uint8_t> data(32, 0xFF);
  for (size_t i = 0; i + 1 < image.size() && i < 32; i += 2) {
    data[i] = static_cast<uint8_t>(~image[i + 1]);
    data[i + 1] = static_cast<uint8_t>(~image[i]);
  }
  const std::string sum = QString("%1")
                              .arg(SimulatedProgrammer::Signature(data.data(), 16), 4, 16, QChar('0'))
                              .toUpper()
                              .toStdString();
  EXPECT_EQ(panel.Label9->text().toStdString(), sum);

  ClickOn(panel.MTP_DOWNLOAD);
  EXPECT_EQ(panel.Prgstatus->text(), "Transfer terminated");
  ClickOn(panel.Progbut);
  EXPECT_EQ(panel.Prgstatus->text(), "Device Programmed correctly");
  EXPECT_EQ(monitor::Mtp::ForeColor(*panel.Prgstatus), monitor::Mtp::kTeal);
  ClickOn(panel.ReadCRC);
  EXPECT_EQ(panel.Prgstatus->text(), "CRC's Identical");
  EXPECT_EQ(panel.Label13->text().toStdString(), sum);
  EXPECT_EQ(panel.Label14->text().toStdString(), sum);

  EXPECT_EQ(programmer.FrameText(),
            (Lines{kStatusRead,
                   // Download: the parameters (the link opened at load), the image, its sum.
                   "A6 00 00 00 07 10 00 00 10 02 00 00", "A6 01 00 00 20 " + HexBytes(data),
                   "A6 00 10 00 01 08", kPoll, kStatusRead,
                   // Program: clear, program, device sum.
                   "A6 00 26 00 04 00 00 00 00", "A6 00 10 00 01 02", kPoll, "A6 00 10 00 01 04",
                   kPoll, kStatusRead,
                   // Update.
                   "A6 00 10 00 01 04", kPoll, kStatusRead}));
  EXPECT_EQ(programmer.Chip(32), data);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(MtpPanelTest, TheWorkedChecksumAndTheProgrammersFaults) {
  project.write("w.bin", std::string("\x12\x34", 2));
  monitor::Mtp& panel = Connected();
  panel.MTP_BINsource->setText(QString::fromStdString(project.file("w.bin")));
  panel.blocksize->setText("2");
  EXPECT_EQ(panel.Label4->text(), " 4");
  EXPECT_EQ(panel.Label9->text(), "434B");
  programmer.SetBusyPolls(SimulatedProgrammer::kProgrammerCrc, 2);
  ClickOn(panel.MTP_DOWNLOAD);
  EXPECT_EQ(panel.Label13->text(), "434B");
  EXPECT_EQ(NewFrames(7)[1], "A6 01 00 00 08 CB ED FF FF FF FF FF FF");

  // During Program's wait, a second operation and a direct send are refused.
  programmer.SetBusyPolls(SimulatedProgrammer::kProgram, 3);
  std::optional<bool> nested;
  bool unloaded = true;
  QString notice;
  const auto whileWaiting = [&](const std::function<void()>& step) {
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      if (panel.Prgstatus->text().endsWith('.')) step();
    });
    timer.start(0);
    ClickOn(panel.Progbut);
  };
  whileWaiting([&] {  // from the first dot of the wait
    if (nested) return;
    panel.MTP_DOWNLOAD_Click();
    nested = prog.ProgrammerSend(protocol::CommandFrame(0x00));
    unloaded = state.Forms.Unload(&panel);
    notice = panel.Prgstatus->text() + (monitor::Mtp::ForeColor(*panel.Prgstatus) ==
                                                monitor::Mtp::kRed ? " (red)" : "");
  });
  EXPECT_EQ(nested, false);
  EXPECT_FALSE(unloaded);
  EXPECT_EQ(notice, "WARNING - Operation running: Exit when it ends (red)");
  EXPECT_EQ(panel.Prgstatus->text(), "Device Programmed correctly");
  EXPECT_EQ(NewFrames(9), (Lines{"A6 00 26 00 04 00 00 00 00", "A6 00 10 00 01 02", kPoll, kPoll,
                                kPoll, kPoll, "A6 00 10 00 01 04", kPoll, kStatusRead}));
  // Answers longer than asked are read from their start.
  programmer.SetExtraReply({0x12, 0x34});
  ClickOn(panel.ReadCRC);
  EXPECT_EQ(panel.Prgstatus->text(), "CRC's Identical");
  programmer.SetExtraReply({});

  // The chip corrupts a byte: red, and the error command.
  programmer.CorruptChipByte(3, 0x40);
  ClickOn(panel.Progbut);
  EXPECT_EQ(panel.Prgstatus->text(), "ERROR - CRC difference");
  EXPECT_EQ(monitor::Mtp::ForeColor(*panel.Prgstatus), monitor::Mtp::kRed);
  EXPECT_EQ(monitor::Mtp::ForeColor(*panel.Label14), monitor::Mtp::kRed);
  EXPECT_TRUE(FramesEndWith(kErrorCommand));
  programmer.CorruptChipByte(-1, 0);
  // No chip in the socket: it reads erased.
  programmer.SetChipPresent(false);
  ClickOn(panel.ReadCRC);
  EXPECT_EQ(panel.Prgstatus->text(), "WARNING - CRC's different");
  EXPECT_TRUE(FramesEndWith(kErrorCommand));
  programmer.SetChipPresent(true);

  // A programming that never completes: 63 polls, then the time-out.
  // Its dots are cut at the window's edge and leave the window as wide as it was.
  programmer.SetNeverCompletes(SimulatedProgrammer::kProgram, true);
  const int polls = programmer.Polls(), width = panel.width();
  int widest = 0;
  whileWaiting([&] {
    QCoreApplication::sendPostedEvents();
    widest = std::max({widest, panel.width(), panel.Prgstatus->geometry().right()});
  });
  EXPECT_EQ(programmer.Polls() - polls, 63);
  EXPECT_EQ(panel.Prgstatus->text(), "ERROR - Timeout Programming Device");
  EXPECT_EQ(widest, width);
  EXPECT_TRUE(FramesEndWith(kErrorCommand));
  EXPECT_TRUE(panel.Progbut->isEnabled() && panel.Connection->isEnabled());
  EXPECT_EQ(programmer.Errors(), 3);
  EXPECT_TRUE(boxes.empty());

  // A read that is never answered: the box, an empty answer, the link down
  // and the panel with it; the error command then finds the port closed.
  programmer.SetSilent(true);
  ExpectTimeouts();
  ClickOn(panel.ReadCRC);
  EXPECT_EQ(panel.Prgstatus->text(), "ERROR - Timeout Reading Device CRC");
  EXPECT_EQ(boxes, (Lines{"|Reception of data timer out|0", "|Communication Error timeout DSR |0"}));
  EXPECT_EQ(comm.ProgrammerLinkState, 2);
  EXPECT_EQ(panel.Connection->text(), "&Connect");
  EXPECT_TRUE(panel.Connection->isEnabled());
  EXPECT_FALSE(panel.ReadCRC->isEnabled() || panel.Checkonline->isEnabled());
  EXPECT_EQ(NewFrames(2), (Lines{"A6 00 10 00 01 04", kPoll}));
}

TEST_F(MtpPanelTest, ParametersModesAndTheCodeImage) {
  monitor::Mtp& panel = Connected();
  const auto params = [&](const char* controller) {
    panel.ComboTargCon->setCurrentText(controller);
    panel.ComboTargCon_Change();
    return (panel.instrbits->text() + "|" + panel.nbblocks->text() + "|" +
            panel.blocksize->text() + "|" + panel.Label4->text())
        .toStdString();
  };
  EXPECT_EQ(params("QV4234"), "12|4|512| 2048");
  EXPECT_EQ(params("QV4112"), "8|2|512| 1024");   // one field: two blocks
  EXPECT_EQ(params("QV4999"), "16|2|512| 1024");  // no entry: the block size stays
  // The modes send their commands; stand-alone takes the transfers away.
  ClickOn(panel.CheckStandalone);
  EXPECT_FALSE(panel.Checkonline->isChecked() || panel.MTP_DOWNLOAD->isEnabled());
  ClickOn(panel.Checkonline);
  EXPECT_TRUE(panel.MTP_DOWNLOAD->isEnabled() && !panel.CheckStandalone->isChecked());
  EXPECT_EQ(NewFrames(2), (Lines{"A6 00 10 00 01 10", "A6 00 10 00 01 00"}));
  ClickOn(panel.Check_ML);
  ClickOn(panel.Check_MH);
  EXPECT_TRUE(panel.Check_MH->isChecked() && !panel.Check_ML->isChecked());
  // Browse: on only while the source box has the focus; a cancel changes nothing.
  panel.activateWindow();
  panel.MTP_BINsource->setFocus();
  EXPECT_TRUE(testsupport::WaitUntil([&] { return panel.Browse->isEnabled(); }));
  project.write("w.bin", std::string("\x12\x34", 2));
  for (const std::string& answer : {std::string(), project.file("w.bin")}) {
    platform::SetDialogHook([&](platform::CommonDialog& dialog, platform::CommonDialog::Action) {
      dialog.FileName = answer;
      return !answer.empty();
    });
    ClickOn(panel.Browse);
  }
  EXPECT_EQ(panel.MTP_BINsource->text().toStdString(), project.file("w.bin"));
  EXPECT_EQ(panel.Label9->text().size(), 4);
  panel.instrbits->setFocus();
  EXPECT_TRUE(testsupport::WaitUntil([&] { return !panel.Browse->isEnabled(); }));

  // A block count past its byte: nothing but the error command.
  panel.ComboTargCon->setCurrentText("QV4111");
  panel.ComboTargCon_Change();
  EXPECT_EQ(panel.nbblocks->text(), "300");
  ClickOn(panel.MTP_DOWNLOAD);
  EXPECT_EQ(panel.Prgstatus->text(), "ERROR - Transfering ROM parameters");
  EXPECT_EQ(NewFrames(1), Lines{kErrorCommand});
  // An image too large for its count: the warning, nothing sent.
  panel.nbblocks->setText("8");
  panel.blocksize->setText("8192");
  EXPECT_EQ(panel.Label4->text(), " 65536");
  panel.MTP_BINsource->setText(QString::fromStdString(project.file("none.bin")));
  EXPECT_EQ(panel.Label9->text(), "");
  panel.padbits->setText("0");
  ClickOn(panel.MTP_DOWNLOAD);
  EXPECT_EQ(boxes.back(), "|Invalid value for source file padding|0");
  panel.padbits->setText("16");
  ClickOn(panel.MTP_DOWNLOAD);
  EXPECT_EQ(boxes.back(), "Warning|Unable to find Debug information file|48");
  const std::string parameters = "A6 00 00 00 07 10 00 40 00 08 00 01";  // MH
  EXPECT_EQ(NewFrames(4), (Lines{parameters, kErrorCommand, parameters, kErrorCommand}));
  // A file past the largest image sends its head.
  project.write("huge.bin", std::string(34, '\x5A'));
  ASSERT_EQ(truncate(project.file("huge.bin").c_str(), off_t{300} << 20), 0);  // sparse
  panel.nbblocks->setText("2");
  panel.blocksize->setText("8");
  panel.MTP_BINsource->setText(QString::fromStdString(project.file("huge.bin")));
  ClickOn(panel.MTP_DOWNLOAD);
  EXPECT_EQ(NewFrames(2)[1], "A6 01 00 00 20 " + HexBytes(std::vector<uint8_t>(32, 0xA5)));
}

}  // namespace
