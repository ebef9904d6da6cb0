#include <gtest/gtest.h>

#include "platform/registry.h"
#include "registry_test_support.h"

using namespace platform;

using RegistryCalls = RegistryFolderTest;

TEST_F(RegistryCalls, StatusOfEveryCall) {
  HKEY key = 99;
  EXPECT_EQ(RegCreateKeyEx(0x80000003u, "SOFTWARE", 4, &key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(key, 0u);
  EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\\\Tavix", 4, &key), 87);
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "SOFTWARE", 1, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, 0u);
  // Nothing was created by the failed calls: no hive file yet.
  EXPECT_EQ(Hive(), "");

  HKEY created = 0, reader = 0, writer = 0;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\Tavix\\", 4, &created), 0);
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "software\\TAVIX", 1, &reader), 0);
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\Tavix", 2, &writer), 0);

  // The other root is a file of its own.
  EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE", 1, &key), ERROR_FILE_NOT_FOUND);

  // Access is the one asked for at the open.
  EXPECT_EQ(SetText(created, "a", "x"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(SetText(writer, "a", "hello"), 0);
  uint32_t type = 0, size = 0;
  EXPECT_EQ(RegQueryValueEx(writer, "a", &type, nullptr, &size), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegQueryValueEx(reader, "b", &type, nullptr, &size), ERROR_FILE_NOT_FOUND);

  // Type and size first, then the data; a short buffer is told the size.
  EXPECT_EQ(RegQueryValueEx(reader, "A", &type, nullptr, &size), 0);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, 5u);
  char buffer[8] = {};
  size = 3;
  EXPECT_EQ(RegQueryValueEx(reader, "a", nullptr, buffer, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 5u);
  size = sizeof buffer;
  EXPECT_EQ(RegQueryValueEx(reader, "a", nullptr, buffer, &size), 0);
  EXPECT_EQ(std::string(buffer, size), "hello");
  EXPECT_EQ(RegQueryValueEx(reader, "a", nullptr, buffer, nullptr), 87);

  // Handles: 0, roots, closed and never issued ones are invalid.
  EXPECT_EQ(RegCloseKey(created), 0);
  EXPECT_EQ(RegCloseKey(created), ERROR_INVALID_HANDLE);
  EXPECT_EQ(SetText(created, "a", "x"), ERROR_INVALID_HANDLE);
  EXPECT_EQ(SetText(HKEY_CURRENT_USER, "a", "x"), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegQueryValueEx(0, "a", &type, nullptr, &size), ERROR_INVALID_HANDLE);
  RegCloseKey(reader);
  RegCloseKey(writer);
}

TEST_F(RegistryCalls, FileKeepsFirstSpellingsEscapesTypesAndOrderExactlyAndReadsBack) {
  HKEY key = 0;
  // Sorted segment by segment, upper-cased: "A" and its children before "A B".
  for (const char* path : {"A B", "b", "A\\c", "A\\B", "a\\b\\"}) {
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, path, 2, &key), 0);
    RegCloseKey(key);
  }
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "A", 2, &key), 0);
  const char raw[] = "q\"b\\ \r\n\t\0\x01\x7f \xc3\xa9 \xe2\x82\xac \xff\xc3";
  const std::string text(raw, sizeof raw - 1);
  const unsigned char dword[4] = {0x78, 0x56, 0x34, 0x12};
  const unsigned char bytes[3] = {0x00, 0xab, 0x10};
  EXPECT_EQ(SetText(key, "t\"ab\x02", text), 0);
  EXPECT_EQ(RegSetValueEx(key, "dw", REG_DWORD, dword, 4), 0);
  EXPECT_EQ(RegSetValueEx(key, "short", REG_DWORD, dword, 3), 0);
  EXPECT_EQ(RegSetValueEx(key, "bin", REG_BINARY, dword, 2), 0);
  EXPECT_EQ(RegSetValueEx(key, "BIN", REG_BINARY, bytes, 3), 0);  // in place, first spelling
  EXPECT_EQ(RegSetValueEx(key, "none", 7, nullptr, 0), 0);
  EXPECT_EQ(SetText(key, "", ""), 0);
  const std::string golden =
      "; Tavix registry hive HKEY_CURRENT_USER\n"
      "\n[A]\n"
      "\"t\\\"ab\\x02\"=sz:\"q\\\"b\\\\ \\r\\n\\t\\0\\x01\\x7f \xc3\xa9 \xe2\x82\xac \\xff\\xc3\"\n"
      "\"dw\"=dword:12345678\n"
      "\"short\"=hex(4):78,56,34\n"
      "\"bin\"=hex(3):00,ab,10\n"
      "\"none\"=hex(7):\n"
      "@=sz:\"\"\n"
      "\n[A\\B]\n"
      "\n[A\\c]\n"
      "\n[A B]\n"
      "\n[b]\n";
  EXPECT_EQ(Hive(), golden);
  RegCloseKey(key);

  // Another folder holding the same file (with CR LF line ends) is parsed
  // from scratch and gives the same values back.
  testsupport::TempDir copy;
  std::string crlf;
  for (char c : golden) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  copy.write("HKEY_CURRENT_USER.hive", crlf);
  setenv("TAVIX_REGISTRY_DIR", copy.path().c_str(), 1);
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "a", 1, &key), 0);
  EXPECT_EQ(QueryText(key, "T\"AB\x02"), text);
  HKEY child = 0;
  uint32_t type = 0, size = 8;
  unsigned char out[8] = {};
  EXPECT_EQ(RegQueryValueEx(key, "short", &type, out, &size), 0);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "A B\\", 1, &child), 0);
  RegCloseKey(child);
  RegCloseKey(key);
}
