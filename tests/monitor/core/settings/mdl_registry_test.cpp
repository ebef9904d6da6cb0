#include "settings/mdl_registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "registry_folder.h"
#include "settings/registry_layout.h"

using namespace monitor;
using platform::HKEY_CURRENT_USER;
using platform::HKEY_LOCAL_MACHINE;

namespace {

using MdlRegistry = RegistryFolderTest;

const std::string kComm = std::string(kTavixKey) + "\\Communications";

}  // namespace

TEST(RegValue, ConvertsBetweenTextAndNumberAsTheSettingsNeed) {
  // clang-format off
  const std::pair<const char*, int32_t> numbers[] = {
      {"8", 8}, {" 2", 2}, {"\t-17 ", -17}, {"+3", 3}, {"8.5", 8}, {"9.5", 10}, {"-9.5", -10},
      {"8.50001", 9}, {"8.49", 8}, {".5", 0}, {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN}};
  // clang-format on
  for (const auto& [text, number] : numbers) EXPECT_EQ(ParseDecimal(text), number) << text;
  for (const char* bad : {"", "  ", "x", "8x", "1e3", "2147483648", "2147483647.5", "-", ".",
                          "99999999999999999999", "1 2"})
    EXPECT_EQ(ParseDecimal(bad), std::nullopt) << bad;
  EXPECT_EQ(RegValue().AsText(), "");
  EXPECT_EQ(RegValue().AsNumber(), 0);
  EXPECT_EQ(RegValue(-5).AsText(), "-5");
  EXPECT_EQ(RegValue("COM2").AsNumber(), 0);
}

TEST_F(MdlRegistry, StoresTextAndNumbersWithTheirTypes) {
  RegCreateKeyPath(HKEY_LOCAL_MACHINE, kComm);
  RegSetSetting(HKEY_LOCAL_MACHINE, kComm, "Com", " 2", 1);
  RegSetSetting(HKEY_LOCAL_MACHINE, kComm, "Baud Rate", 38400, 1);
  RegSetSetting(HKEY_LOCAL_MACHINE, kComm, "eight", "8", 4);
  RegSetSetting(HKEY_LOCAL_MACHINE, kComm, "half", "8.5", 4);
  RegSetSetting(HKEY_LOCAL_MACHINE, kComm, "odd half", "9.5", 4);
  RegSetSetting(HKEY_LOCAL_MACHINE, kComm, "empty", RegValue(), 4);

  EXPECT_EQ(RegGetSetting(HKEY_LOCAL_MACHINE, kComm, "COM"), RegValue(" 2"));
  EXPECT_EQ(RegGetSetting(HKEY_LOCAL_MACHINE, kComm, "COM").AsNumber(), 2);
  EXPECT_EQ(RegGetSetting(HKEY_LOCAL_MACHINE, kComm, "Baud Rate"), RegValue("38400"));
  EXPECT_EQ(RegGetSetting(HKEY_LOCAL_MACHINE, kComm, "eight"), RegValue(8));
  EXPECT_EQ(RegGetSetting(HKEY_LOCAL_MACHINE, kComm, "half"), RegValue(8));
  EXPECT_EQ(RegGetSetting(HKEY_LOCAL_MACHINE, kComm, "odd half"), RegValue(10));
  EXPECT_EQ(RegGetSetting(HKEY_LOCAL_MACHINE, kComm, "empty"), RegValue(0));
  // Missing values, keys and the other root read as empty.
  EXPECT_TRUE(RegGetSetting(HKEY_LOCAL_MACHINE, kComm, "nothing").IsEmpty());
  EXPECT_TRUE(RegGetSetting(HKEY_LOCAL_MACHINE, kComm + "\\x", "Com").IsEmpty());
  EXPECT_TRUE(RegGetSetting(HKEY_CURRENT_USER, kComm, "Com").IsEmpty());
}

TEST_F(MdlRegistry, RefusedWritesStoreNothingAndOtherTypesReadAsFailure) {
  RegCreateKeyPath(HKEY_CURRENT_USER, kTavixKey);
  platform::HKEY key = 0;
  ASSERT_EQ(platform::RegOpenKeyEx(HKEY_CURRENT_USER, kTavixKey, 3, &key), 0);
  EXPECT_EQ(RegWriteValue(key, "a", 4, "x"), 13);
  EXPECT_EQ(RegWriteValue(key, "a", 4, "4294967296"), 13);
  EXPECT_EQ(RegWriteValue(key, "a", 3, "bytes"), 0);
  EXPECT_EQ(RegWriteValue(key, "a", 4, 7), 0);
  const unsigned char blob[2] = {1, 2};
  ASSERT_EQ(platform::RegSetValueEx(key, "blob", platform::REG_BINARY, blob, 2), 0);
  ASSERT_EQ(platform::RegSetValueEx(key, "zero", platform::REG_SZ, "ab\0", 3), 0);

  RegValue value("untouched");
  EXPECT_EQ(RegReadValue(key, "blob", value), -1);
  EXPECT_EQ(value, RegValue("untouched"));
  EXPECT_EQ(RegReadValue(key, "missing", value), 2);
  EXPECT_EQ(value, RegValue("untouched"));
  EXPECT_EQ(RegReadValue(key, "zero", value), 0);
  EXPECT_EQ(value, RegValue(std::string("ab\0", 3)));  // another writer's zero is kept
  EXPECT_EQ(RegReadValue(key, "A", value), 0);
  EXPECT_EQ(value, RegValue(7));
  EXPECT_TRUE(RegGetSetting(HKEY_CURRENT_USER, kTavixKey, "blob").IsEmpty());
  platform::RegCloseKey(key);

  // A key that was never created takes nothing, and the file is left alone.
  const std::string hive = dir.file("HKEY_CURRENT_USER.hive");
  struct stat before {
  }, after{};
  ASSERT_EQ(stat(hive.c_str(), &before), 0);
  const std::string text = Hive();
  RegSetSetting(HKEY_CURRENT_USER, std::string(kTavixKey) + "\\code window", "width", 1, 4);
  RegSetSetting(HKEY_CURRENT_USER, "bad\\\\path", "width", 1, 4);
  ASSERT_EQ(stat(hive.c_str(), &after), 0);
  EXPECT_EQ(Hive(), text);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_TRUE(RegGetSetting(HKEY_CURRENT_USER, std::string(kTavixKey) + "\\code window", "width")
                  .IsEmpty());
}
