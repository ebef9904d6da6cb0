// Opening, locating and listing archives, and refusing damaged ones.
#include <gtest/gtest.h>

#include "archive_files.h"
#include "dcs_handle.h"
#include "dcs_records.h"
#include "temp_dir.h"

using namespace dcstest;
using testsupport::ReadFile;
using testsupport::TempDir;

namespace {

int OpenError(const std::string& path) {
  DcsArchive* a = OpenForReading(path);
  if (a) DcsCloseArchive(a);
  return a ? 0 : DcsGetLastError();
}

int Collect(const DcsEntryInfo* entry, intptr_t user, int) {
  reinterpret_cast<std::vector<std::string>*>(user)->push_back(entry->longName);
  return 1;
}

std::vector<std::string> List(DcsArchive* a, const char* pattern) {
  std::vector<std::string> names;
  DcsEnumFiles(a, pattern, &Collect, reinterpret_cast<intptr_t>(&names));
  return names;
}

DcsEntryInfo Stored(const std::string& shortName, const std::string& longName,
                    const std::string& data) {
  DcsEntryInfo e;
  e.shortName = shortName;
  e.longName = longName;
  e.packedSize = e.unpackedSize = static_cast<uint32_t>(data.size());
  e.dataCrc = dcs::StoredCrc(data.data(), data.size());
  e.attributes = DCS_ATTR_ARCHIVE;
  return e;
}

}  // namespace

TEST(DcsArchive, GoldenArchiveOpensListsAndTheBuilderWritesItsBytes) {
  TempDir dir;
  dir.write("T.DCS", GoldenArchive());
  DcsArchive* a = OpenForReading(dir.file("T.DCS"));
  ASSERT_NE(a, nullptr);
  DcsArchiveInfo info;
  ASSERT_TRUE(DcsGetArchiveInfo(a, &info));
  EXPECT_EQ(info.name, "T.DCS");
  EXPECT_EQ(List(a, "*.*"), std::vector<std::string>{"A.TXT"});
  const DcsEntryInfo* e = DcsFindEntry(a, "a.txt");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->dataCrc, 0x2DFD2D88u);
  EXPECT_EQ(dcs::StoredCrc("", 0), 0u);
  ASSERT_TRUE(DcsExtractFile(a, "A.TXT", dir.path().c_str(), nullptr));
  EXPECT_EQ(dir.read("A.TXT"), "123456789");
  EXPECT_TRUE(DcsCloseArchive(a));

  // The builder, given the same file, name and times.
  TempDir in;
  in.write("A.TXT", "123456789");
  ASSERT_TRUE(RunBuilder({"-n", "T.DCS", "-t", "0", dir.file("built.dcs"), in.file("A.TXT")}));
  EXPECT_EQ(dir.read("built.dcs"), GoldenArchive());
}

TEST(DcsArchive, FoundAppendedToAProgramAndRefusedInRandomBytesOrThroughWildTrailers) {
  TempDir dir;
  const std::string program = ReadFile(DCSBUILD);
  ASSERT_GT(program.size(), 4096u);
  dir.write("setup", program + GoldenArchive());
  DcsArchive* a = OpenForReading(dir.file("setup"));
  ASSERT_NE(a, nullptr);
  ASSERT_TRUE(DcsExtractFile(a, "A.TXT", dir.path().c_str(), nullptr));
  EXPECT_EQ(dir.read("A.TXT"), "123456789");
  DcsCloseArchive(a);

  std::string noise(5000, '\0');
  uint32_t x = 12345;
  for (char& c : noise) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
  dir.write("noise", noise);
  EXPECT_EQ(OpenError(dir.file("noise")), DCS_ERR_NO_ARCHIVE);

  // A trailer whose offset leads before the file, or to bytes that are no header.
  std::string golden = GoldenArchive();
  dir.write("before", "xxxxxxxxxxxxxxxxxx" + golden.substr(0, golden.size() - 4) +
                          std::string("\xff\xff\xff\x00", 4));
  EXPECT_EQ(OpenError(dir.file("before")), DCS_ERR_NO_ARCHIVE);
  dir.write("elsewhere", "xxxxxxxxxxxxxxxxxx" + golden.substr(0, golden.size() - 1) + "\x60");
  EXPECT_EQ(OpenError(dir.file("elsewhere")), DCS_ERR_NO_ARCHIVE);

  // A packed size past the end, and a name past the bound.
  DcsEntryInfo big = Stored("BIG.BIN", "BIG.BIN", "abc");
  big.packedSize = 1000;
  dir.write("past", Archive("P.DCS", EntryRecord(big, "abc")));
  EXPECT_EQ(OpenError(dir.file("past")), DCS_ERR_READ);
  dir.write("long", Archive("L.DCS", EntryRecord(Stored("X", std::string(1025, 'n'), ""), "")));
  EXPECT_EQ(OpenError(dir.file("long")), DCS_ERR_READ);
  dir.write("fits", Archive("L.DCS", EntryRecord(Stored("X", std::string(1024, 'n'), ""), "")));
  EXPECT_EQ(OpenError(dir.file("fits")), 0);
  dir.write("cut", golden.substr(0, 60));
  EXPECT_EQ(OpenError(dir.file("cut")), DCS_ERR_READ);
}

