// The source codec, the editor's search arithmetic and the recent list:
// plain functions over texts and a real registry hive.
#include "workbench/source_text.h"

#include <gtest/gtest.h>

#include <map>

#include "registry_folder.h"
#include "settings/load_settings.h"
#include "settings/mdl_registry.h"
#include "workbench/mdinote.h"
#include "workbench/recent_files.h"
#include "workbench/recent_list.h"

namespace {

using monitor::DecodeSource;
using monitor::EncodeSource;
using monitor::MakeStorable;
using monitor::SourceEncoding;

std::string RoundTrip(const std::string& bytes) {
  const monitor::DecodedSource source = DecodeSource(bytes);
  return EncodeSource(source.text, source.encoding);
}

TEST(SourceText, BytesAndLineEndsFollowTheFilePolicy) {
  // CR LF files come back byte for byte; saving again never grows them.
  const std::string crlf = "START:  NOP\r\n\tJMP START ; loop\r\n";
  EXPECT_EQ(DecodeSource(crlf).text, "START:  NOP\n\tJMP START ; loop\n");
  EXPECT_EQ(RoundTrip(crlf), crlf);
  EXPECT_EQ(RoundTrip(RoundTrip(crlf)), crlf);
  // LF, CR and mixed line ends each end one line and become CR LF.
  EXPECT_EQ(RoundTrip("a\nb\n"), "a\r\nb\r\n");
  EXPECT_EQ(RoundTrip("a\rb\r"), "a\r\nb\r\n");
  EXPECT_EQ(RoundTrip("a\r\nb\rc\nd"), "a\r\nb\r\nc\r\nd\r\n");
  EXPECT_EQ(DecodeSource("a\r\r\nb").text, "a\n\nb");
  // One final line end at most; an empty text is one empty line.
  EXPECT_EQ(RoundTrip("last"), "last\r\n");
  EXPECT_EQ(RoundTrip(""), "\r\n");
  EXPECT_EQ(EncodeSource("x\n\n", SourceEncoding::Utf8), "x\r\n\r\n");

  // Every byte but CR and LF survives a file that is not UTF-8.
  std::string all;
  for (int b = 0; b < 256; ++b) {
    if (b != '\r' && b != '\n') all += static_cast<char>(b);
  }
  all += "\r\n";
  const monitor::DecodedSource bytes = DecodeSource(all);
  EXPECT_EQ(bytes.encoding, SourceEncoding::Bytes);
  EXPECT_EQ(bytes.text.size(), 255);
  EXPECT_EQ(bytes.text[0xA0 - 2], QChar(0xA0));
  EXPECT_EQ(EncodeSource(bytes.text, bytes.encoding), all);

  // UTF-8 stays UTF-8, a byte-order mark included.
  const std::string utf8 = "\xEF\xBB\xBF; caf\xC3\xA9 \xE2\x82\xAC\r\n";
  EXPECT_EQ(DecodeSource(utf8).encoding, SourceEncoding::Utf8);
  EXPECT_EQ(DecodeSource(utf8).text.size(), 10);
  EXPECT_EQ(RoundTrip(utf8), utf8);
}

TEST(SourceText, StorableTextIsExactlyWhatASaveWrites) {
  const QString euroArrow = QString::fromUtf8("\xE2\x82\xAC\xE2\x86\x92");
  EXPECT_EQ(MakeStorable(euroArrow, SourceEncoding::Bytes), "??");
  EXPECT_EQ(MakeStorable(euroArrow, SourceEncoding::Utf8), euroArrow);
  // A character outside the first plane is one "?", a lone surrogate one too.
  EXPECT_EQ(MakeStorable(QString::fromUtf8("a\xF0\x9F\x98\x80z"), SourceEncoding::Bytes), "a?z");
  EXPECT_EQ(MakeStorable(QString(QChar(0xD800)), SourceEncoding::Utf8), "?");
  EXPECT_EQ(MakeStorable(QString("a\r\nb") + QChar(0x2028) + "c" + QChar(0x2029) + QChar(0xA0),
                         SourceEncoding::Bytes),
            QString("a\nb?c?") + QChar(0xA0));
}

// Repeated searches as the editor runs them: the selection after each.
std::vector<int> Searches(const QString& text, const QString& find, bool down, int caret,
                          bool matchCase = false) {
  std::vector<int> found;
  monitor::SearchRequest request{caret, 0, true, matchCase, down};
  for (int i = 0; i < 10; ++i) {
    std::optional<int> at = monitor::SearchText(text, find, request);
    if (!at) break;
    found.push_back(*at);
    request.selStart = *at;
    request.lastStart = *at;
    request.restart = false;
  }
  return found;
}

TEST(EditorSearch, DownUpCaseAndOffsets) {
  EXPECT_EQ(Searches("aaaa", "aa", true, 0), (std::vector<int>{0, 1, 2}));
  // Up from the end visits the matches backwards; at the caret 0 nothing.
  EXPECT_EQ(Searches("ab ab ab", "ab", false, 8), (std::vector<int>{6, 3, 0}));
  EXPECT_EQ(Searches("ab ab ab", "ab", false, 0), std::vector<int>{});
  // The first Up search does not see a match that begins right before the caret.
  EXPECT_EQ(Searches("xab", "ab", false, 2), std::vector<int>{});
  // Without case "loop" finds "LOOP"; with case it does not.
  EXPECT_EQ(Searches("JMP LOOP", "loop", true, 0), (std::vector<int>{4}));
  EXPECT_EQ(Searches("JMP LOOP", "loop", true, 0, true), std::vector<int>{});
  // Case folding never shifts the offsets after a character like "ß".
  EXPECT_EQ(Searches(QString::fromUtf8("\xC3\x9F loop LOOP"), "LOOP", true, 0),
            (std::vector<int>{2, 7}));
  // The same start as the last search steps one character on.
  EXPECT_EQ(monitor::SearchText("aaa", "a", {1, 1, false, false, true}), 2);
  EXPECT_EQ(monitor::SearchText("aaa", "a", {1, 0, false, false, true}), 1);
}

// The four captions of a menu, in memory.
class Captions : public monitor::RecentCaptions {
 public:
  std::string Caption(int entry) const override { return items.at(entry); }
  void SetCaption(int entry, const std::string& caption) override { items[entry] = caption; }
  std::map<int, std::string> items{
      {1, "Not Used"}, {2, "Not Used"}, {3, "Not Used"}, {4, "Not Used"}};
};

class RecentListTest : public RegistryFolderTest {
 protected:
  void SetUp() override {
    RegistryFolderTest::SetUp();
    monitor::LoadSettings();
  }
  // As the monitor refreshes: the list, then the captions from the registry.
  void Open(const std::string& name) {
    list.Add(name, &captions);
    const auto entries = list.Entries();
    for (int i = 1; i <= 4; ++i) {
      if (!monitor::RecentList::IsFree(entries[i - 1])) captions.items[i] = entries[i - 1];
    }
  }
  monitor::RecentList list{monitor::kRecentFilesKey, "RecentFile"};
  Captions captions;
};

TEST_F(RecentListTest, NewestFourFirstMovesToTopAndExactNames) {
  Open("/p/one.asm");
  EXPECT_EQ(list.Entries(), (std::array<std::string, 4>{"/p/one.asm", "", "", ""}));
  EXPECT_EQ(Hive().find("RecentFile2"), std::string::npos);
  for (const char* name : {"/p/two.asm", "/p/three.asm", "/p/four.asm", "/p/five.asm"}) Open(name);
  EXPECT_EQ(list.Entries(), (std::array<std::string, 4>{"/p/five.asm", "/p/four.asm",
                                                        "/p/three.asm", "/p/two.asm"}));
  Open("/p/three.asm");
  EXPECT_EQ(list.Entries(), (std::array<std::string, 4>{"/p/three.asm", "/p/five.asm",
                                                        "/p/four.asm", "/p/two.asm"}));
  Open("/p/THREE.asm");
  EXPECT_EQ(list.Entries()[0], "/p/THREE.asm");
  EXPECT_EQ(list.Entries()[1], "/p/three.asm");
  EXPECT_TRUE(monitor::RecentList::IsFree("Not Used yet"));
}

}  // namespace
