#include "settings/load_settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "settings/mdl_registry.h"
#include "settings/registry_layout.h"
#include "settings_test_folder.h"

using namespace monitor;
using platform::HKEY_CURRENT_USER;

namespace {

using Settings = SettingsFolderTest;

std::string Key(const char* name) {
  return std::string(kTavixKey) + "\\" + name;
}

const char kGolden[] =
    "; Tavix registry hive HKEY_CURRENT_USER\n"
    "\n"
    "[SOFTWARE]\n"
    "\n"
    "[SOFTWARE\\Corvane]\n"
    "\n"
    "[SOFTWARE\\Corvane\\Tavix]\n"
    "\n"
    "[SOFTWARE\\Corvane\\Tavix\\editor window]\n"
    "@=sz:\"Default\"\n"
    "\"fontname\"=sz:\"Courier New\"\n"
    "\"fontsize\"=dword:00000008\n"
    "\n"
    "[SOFTWARE\\Corvane\\Tavix\\monitor window]\n"
    "@=sz:\"Default\"\n"
    "\"windowstate\"=dword:00000002\n"
    "\n"
    "[SOFTWARE\\Corvane\\Tavix\\Recent Files]\n"
    "@=sz:\"Not Used\"\n"
    "\n"
    "[SOFTWARE\\Corvane\\Tavix\\Recent Projects]\n"
    "@=sz:\"Not Used\"\n";

}  // namespace

TEST_F(Settings, FirstStartWritesTheDefaultsAndASecondStartWritesNothing) {
  LoadSettings();
  EXPECT_EQ(UserHive(), kGolden);
  EXPECT_EQ(dir.read("HKEY_LOCAL_MACHINE.hive"), "");

  const std::string hive = dir.file("HKEY_CURRENT_USER.hive");
  struct stat before {
  }, after{};
  ASSERT_EQ(stat(hive.c_str(), &before), 0);
  LoadSettings();
  ASSERT_EQ(stat(hive.c_str(), &after), 0);
  EXPECT_EQ(UserHive(), kGolden);
  EXPECT_EQ(after.st_ino, before.st_ino);  // not replaced
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

TEST_F(Settings, OnlyKeysWithoutTheirMarkerGetTheirDefaults) {
  const std::string monitorKey = Key("monitor window"), editorKey = Key("editor window");
  RegCreateKeyPath(HKEY_CURRENT_USER, monitorKey);
  RegCreateKeyPath(HKEY_CURRENT_USER, editorKey);
  RegSetSetting(HKEY_CURRENT_USER, monitorKey, "", "Defaultxyz", 1);
  RegSetSetting(HKEY_CURRENT_USER, monitorKey, "windowstate", 0, 4);
  RegSetSetting(HKEY_CURRENT_USER, editorKey, "", "Old", 1);
  RegSetSetting(HKEY_CURRENT_USER, editorKey, "fontsize", 12, 4);
  RegSetSetting(HKEY_CURRENT_USER, editorKey, "fontpara", 700, 4);
  LoadSettings();
  // A longer marker counts as present: nothing there changes.
  EXPECT_EQ(RegGetSetting(HKEY_CURRENT_USER, monitorKey, ""), RegValue("Defaultxyz"));
  EXPECT_EQ(RegGetSetting(HKEY_CURRENT_USER, monitorKey, "windowstate"), RegValue(0));
  // A wrong marker: re-marked with the defaults, the other values kept.
  EXPECT_EQ(RegGetSetting(HKEY_CURRENT_USER, editorKey, ""), RegValue("Default"));
  EXPECT_EQ(RegGetSetting(HKEY_CURRENT_USER, editorKey, "fontsize"), RegValue(8));
  EXPECT_EQ(RegGetSetting(HKEY_CURRENT_USER, editorKey, "fontpara"), RegValue(700));

  // The window keys of the layout, made by their windows' loads.
  EXPECT_FALSE(EnsureLayoutKey("no such window"));
  ASSERT_TRUE(EnsureLayoutKey("Code Window"));
  ASSERT_TRUE(EnsureLayoutKey("MTPCOMM"));
  const std::string code = Key("code window");
  EXPECT_EQ(RegGetSetting(HKEY_CURRENT_USER, code, "windowstate"), RegValue(2));
  EXPECT_EQ(RegGetSetting(HKEY_CURRENT_USER, code, "height"), RegValue(6600));
  EXPECT_EQ(RegGetSetting(HKEY_CURRENT_USER, code, "fontname"), RegValue("Courier New"));
  EXPECT_EQ(RegGetSetting(HKEY_CURRENT_USER, code, "remcol"), RegValue(3940));
  EXPECT_NE(UserHive().find("\"breakcol\"=dword:000000e1\n\"tracecol\""), std::string::npos);
  EXPECT_NE(dir.read("HKEY_LOCAL_MACHINE.hive").find("[SOFTWARE\\Corvane\\Tavix\\MTPCOMM]"),
            std::string::npos);
  EXPECT_EQ(UserHive().find("MTPCOMM"), std::string::npos);
}

TEST_F(Settings, TipsAreShownUnlessTurnedOffOrTheMainWindowIsMinimized) {
  int shown = 0;
  auto show = [&] { ++shown; };
  CheckShowTips(0, show);  // no key at all
  EXPECT_EQ(shown, 1);
  CheckShowTips(kWindowMinimized, show);
  EXPECT_EQ(shown, 1);

  RegCreateKeyPath(HKEY_CURRENT_USER, kTavixKey);
  RegSetSetting(HKEY_CURRENT_USER, kTavixKey, "Show Tips at Startup", 0, 4);
  CheckShowTips(2, show);
  EXPECT_EQ(shown, 2);
  RegSetSetting(HKEY_CURRENT_USER, kTavixKey, "Show Tips at Startup", 1, 4);
  CheckShowTips(0, show);
  EXPECT_EQ(shown, 2);
  // A value beyond 16 bits is a plain "don't show".
  RegSetSetting(HKEY_CURRENT_USER, kTavixKey, "Show Tips at Startup", 65536, 4);
  CheckShowTips(0, show);
  EXPECT_EQ(shown, 2);
}