TEST(DcsArchive, HeaderChecksCoverNamesAndTheExtraWordButNotTheComment) {
  TempDir dir;
  std::string golden = GoldenArchive();
  golden[37 + 36 + 2] = 'X';  // the short name's second byte
  dir.write("name", golden);
  EXPECT_EQ(OpenError(dir.file("name")), DCS_ERR_HEADER_CRC);
  golden = GoldenArchive();
  golden[30] = 'X';  // the archive's name
  dir.write("archive", golden);
  EXPECT_EQ(OpenError(dir.file("archive")), DCS_ERR_HEADER_CRC);

  DcsEntryInfo e = Stored("A.TXT", "A.TXT", "123456789");
  const uint32_t plain = dcs::EntryHeaderCrc(e);
  e.comment = "anything";
  EXPECT_EQ(dcs::EntryHeaderCrc(e), plain);
  e.flags = DCS_FLAG_EXTRA;
  e.extra = 0x11223344;
  EXPECT_NE(dcs::EntryHeaderCrc(e), plain);
  dir.write("extra", Archive("E.DCS", EntryRecord(e, "123456789")));
  DcsArchive* a = OpenForReading(dir.file("extra"));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(DcsFindEntry(a, "A.TXT")->extra, 0x11223344u);
  EXPECT_EQ(DcsFindEntry(a, "A.TXT")->comment, "anything");
  ASSERT_TRUE(DcsExtractFile(a, "A.TXT", dir.path().c_str(), nullptr));
  DcsCloseArchive(a);
}

TEST(DcsArchive, PatternsMatchWithoutCaseByShortOrLongNameAndListingsSkipHiddenEntries) {
  TempDir dir;
  DcsEntryInfo hidden = Stored("SECRET.DLL", "Secret.dll", "s");
  hidden.flags = DCS_FLAG_HIDDEN;
  dir.write("p.dcs",
            Archive("P.DCS", EntryRecord(Stored("BOOT0409.DLL", "Boot0409.dll", "b"), "b") +
                                 EntryRecord(Stored("SETUP~1.LNG", "SETUP.LNG", "l"), "l") +
                                 EntryRecord(Stored("DATA\\TIPS.TXT", "data\\tips.txt", "t"), "t") +
                                 EntryRecord(hidden, "s")));
  DcsArchive* a = OpenForReading(dir.file("p.dcs"));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(List(a, "*.dll"), std::vector<std::string>{"Boot0409.dll"});
  EXPECT_EQ(DcsFindEntry(a, "SETUP.LNG")->shortName, "SETUP~1.LNG");
  EXPECT_EQ(DcsFindEntry(a, "secret.*")->longName, "Secret.dll");  // hidden only from listings
  EXPECT_EQ(DcsFindEntry(a, "tips.txt")->longName, "data\\tips.txt");
  EXPECT_EQ(DcsFindEntry(a, "OTHER\\TIPS.TXT"), nullptr);
  EXPECT_EQ(DcsGetLastError(), DCS_ERR_NO_MATCH);
  EXPECT_EQ(List(a, "*.exe"), std::vector<std::string>{});
  EXPECT_EQ(DcsGetLastError(), DCS_ERR_NO_MATCH);
  EXPECT_TRUE(DcsMatchName("B??T*9.D*", "boot0409.dll"));
  EXPECT_FALSE(DcsMatchName("*.dl", "boot0409.dll"));
  EXPECT_TRUE(DcsMatchName("*a*a*a*a*a*a*a*a*b", std::string(200, 'a').append("b").c_str()));
  int stops = 0;
  EXPECT_FALSE(DcsEnumFiles(
      a, "*",
      [](const DcsEntryInfo*, intptr_t u, int) {
        ++*reinterpret_cast<int*>(u);
        return 0;
      },
      reinterpret_cast<intptr_t>(&stops)));
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(DcsGetLastError(), DCS_ERR_ABORTED);
  DcsCloseArchive(a);
}

