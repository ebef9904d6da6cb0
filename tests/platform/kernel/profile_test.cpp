#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>

#include "platform/profile.h"
#include "platform/read_file.h"
#include "temp_dir.h"

using namespace platform;
using testsupport::TempDir;

namespace {

const char* kIni =
    "; comment line\r\n"
    "[Controllers]\r\n"
    "QV4128 = 42280000.DLL\r\n"
    "qv4234=\"42340000.DLL\"\r\n"
    "QV4128=duplicate\r\n"
    "; Skipped=1\r\n"
    "\r\n"
    "[ROM Sizes]\n"
    "QV4128=2048\n"
    "[empty]\n";

}  // namespace

TEST(Profile, ReadsValuesWithoutCaseTrimmedAndUnquoted) {
  TempDir dir;
  dir.write("TAVIX.INI", kIni);
  std::string f = dir.file("TAVIX.INI");
  EXPECT_EQ(ReadProfileString(f, "controllers", "qv4128"), "42280000.DLL");
  EXPECT_EQ(ReadProfileString(f, "CONTROLLERS", "QV4234"), "42340000.DLL");
  EXPECT_EQ(ReadProfileString(f, "rom sizes", "QV4128"), "2048");
  EXPECT_EQ(ReadProfileString(f, "Controllers", "Skipped", "none"), "none");
  EXPECT_EQ(ReadProfileString(f, "Missing", "x", "def"), "def");
  // The file name is found without case too.
  EXPECT_EQ(ReadProfileString(dir.file("tavix.ini"), "ROM Sizes", "QV4128"), "2048");
  EXPECT_EQ(ReadProfileString(dir.file("nothere.ini"), "a", "b", "d"), "d");
}

TEST(Profile, ListsKeysAndSectionsInFileOrderFirstDuplicateWins) {
  TempDir dir;
  dir.write("t.ini", kIni);
  std::string f = dir.file("t.ini");
  EXPECT_EQ(ProfileKeys(f, "Controllers"), (std::vector<std::string>{"QV4128", "qv4234"}));
  EXPECT_EQ(ProfileSections(f), (std::vector<std::string>{"Controllers", "ROM Sizes", "empty"}));
  EXPECT_TRUE(ProfileKeys(f, "empty").empty());

  char buf[64];
  uint32_t n = GetPrivateProfileString("Controllers", nullptr, "", buf, sizeof buf, f);
  EXPECT_EQ(n, 14u);
  EXPECT_EQ(std::memcmp(buf, "QV4128\0qv4234\0\0", 15), 0);
}

TEST(Profile, BufferLengthTruncatesAsTheWindowsCallDoes) {
  TempDir dir;
  dir.write("t.ini", kIni);
  std::string f = dir.file("t.ini");
  char buf[8];
  std::memset(buf, 'x', sizeof buf);
  EXPECT_EQ(GetPrivateProfileString("Controllers", "QV4128", "", buf, 5, f), 4u);
  EXPECT_STREQ(buf, "4228");
  EXPECT_EQ(buf[5], 'x') << "nothing written past the given length";

  EXPECT_EQ(GetPrivateProfileString("Controllers", "none", "  dflt ", buf, 8, f), 4u);
  EXPECT_STREQ(buf, "dflt");

  // A key list that does not fit ends with two NULs inside the buffer.
  std::memset(buf, 'x', sizeof buf);
  EXPECT_EQ(GetPrivateProfileString("Controllers", nullptr, "", buf, 8, f), 6u);
  EXPECT_EQ(std::memcmp(buf, "QV4128\0\0", 8), 0);

  EXPECT_EQ(GetPrivateProfileString("Controllers", "QV4128", "", buf, 0, f), 0u);
}

TEST(Profile, WritesKeepTheRestOfTheFile) {
  TempDir dir;
  dir.write("t.ini", kIni);
  std::string f = dir.file("t.ini");
  dir.write(".t.ini.Ab12Cd", "a killed save's temporary");
  ASSERT_TRUE(WritePrivateProfileString("controllers", "qv4128", "X.DLL", f));
  EXPECT_EQ(dir.read(".t.ini.Ab12Cd"), "");
  ASSERT_TRUE(WritePrivateProfileString("ROM Sizes", "QV4234", "4096", f));
  ASSERT_TRUE(WritePrivateProfileString("New", "Key", "Value", f));
  EXPECT_EQ(ReadProfileString(f, "Controllers", "QV4128"), "X.DLL");
  EXPECT_EQ(ReadProfileString(f, "ROM Sizes", "QV4234"), "4096");
  EXPECT_EQ(ReadProfileString(f, "new", "key"), "Value");
  std::string text = dir.read("t.ini");
  EXPECT_NE(text.find("; comment line\r\n[Controllers]\r\nQV4128=X.DLL\r\n"), std::string::npos);
  EXPECT_NE(text.find("QV4128=2048\nQV4234=4096\n"), std::string::npos);

  ASSERT_TRUE(WritePrivateProfileString("Controllers", "QV4234", nullptr, f));
  EXPECT_EQ(ReadProfileString(f, "Controllers", "QV4234", "gone"), "gone");

  // A new file is created; a folder that does not exist is a failure.
  ASSERT_TRUE(WritePrivateProfileString("S", "K", "V", dir.file("new.ini")));
  EXPECT_EQ(dir.read("new.ini"), "[S]\r\nK=V\r\n");
  EXPECT_FALSE(WritePrivateProfileString("S", "K", "V", dir.file("no/such/x.ini")));
}

TEST(Profile, AFolderOrAPipeReadsAsAMissingFile) {
  TempDir dir;
  ASSERT_EQ(mkdir(dir.file("TAVIX.INI").c_str(), 0755), 0);
  const std::string folder = dir.file("TAVIX.INI");
  EXPECT_EQ(ReadProfileString(folder, "Controllers", "QV4128", "none"), "none");
  EXPECT_TRUE(ProfileSections(folder).empty());
  char buffer[16] = "x";
  EXPECT_EQ(GetPrivateProfileString("Controllers", "QV4128", "d", buffer, sizeof buffer, folder), 1u);
  EXPECT_STREQ(buffer, "d");
  // Writing cannot replace a folder: refused, the folder stays.
  EXPECT_FALSE(WritePrivateProfileString("Controllers", "QV4128", "1", folder));
  std::string content = "kept";
  EXPECT_FALSE(ReadWholeFile(folder, content));
  EXPECT_EQ(content, "");

  // A pipe without a writer would block a plain read.
  ASSERT_EQ(mkfifo(dir.file("pipe.ini").c_str(), 0644), 0);
  EXPECT_FALSE(ReadWholeFile(dir.file("pipe.ini"), content));
  EXPECT_EQ(ReadProfileString(dir.file("pipe.ini"), "a", "b", "d"), "d");
  dir.write("real.ini", "[a]\nb=c");
  EXPECT_TRUE(ReadWholeFile(dir.file("real.ini"), content));
  EXPECT_EQ(content, "[a]\nb=c");
}
