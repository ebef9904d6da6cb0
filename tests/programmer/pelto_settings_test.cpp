// The control's settings and target list, without a programmer: the targets'
// parameter lines in all their shapes, the registry indices across a destroy
// and a create, the missing list, and the older file CRC.
#include <QComboBox>
#include <QStringList>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "pelto_fixture.h"
#include "platform/registry_settings.h"

namespace peltotest {
namespace {

class PeltoSettingsTest : public PeltoTest {
 protected:
  // "bits blocks words-per-block bytes-per-word ROM-words" after choosing.
  std::string Choose(const char* target) {
    Set("ActiveMicro", QString(target));
    QStringList values;
    for (const char* member :
         {"InstructionSize", "NbOfBlocks", "BlockSize", "PadBytes", "ROMsize"}) {
      values << Get(member).toString();
    }
    return values.join(' ').toStdString();
  }
};

TEST_F(PeltoSettingsTest, TargetLinesInEveryShapeSetTheParameters) {
  dir.write("Corvane.spec",
            "[CONTROLERS]\r\nLIST= Undefined , Wide22,Short,Four,Half,Quarter,Word,Missing\r\n"
            "[ROM_PARAMS]\r\nUndefined=0,0,0,0,\r\nWide22=22,1,8192,3,\r\nShort=16,4\r\n"
            "Four=18,3,512,3\r\nHalf=16,1.5,1024,2,\r\nQuarter=16,1.25,1024,2,\r\n"
            "Word=abc,2,1024,2,\r\n");
  Make();
  auto* target = Child<QComboBox>("Combo_Target");
  ASSERT_EQ(target->count(), 8);
  EXPECT_EQ(target->itemText(0), "Undefined");
  EXPECT_EQ(Get("ROMsize").toInt(), 2048);

  EXPECT_EQ(Choose("Wide22"), "22 1 8192 3 8192");
  EXPECT_EQ(Child<QLineEdit>("Text_InstrSize")->text(), "22");
  EXPECT_FALSE(Child<QLineEdit>("Text_BlockSize")->isEnabled());
  EXPECT_TRUE(Child<QWidget>("VPP")->isEnabled());
  // "16,4" has one comma: bits only, two blocks, the rest kept.
  EXPECT_EQ(Choose("Short"), "16 2 8192 3 16384");
  EXPECT_FALSE(Child<QWidget>("VPP")->isEnabled());
  // Four fields, the last without its comma: two bytes per word.
  EXPECT_EQ(Choose("Four"), "18 3 512 2 1536");
  EXPECT_EQ(Choose("Half"), "16 2 1024 2 2048");
  EXPECT_EQ(Choose("Quarter"), "16 1 1024 2 1024");
  // A field that is not a number counts as 0 and nothing fails.
  EXPECT_EQ(Choose("Word"), "0 2 1024 2 2048");
  Set("BlockSize", 100);
  EXPECT_EQ(Choose("Missing"), "16 2 100 2 200");
  EXPECT_EQ(Get("ActiveMicro").toString(), "Missing");

  EXPECT_EQ(Choose("Undefined"), "0 0 0 0 0");
  EXPECT_TRUE(Child<QLineEdit>("Text_BlockSize")->isEnabled());
  EXPECT_EQ(target->count(), 8);  // a listed target is chosen, never added
  Set("PadBits", 7);
  EXPECT_EQ(Get("PadBits").toInt(), 7);
  EXPECT_TRUE(Get("ChipIsPresent").toBool());
}

TEST_F(PeltoSettingsTest, PortAndBaudIndicesPersistAndAMissingListOffersUndefined) {
  Make();
  auto* target = Child<QComboBox>("Combo_Target");
  ASSERT_EQ(target->count(), 1);
  EXPECT_EQ(target->itemText(0), "Undefined");
  EXPECT_EQ(Get("CommPortNr").toInt(), 1);
  EXPECT_EQ(Get("BaudRate").toInt(), 9600);
  // The host's target is added once; a second one is only shown.
  Set("ActiveMicro", QString("QV4234"));
  Set("ActiveMicro", QString("QV9999"));
  EXPECT_EQ(target->count(), 2);
  EXPECT_EQ(Get("ActiveMicro").toString(), "QV9999");
  EXPECT_EQ(Get("InstructionSize").toInt(), 16);

  auto* port = Child<QComboBox>("Combo_CommSel");
  port->setCurrentIndex(2);
  emit port->activated(2);
  EXPECT_EQ(Get("CommPortNr").toInt(), 3);
  Child<QComboBox>("Combo_BaudSel")->setCurrentIndex(2);
  Make();
  EXPECT_EQ(Get("CommPortNr").toInt(), 3);
  EXPECT_EQ(Get("BaudRate").toInt(), 38400);
  const std::string machine = Hive("HKEY_LOCAL_MACHINE");
  EXPECT_NE(machine.find("\"CommPortIndex\"=dword:00000002"), std::string::npos) << machine;
  EXPECT_NE(machine.find("\"BaudRateIndex\"=dword:00000002"), std::string::npos) << machine;

  // Indices kept as text are read as well; one out of range gives the first.
  control.reset();
  for (auto [name, text] : {std::pair{"BaudRateIndex", "1"}, {"CommPortIndex", "9"}}) {
    platform::RegSetSetting(platform::HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane\\PELTO Programmer",
                            name, text, platform::REG_SZ);
  }
  Make();
  EXPECT_EQ(Get("BaudRate").toInt(), 19200);
  EXPECT_EQ(Get("CommPortNr").toInt(), 1);
  EXPECT_TRUE(boxes.empty());
}

// The older CRC: the file's words as they are, 0xFFFF for every missing word.
TEST_F(PeltoSettingsTest, OlderFileCrcFeedsRawWordsAndPadsWithOnes) {
  Make();
  dir.write("code.bin", std::string("\x12\x34\xAB\xCD\x56", 5));
  const auto rule = [](std::vector<uint32_t> words) {
    uint32_t crc = 0xFFFF;
    for (uint32_t w : words) crc = (((crc << 1) ^ w) & 0xFFFF) ^ ((crc & 0x8000) ? 0x0483 : 0);
    return static_cast<int>(crc);
  };
  const auto crc = [&](const std::string& path, int maxrom) {
    return Call<int>("CalculateCRC16_old", QString::fromStdString(path), maxrom);
  };
  EXPECT_EQ(crc(dir.file("code.bin"), 4), rule({0x1234, 0xABCD, 0xFFFF, 0xFFFF}));
  EXPECT_EQ(crc(dir.file("code.bin"), 1), rule({0x1234, 0xABCD}));
  EXPECT_NE(rule({0x1234, 0xABCD, 0xFFFF}), rule({0xEDCB, 0x5432, 0x0000}));
  EXPECT_EQ(crc(dir.file("missing.bin"), 4), -1);
}

}  // namespace
}  // namespace peltotest