TEST(DcsArchive, OpenModesCreationDefaultExtensionAndHandleChecks) {
  setenv("SOURCE_DATE_EPOCH", "1700000000", 1);  // the creation time below
  TempDir dir;
  // A new archive: header and trailer, an empty directory.
  DcsArchive* a = DcsOpenArchive(dir.file("NEW").c_str(), DCS_MODE_MARK_FLAGS, nullptr);
  ASSERT_NE(a, nullptr);
  DcsArchiveInfo info;
  DcsGetArchiveInfo(a, &info);
  EXPECT_EQ(info.name, "NEW.DCS");
  EXPECT_EQ(info.flags, 1);
  EXPECT_EQ(info.created, 1700000000u);
  DcsCloseArchive(a);
  a = OpenForReading(dir.file("NEW"));  // the default extension: "NEW" does not exist
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(List(a, "*"), std::vector<std::string>{});
  EXPECT_EQ(DcsGetLastError(), DCS_ERR_NO_MATCH);
  DcsCloseArchive(a);
  EXPECT_EQ(ReadFile(dir.file("NEW.DCS")).size(), 28u + 7 + 4 + 10);

  // An existing name without extension is opened as given.
  dir.write("Vanstall", "program bytes" + GoldenArchive());
  dir.write("Vanstall.DCS", "not this one");
  EXPECT_EQ(OpenError(dir.file("Vanstall")), 0);

  EXPECT_EQ(OpenError(dir.file("missing.dcs")), DCS_ERR_OPEN);
  EXPECT_EQ(DcsOpenArchive(dir.file("x.dcs").c_str(), DCS_MODE_UNSUPPORTED, nullptr), nullptr);
  EXPECT_EQ(DcsGetLastError(), DCS_ERR_MODE);

  // A file without an archive gains one at its end with mode 0x08, keeping its bytes.
  dir.write("plain", "0123456789abcdefghij");
  a = DcsOpenArchive(dir.file("plain").c_str(), DCS_MODE_APPEND_NEW, nullptr);
  ASSERT_NE(a, nullptr);
  DcsCloseArchive(a);
  EXPECT_EQ(ReadFile(dir.file("plain")).substr(0, 20), "0123456789abcdefghij");
  EXPECT_EQ(OpenError(dir.file("plain")), 0);

  // Null and cleared handles are refused by every operation.
  DcsArchiveInfo ignored;
  EXPECT_EQ(DcsExtractFile(nullptr, "A", nullptr, nullptr), 0);
  EXPECT_EQ(DcsGetLastError(), DCS_ERR_HANDLE);
  DcsArchive cleared;
  EXPECT_EQ(DcsGetArchiveInfo(&cleared, &ignored), 0);
  EXPECT_EQ(DcsGetLastError(), DCS_ERR_HANDLE);
  EXPECT_EQ(DcsFindEntry(&cleared, "*"), nullptr);
  EXPECT_EQ(DcsCloseArchive(&cleared), 0);
  EXPECT_EQ(DcsSetUserWord(nullptr, 5), 0);
  EXPECT_EQ(DcsGetLastError(), DCS_ERR_HANDLE);
}
