// The control's transfers against the simulated device programmer: the
// frames of every width byte for byte, the status texts, the progress, the
// commands' completion.
#include <QProgressBar>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <unistd.h>

#include "pelto_link_fixture.h"

namespace peltotest {
namespace {

TEST_F(PeltoLinkTest, FramesFollowTheTargetsWidthByteForByte) {
  MakeFor("Tiny16");
  dir.write("three.bin", "\x12\x34\x56");
  Set("ActiveFile", QString::fromStdString(dir.file("three.bin")));
  ConnectAndHold();
  EXPECT_EQ(Call("UpdateEraseTime"), 0);
  EXPECT_EQ(Call("UpdateROMParams"), 0);
  EXPECT_EQ(Call("UpdateROMData"), 0);
  // One word, complemented and swapped; the odd byte is dropped.
  EXPECT_EQ(Frames(3),
            (Lines{"A6 00 0C 00 01 64", "A6 00 00 00 07 10 00 00 08 01 00 00",
                   "A6 01 00 00 08 CB ED FF FF FF FF FF FF"}));
  // A file longer than the frame stops at its N data bytes.
  dir.write("long.bin", std::string("\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A", 11));
  Set("ActiveFile", QString::fromStdString(dir.file("long.bin")));
  programmer.ClearTranscript();
  EXPECT_EQ(Call("UpdateROMData"), 0);
  EXPECT_EQ(Frames(1), (Lines{"A6 01 00 00 08 FE FF FC FD FA FB F8 F9"}));
  programmer.ClearTranscript();

  // 22 bits: erase time 2, the image at 0 with its own frame code, the
  // complemented file or, once converted, the ".rob" words as they are.
  Set("ActiveMicro", QString("Tiny22"));
  dir.write("w22.bin", "\x01\x02\x03");
  Set("ActiveFile", QString::fromStdString(dir.file("w22.bin")));
  EXPECT_EQ(Text("Text_Message"), "no ROM file present !");
  EXPECT_EQ(Call("UpdateEraseTime"), 0);
  EXPECT_EQ(Call("UpdateROMData"), 0);
  dir.write("w22.rom", "WIDTH=22\r\n0\r\n3FFFFF\r\n\r\n123456\r\n");
  Set("ActiveFile", QString::fromStdString(dir.file("w22.rom")));
  EXPECT_EQ(dir.read("w22.rob"), std::string("\x3F\xFF\xFF\x00\x00\x00\x2D\xCB\xA9", 9));
  EXPECT_EQ(Call("UpdateROMData"), 0);
  Set("ActiveMicro", QString("Tiny18"));
  dir.write("w18.rom", "1\n");
  Set("ActiveFile", QString::fromStdString(dir.file("w18.rom")));
  EXPECT_EQ(Call("UpdateROMData"), 0);
  EXPECT_EQ(Frames(4),
            (Lines{"A6 00 0C 00 01 02", "A7 00 00 00 0C FC FD FE FF FF 3F FF FF 3F FF FF 3F",
                   "A7 00 00 00 0C FF FF 3F 00 00 00 A9 CB 2D FF FF 3F",
                   "A6 01 00 00 06 FE FF 03 FF 9F 02"}));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(PeltoLinkTest, StatusTextsProgressAndModeFollowThePaddingRules) {
  MakeFor("Tiny18");
  ConnectAndHold();
  programmer.SetBytes(16, {0x02});
  programmer.SetBytes(34, {0x01, 0x2A, 0x03, 0x44, 0x55, 0x66, 0x07, 0x88});
  programmer.SetBytes(45, {0x9A, 0x0B, 0x0C, 0xF0});
  const auto status = [&](short padBytes) {
    Set("PadBytes", QVariant::fromValue(padBytes));
    EXPECT_EQ(Call("GetPELTOStatus"), 0);
    return Text("Text_CRCBox") + " " + Text("Text_CRCDevice") + " " + Text("Text_LastInstruction");
  };
  EXPECT_EQ(status(3), "012A3 55667 9A0BC");  // the third byte unpadded below 20 bits
  EXPECT_TRUE(Child<QRadioButton>("Option_OnLine")->isChecked());
  EXPECT_EQ(status(4), "012A44 556688 9A0BF0");  // bytes 34, 35 and 37
  EXPECT_EQ(status(2), "012A 5566 9A0B");
  Set("ActiveMicro", QString("Tiny22"));
  programmer.SetBytes(16, {0x10});
  EXPECT_EQ(status(3), "012A03 556607 9A0B0C");
  EXPECT_TRUE(Child<QRadioButton>("Option_StdAlone")->isChecked());
  EXPECT_EQ(Frames(4), Lines(4, "A5 00 00 00 3C"));

  // 100 bytes show no progress; 101 run it over 0..100 and back to 0.
  auto* bar = Child<QProgressBar>("ProgBar");
  int highest = 0;
  QObject::connect(bar, &QProgressBar::valueChanged,
                   [&](int value) { highest = std::max(highest, value); });
  EXPECT_EQ(Call("send_PELTO_data", QByteArray(100, '\x3C'), short{100}), 0);
  EXPECT_EQ(highest, 0);
  EXPECT_EQ(Call("send_PELTO_data", QByteArray(101, '\x3C'), short{101}), 0);
  EXPECT_EQ(highest, 100);
  EXPECT_EQ(bar->maximum(), 100);
  EXPECT_EQ(bar->value(), 0);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(PeltoLinkTest, CommandsCompleteAndTheFileChecksumsAgreeWithTheProgrammer) {
  testsupport::TempDir source;
  source.write("road.asm", "START:  LDI 7\r\n        STA 20H\r\nDONE:   JMP DONE\r\n");
  const std::string command = "cd '" + source.path() + "' && TAVIX_LINK_DIR='" + source.path() +
                              "link' '" + TAVIX_DIST_DIR + "K42xxasm' /D/sroad >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << source.read("road.err");
  MakeFor("QV4234");
  Set("ActiveFile", QString::fromStdString(source.file("road.bin")));
  EXPECT_EQ(Text("Text_ProgSize"), "3");
  ConnectAndHold();
  const int polls = programmer.Polls();
  programmer.SetBusyPolls(0x02, 2);
  EXPECT_EQ(Call("UpdateROMParams"), 0);
  EXPECT_EQ(Call("UpdateROMData"), 0);
  EXPECT_EQ(Call("ProgramDevice"), 0);
  EXPECT_EQ(Call("RequestRAMCRC"), 0);
  EXPECT_EQ(Call("RequestDevCRC"), 0);
  EXPECT_EQ(Call("RequestLastInstruction"), 0);
  EXPECT_EQ(Call("GetPELTOStatus"), 0);
  EXPECT_EQ(programmer.Polls() - polls, 7);  // the status block covers the command byte too
  EXPECT_EQ(Text("Text_CRCBox"), Text("Text_CRCMaster"));
  EXPECT_EQ(Text("Text_CRCDevice"), Text("Text_CRCMaster"));
  EXPECT_EQ(Text("Text_LastInstruction"), "FFFF");
  EXPECT_EQ(Text("Text_Status"), "");
  const Lines frames = Frames(13);
  EXPECT_EQ(frames[2], "A6 00 10 00 01 02");
  EXPECT_EQ(Lines(frames.end() - 6, frames.end()),
            (Lines{"A6 00 10 00 01 04", "A5 00 10 00 01", "A6 00 2D 00 04 80 80 80 80",
                   "A6 00 10 00 01 03", "A5 00 10 00 01", "A5 00 00 00 3C"}));

  // 22 bits through the stand-in's conversion: Master, Programmer and Device.
  Set("ActiveMicro", QString("Tiny22"));
  dir.write("w22.rom", "WIDTH=22\n2A\n3FFF00\n");
  Set("ActiveFile", QString::fromStdString(dir.file("w22.rom")));
  EXPECT_EQ(Text("Text_CRCMaster").size(), 6u);
  for (const char* member : {"UpdateROMParams", "UpdateROMData", "ProgramDevice",
                             "RequestRAMCRC", "RequestDevCRC", "GetPELTOStatus"}) {
    EXPECT_EQ(Call(member), 0) << member;
  }
  EXPECT_EQ(Text("Text_CRCBox"), Text("Text_CRCMaster"));
  EXPECT_EQ(Text("Text_CRCDevice"), Text("Text_CRCMaster"));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(PeltoLinkTest, AFileBeyondEveryImageIsCheckedAndSentByItsHead) {
  MakeFor("QV4234");  // 2048 words, 4096 image bytes
  for (int size : {4096, 32768, 32770}) dir.write(std::to_string(size), std::string(size, '\x5A'));
  ASSERT_EQ(truncate(dir.file("32770").c_str(), off_t{300} << 20), 0);  // sparse
  const auto load = [&](const char* name) {
    Set("ActiveFile", QString::fromStdString(dir.file(name)));
    return Text("Text_ProgSize") + " " + Text("Text_CRCMaster");
  };
  const std::string image = load("4096"), head = load("32768");
  EXPECT_EQ(load("32770"), head);
  const auto oldCrc = [&](const char* name) {
    return Call<int>("CalculateCRC16_old", QString::fromStdString(dir.file(name)), 2048);
  };
  EXPECT_EQ(oldCrc("32770"), oldCrc("32768"));
  ConnectAndHold();
  for (const char* member : {"UpdateROMParams", "UpdateROMData", "RequestRAMCRC", "GetPELTOStatus"})
    EXPECT_EQ(Call(member), 0) << member;
  EXPECT_EQ("2048 " + Text("Text_CRCBox"), image);  // the programmer holds the image's words
}

}  // namespace
}  // namespace peltotest
