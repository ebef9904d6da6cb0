#include "settings/load_settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "registry_folder.h"
#include "settings/mdl_registry.h"
#include "settings/registry_layout.h"

using namespace monitor;
using platform::HKEY_CURRENT_USER;

namespace {

using Settings = RegistryFolderTest;

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
  EXPECT_EQ(Hive(), kGolden);
  EXPECT_EQ(dir.read("HKEY_LOCAL_MACHINE.hive"), "");

  const std::string hive = dir.file("HKEY_CURRENT_USER.hive");
  struct stat before {
  }, after{};
  ASSERT_EQ(stat(hive.c_str(), &before), 0);
  LoadSettings();
  ASSERT_EQ(stat(hive.c_str(), &after), 0);
  EXPECT_EQ(Hive(), kGolden);
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
  EXPECT_NE(Hive().find("\"breakcol\"=dword:000000e1\n\"tracecol\""), std::string::npos);
  EXPECT_NE(dir.read("HKEY_LOCAL_MACHINE.hive").find("[SOFTWARE\\Corvane\\Tavix\\MTPCOMM]"),
            std::string::npos);
  EXPECT_EQ(Hive().find("MTPCOMM"), std::string::npos);
}

TEST_F(Settings, TipsAreShownUnlessTurnedOffOrTheMainWindowIsMinimized) {
  auto shown = [](int32_t windowState) {
    int calls = 0;
    CheckShowTips(windowState, [&] { ++calls; });
    return calls;
  };
  EXPECT_EQ(shown(0), 1);  // no key at all
  EXPECT_EQ(shown(kWindowMinimized), 0);
  RegCreateKeyPath(HKEY_CURRENT_USER, kTavixKey);
  for (int32_t stored : {0, 1, 65536}) {  // beyond 16 bits is a plain "don't show"
    RegSetSetting(HKEY_CURRENT_USER, kTavixKey, "Show Tips at Startup", stored, 4);
    EXPECT_EQ(shown(2), stored == 0 ? 1 : 0) << stored;
  }
}
