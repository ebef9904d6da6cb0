// The panel as the user drives it against the simulated programmer: connect,
// download, the socket poll and the automatic program, the CRC light, the
// failing steps and the hidden settings page.
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <sys/stat.h>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

#include "pelto_link_fixture.h"

namespace peltotest {
namespace {

class PeltoPanelTest : public PeltoLinkTest {
 protected:
  void Click(const char* button) { Child<QAbstractButton>(button)->click(); }
  bool Enabled(const char* name) { return Child<QWidget>(name)->isEnabled(); }
  std::string Picture(const char* name) { return Text(name, "picture"); }
  long Colour(const char* name) { return Child<QWidget>(name)->property("ForeColor").toLongLong(); }
  // The frames, once `last` came after `first`.
  Lines FramesUntil(const std::string& first, const std::string& last) {
    Lines f;
    WaitFor([&] {
      f = programmer.FrameText();
      auto from = std::find(f.begin(), f.end(), first);
      return from != f.end() && std::find(from, f.end(), last) != f.end();
    });
    return f;
  }
};

TEST_F(PeltoPanelTest, AChipInsertedWhileIdleIsProgrammedAutomaticallyAndTheLightTurnsGreen) {
  dir.write("code.bin", "\x12\x34\xAB\xCD");
  MakeFor("QV4234", 20);
  Set("ActiveFile", QString::fromStdString(dir.file("code.bin")));
  EXPECT_EQ(Text("Text_CRCMaster").size(), 4u);
  EXPECT_FALSE(Enabled("Button_Download"));
  Click("Button_Connect");
  ASSERT_TRUE(Connected());
  EXPECT_FALSE(Enabled("Combo_CommSel"));
  EXPECT_TRUE(Enabled("Button_Program"));
  Click("Button_Download");
  EXPECT_EQ(Text("Text_CRCBox"), Text("Text_CRCMaster"));
  EXPECT_EQ(Picture("Pict_TraficLight"), "LightRed");  // the chip is still erased
  EXPECT_EQ(Text("Text_Status"), "CRC Error !");

  // Auto-CRC cannot join Auto-Program.
  Click("Check_AutoProg");
  Click("Check_AutoCRC");
  EXPECT_FALSE(Child<QCheckBox>("Check_AutoCRC")->isChecked());
  EXPECT_EQ(Picture("Button_Program"), "AutoProgramOn");

  // The socket empties, then a chip arrives at the next poll.
  programmer.InsertChipAtRead(2);
  programmer.ClearTranscript();
  ASSERT_TRUE(WaitFor([&] { return Picture("Pict_ChipPresent") == "ChipNone"; }));
  EXPECT_FALSE(Enabled("Button_Program"));
  QElapsedTimer clock;
  clock.start();
  qint64 seen = -1, programmed = -1;
  ASSERT_TRUE(WaitFor(
      [&] {
        if (seen < 0 && Picture("Pict_ChipPresent") == "ChipPresent") seen = clock.elapsed();
        const Lines frames = programmer.FrameText();
        if (programmed < 0 &&
            std::find(frames.begin(), frames.end(), "A6 00 10 00 01 02") != frames.end()) {
          programmed = clock.elapsed();
        }
        return programmed >= 0 && Picture("Pict_TraficLight") == "LightGreen";
      }));
  // The 1000 ms poll, then the 100 ms step, both at 20 %: never sooner.
  EXPECT_GE(programmed - seen, 200);
  const Lines frames = FramesUntil("A6 00 10 00 01 02", "A5 00 00 00 3C");
  auto from = std::find(frames.begin(), frames.end(), "A6 00 10 00 01 02");
  ASSERT_NE(from, frames.begin());
  EXPECT_EQ(*(from - 1), "A5 00 0B 00 01");
  Lines after;
  std::copy_if(from, frames.end(), std::back_inserter(after),
               [](const std::string& f) { return f != "A5 00 10 00 01"; });
  EXPECT_EQ(Lines(after.begin(), after.begin() + 4),
            (Lines{"A6 00 10 00 01 02", "A6 00 26 00 04 00 00 00 00", "A6 00 10 00 01 04",
                   "A5 00 00 00 3C"}));
  EXPECT_EQ(Text("Text_CRCDevice"), Text("Text_CRCMaster"));
  EXPECT_EQ(Colour("Text_CRCDevice"), 0x800000);
  EXPECT_EQ(Text("Text_Status"), "");
  EXPECT_TRUE(Enabled("Button_About"));
  // The chip stays: the next polls find it again and program nothing more.
  programmer.ClearTranscript();
  const Lines later = Frames(2);
  EXPECT_EQ(later, Lines(2, "A5 00 0B 00 01"));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(PeltoPanelTest, FailingStepsLeaveAUsablePanel) {
  MakeFor("QV4234", 5);
  dir.write("code.bin", "\x12\x34");
  Set("ActiveFile", QString::fromStdString(dir.file("code.bin")));
  Click("Button_Connect");
  ASSERT_TRUE(Connected());
  // A failed status read in Read Device CRC closes the link and connects again.
  programmer.SetShortReply(10);
  platform::SetMessageBoxHook([&](const std::string& text, const std::string&, unsigned) {
    boxes.push_back(text);
    if (text == "could not read the PELTO Status") {
      programmer.SetShortReply(-1);
      WaitFor([&] { return !programmer.Device().Attached(); });
    }
    return 1;
  });
  Click("Button_ReadDevCRC");
  EXPECT_EQ(boxes, (Lines{"Reception of data has timed out", "could not read the PELTO Status"}));
  EXPECT_TRUE(Connected());
  EXPECT_TRUE(Enabled("Button_ReadDevCRC"));

  // A programmed chip that reads back wrong: the red light.
  boxes.clear();
  programmer.CorruptChipByte(0, 0x01);
  Click("Button_Download");
  Click("Button_Program");
  EXPECT_EQ(Picture("Pict_TraficLight"), "LightRed");
  EXPECT_EQ(Text("Text_Status"), "CRC Error !");
  EXPECT_EQ(Colour("Text_CRCDevice"), 0xFF);
  EXPECT_NE(Text("Text_CRCDevice"), Text("Text_CRCMaster"));

  // The status read after a download fails: the panel is usable again.
  programmer.SetShortReply(10);
  Click("Button_Download");
  EXPECT_FALSE(Connected());
  EXPECT_TRUE(Enabled("Button_Connect"));
  EXPECT_FALSE(Enabled("Button_Download"));
  programmer.SetShortReply(-1);

  // Programming that never completes while CTS drops ends within its bound.
  ASSERT_TRUE(WaitFor([&] { return !programmer.Device().Attached(); }));
  Click("Button_Connect");
  ASSERT_TRUE(Connected());
  programmer.SetNeverCompletes(0x02, true);
  programmer.Device().After(150, [&] { programmer.SetCts(false); });
  Click("Button_Program");
  EXPECT_FALSE(Connected());
  EXPECT_TRUE(Enabled("Button_Connect"));
  EXPECT_FALSE(Enabled("Button_Program"));

  // A device CRC that never completes at connect is a failed link.
  programmer.SetCts(true);
  programmer.SetNeverCompletes(0x04, true);
  ASSERT_TRUE(WaitFor([&] { return !programmer.Device().Attached(); }));
  boxes.clear();
  Click("Button_Connect");
  EXPECT_FALSE(Connected());
  EXPECT_EQ(boxes, Lines{"General Communication problem"});
  EXPECT_EQ(Picture("Pict_ChipPresent"), "ChipUnknown");
}

TEST_F(PeltoPanelTest, APipeOrAFolderAsTheCodeFileGivesNoChecksumAndNoDownload) {
  MakeFor("QV4234", 5);
  dir.write("code.bin", "\x12\x34");
  Set("ActiveFile", QString::fromStdString(dir.file("code.bin")));
  Click("Button_Connect");
  ASSERT_TRUE(Connected());
  ASSERT_EQ(mkfifo(dir.file("pipe.bin").c_str(), 0600), 0);
  std::filesystem::create_directory(dir.file("folder.bin"));
  for (const char* name : {"pipe.bin", "folder.bin"}) {
    const QString path = QString::fromStdString(dir.file(name));
    Set("ActiveFile", path);
    EXPECT_EQ(Text("Text_Message"), "CRC cannot be calculated") << name;
    EXPECT_EQ(Text("Text_CRCMaster"), "") << name;
    EXPECT_EQ(Call<int>("CalculateCRC16_old", path, 4), -1) << name;
  }
  Click("Button_Download");
  EXPECT_EQ(boxes, Lines{"could not download program"});
  EXPECT_TRUE(Enabled("Button_Connect"));
}

TEST_F(PeltoPanelTest, WideTargetsConvertTheirRomFilesAndTheHiddenPageTakesItsAccessWord) {
  MakeFor("Tiny18");
  dir.write("prog.bin", "");
  Set("ActiveFile", QString::fromStdString(dir.file("prog.bin")));
  EXPECT_EQ(Text("Text_Message"), "no ROM file present !");
  EXPECT_FALSE(Enabled("Button_Connect"));
  dir.write("prog.rom", "1\n2\n");
  Set("ActiveFile", QString::fromStdString(dir.file("prog.rom")));
  EXPECT_TRUE(Enabled("Button_Connect"));
  EXPECT_EQ(Text("Text_ProgSize"), "2");
  EXPECT_EQ(Text("Text_CRCMaster").size(), 5u);

  // A ".rob" that cannot be replaced: the wait gives up and the poll goes on.
  MakeFor("Tiny22", 5);
  Click("Button_Connect");
  ASSERT_TRUE(Connected());
  std::filesystem::create_directories(dir.file("stuck.rob/inside"));
  dir.write("stuck.rom", "WIDTH=22\n5\n");
  Set("ActiveFile", QString::fromStdString(dir.file("stuck.rom")));
  EXPECT_EQ(Text("Text_Message"), "ROB file could not be created");
  programmer.ClearTranscript();
  EXPECT_EQ(Frames(1).front(), "A5 00 0B 00 01");

  // The access word shows the speed and voltage frames, case and all.
  auto* text1 = Child<QLineEdit>("Text1");
  const auto leave = [&](const char* typed) {
    text1->setText(typed);
    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(text1, &out);
  };
  leave("qv72xx");
  EXPECT_TRUE(Child<QWidget>("VPP")->isHidden());
  leave("QV72xx");
  EXPECT_FALSE(Child<QWidget>("VPP")->isHidden());
  EXPECT_FALSE(Child<QWidget>("Speed")->isHidden());
  EXPECT_EQ(text1->text(), "");
  EXPECT_TRUE(Child<QRadioButton>("Selspeed(1)")->isChecked());  // chosen at connect
  Call("UpdateState", short{3}, short{0});
  Call("UpdateState", short{1}, short{0});  // a held panel is idle again
  programmer.ClearTranscript();
  Call("UpdateState", short{3}, short{0});
  Child<QSlider>("Slider1")->setValue(5);
  EXPECT_EQ(Text("glVtn"), "15.5");
  EXPECT_TRUE(programmer.FrameText().empty());  // only while idle
  Call("UpdateState", short{1}, short{0});
  Child<QSlider>("Slider1")->setValue(4);
  Click("Selspeed(2)");
  Click("Option_StdAlone");
  const Lines frames = FramesUntil("A6 00 32 00 01 04", "A6 00 10 00 01 10");
  EXPECT_NE(std::find(frames.begin(), frames.end(), "A6 00 31 00 01 02"), frames.end());
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
}  // namespace peltotest
