// The definition document through real files: opening and saving through the
// frame, the segment bitmaps in their formats, the refusals of corrupt files
// and of indexes outside the list, and the bitmap and segment lists.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <QAction>

#include <platform/filenames.h>

#include "segdraw_fixture.h"

namespace segdrawtest {
namespace {

using platform::kFileSave;
const std::string kBad = "|Unable to open definition\nInvalid file format of corrupted file (bmp)|0";

std::string Cwd() {
  char buf[4096];
  return getcwd(buf, sizeof buf) != nullptr ? std::string(buf) + "/" : "";
}

TEST_F(SegdrawTest, BitmapsLoadInTheirFormatsAndBadOnesAreToldOrSkipped) {
  const auto checker = [](int x, int y) { return (x + y) % 2 == 0; };
  folder.write("one.bmp", BlackWhite(4, 2, checker));
  folder.write("eight.bmp", Bmp(3, 3, 8, [](int x, int) { return x == 0 ? 0u : 255u; }));
  folder.write("true.bmp", Bmp(2, 2, 24, [](int x, int) { return x == 0 ? 0xFF0000u : 0x00FF00u; }));
  std::string core = Bmp(2, 2, 24, [](int, int) { return 0u; });
  std::string small = core;  // a 12-byte information header
  small[14] = 12;
  folder.write("small.bmp", small);
  std::string zero = core;  // no pixel offset
  zero[10] = 0;
  folder.write("zero.bmp", zero);
  std::string flat = core;  // height 0
  flat[22] = 0;
  folder.write("flat.bmp", flat);
  folder.write("short.bmp", core.substr(0, core.size() - 3));  // pixels past the end

  doc().SetDocumentFolder(folder.path());
  EXPECT_EQ(doc().GetDocumentFolder() + "/", folder.path());
  for (const char* name :
       {"one.bmp", "eight.bmp", "true.bmp", "small.bmp", "zero.bmp", "flat.bmp", "short.bmp", "gone.bmp"})
    doc().AddBitmap(name);
  EXPECT_EQ(takeBoxes(), (std::vector<std::string>{kBad, kBad, "Error|Can't open file 'gone.bmp'|16"}));
  const QImage& one = doc().BitmapImage(0);
  ASSERT_EQ(one.size(), QSize(4, 2));
  EXPECT_EQ(one.pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(one.pixel(1, 0), qRgb(255, 255, 255));
  EXPECT_EQ(doc().BitmapImage(1).pixel(0, 2), qRgb(0, 0, 0));
  EXPECT_EQ(doc().BitmapImage(2).pixel(0, 1), qRgb(255, 0, 0));
  for (int slot = 3; slot < 8; ++slot) EXPECT_TRUE(doc().BitmapImage(slot).isNull()) << slot;
  EXPECT_EQ(doc().FindBitmap("true.bmp"), 2);
  EXPECT_EQ(doc().FindBitmap("TRUE.bmp"), 0xFFFF);

  // Removing bitmap 0 lowers the higher indexes and keeps "none".
  for (uint16_t b : {uint16_t{0}, uint16_t{2}, lcddef::kNoBitmap, uint16_t{7}}) doc().SetBitmapIndex(doc().AddSegment(), b);
  EXPECT_EQ(doc().CountSegmentsUsingBitmap(0), 1);
  doc().RemoveBitmap(0);
  std::vector<int> indexes;
  for (int i = 0; i < 4; ++i) indexes.push_back(doc().GetBitmapIndex(i));
  EXPECT_EQ(indexes, (std::vector<int>{0, 1, 0xFFFF, 6}));
}

TEST_F(SegdrawTest, OpenAndSaveKeepTheFileAndTheFolder) {
  folder.write("seg.bmp", BlackWhite(2, 2, [](int, int) { return true; }));
  doc().SetDocumentFolder(folder.path());
  doc().AddBitmap("seg.bmp");
  doc().AddSegment();
  const int b = doc().AddSegment();
  doc().SetBitmapIndex(b, 0);
  doc().SetAddress(b, 3);
  doc().SetLeft(b, 20);  // moves: width 40 kept
  doc().SetHeight(b, 7);
  EXPECT_EQ(doc().GetWidth(b), 40);
  EXPECT_EQ(doc().Definition().segments[1][lcddef::SegmentRecord::kRight], 60);
  EXPECT_TRUE(doc().IsModified());
  EXPECT_TRUE(frame().Command(kFileSave)->isEnabled());

  folder.write(".Panel.v1.cfg.Ab12Cd", "a killed save's temporary");
  chooseFile(folder.file("Panel.v1.cfg"));
  frame().Run(platform::kFileSaveAs);
  EXPECT_EQ(folder.read(".Panel.v1.cfg.Ab12Cd"), "");
  EXPECT_EQ(doc().GetBaseName(), "Panel.v1");
  EXPECT_FALSE(doc().IsModified());
  EXPECT_FALSE(frame().Command(kFileSave)->isEnabled());
  EXPECT_EQ(frame().windowTitle(), "Panel.v1.cfg - Segdraw");
  const std::string saved = folder.read("Panel.v1.cfg");
  ASSERT_EQ(saved.size(), 14u + 10 + 2 * 112 + 6);
  // The overlap masks were built: segment a overlaps b (address 3, bit 1).
  EXPECT_EQ(saved.substr(14 + 10 + 16 + 6, 2), std::string("\x01\x00", 2));

  // Open from another current folder: the folder becomes current, the
  // bitmaps are found there, the recent list names the file.
  ASSERT_EQ(chdir("/"), 0);
  ASSERT_TRUE(frame().FileNew());
  EXPECT_EQ(doc().GetSegmentCount(), 0);
  chooseFile(folder.file("Panel.v1.cfg"));
  view().OnFileOpen();
  EXPECT_EQ(Cwd(), folder.path());
  EXPECT_EQ(doc().GetBaseName(), "Panel.v1");
  EXPECT_EQ(doc().GetDocumentFolder() + "/", folder.path());
  EXPECT_EQ(doc().GetSegmentCount(), 2);
  EXPECT_EQ(doc().GetAddress(b), 3);
  EXPECT_FALSE(doc().BitmapImage(0).isNull());
  EXPECT_EQ(frame().Recent().Paths(), std::vector<std::string>{folder.file("Panel.v1.cfg")});
  // A relative name is taken from the folder current before the open.
  const std::string inner = folder.path().substr(0, folder.path().size() - 1);
  ASSERT_EQ(chdir((inner + "/..").c_str()), 0);
  ASSERT_TRUE(frame().OpenDocumentFile(platform::FileName(inner) + "/Panel.v1.cfg"));
  EXPECT_FALSE(doc().BitmapImage(0).isNull());
  EXPECT_TRUE(takeBoxes().empty());

  // A modified document asks before New; Cancel keeps it.
  doc().SetModifiedFlag();
  answers = {platform::IDCANCEL};
  EXPECT_FALSE(frame().FileNew());
  EXPECT_EQ(takeBoxes(), std::vector<std::string>{"Segdraw|Save changes to Panel.v1.cfg?|51"});
  frame().Run(platform::kAppAbout);  // answered by the modal hook
  EXPECT_TRUE(takeBoxes().empty());
  EXPECT_EQ(doc().GetSegmentCount(), 2);
}

TEST_F(SegdrawTest, CorruptFilesAreRefusedWithAFreshDocumentAfter) {
  const std::string header = std::string("\x05\x00\x06\x00\x07\x00\x08\x00", 8);
  const auto words = [](std::initializer_list<int> ws) {
    std::string out;
    for (int w : ws) out += {static_cast<char>(w & 0xFF), static_cast<char>((w >> 8) & 0xFF)};
    return out;
  };
  const std::string files[] = {
      header + words({1, 0, 200, 0}),                       // name length 0
      header + words({1, 0, 200, 3}) + "abc",               // no NUL
      header + words({0, 0, 200, -1, 4, 0}),                // undefined count with a table
      header + words({0, 1, 200}) + std::string(20, '\0'),  // ends early
      header + words({0, 0, 200, 0x4000, 4, 0}),            // 16384 x 4 wraps to no table
  };
  int n = 0;
  for (const std::string& bytes : files) {
    SCOPED_TRACE(n);
    const std::string name = "bad" + std::to_string(n++) + ".cfg";
    folder.write(name, bytes);
    doc().AddSegment();
    doc().SetDisplayX(99);
    doc().SetModifiedFlag(false);
    EXPECT_FALSE(frame().OpenDocumentFile(folder.file(name)));
    EXPECT_EQ(takeBoxes(), std::vector<std::string>{kBad});
    EXPECT_EQ(doc().GetSegmentCount(), 0);
    EXPECT_EQ(doc().GetBitmapCount(), 0);
    EXPECT_EQ(doc().GetDisplayX(), 10);
    EXPECT_EQ(doc().Definition().version, 200);
    EXPECT_EQ(doc().PathName(), "");
    EXPECT_EQ(frame().windowTitle(), "Untitled - Segdraw");
  }
  EXPECT_TRUE(frame().Recent().Paths().empty());
  EXPECT_FALSE(frame().OpenDocumentFile(folder.file("missing.cfg")));
  EXPECT_EQ(takeBoxes().size(), 1u);
}

// Beside an open disp.cfg, a document whose bitmaps are a folder, a pipe
// nobody writes, an endless device and a real bitmap.
TEST_F(SegdrawTest, BitmapsThatAreNoFilesAreToldAndNeverMixTwoDocuments) {
  for (int i = 0; i < 5; ++i) doc().AddSegment();
  ASSERT_TRUE(doc().OnSaveDocument(folder.file("disp.cfg")));
  const std::string good = folder.read("disp.cfg");
  ASSERT_TRUE(frame().OpenDocumentFile(folder.file("disp.cfg")));
  ASSERT_TRUE(std::filesystem::create_directory(folder.file("dir.bmp")));
  ASSERT_EQ(mkfifo(folder.file("fifo.bmp").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", folder.file("zero.bmp"));
  folder.write("ok.bmp", BlackWhite(2, 2, [](int, int) { return true; }));
  lcddef::Definition hostile;
  hostile.bitmaps = {"dir.bmp", "fifo.bmp", "zero.bmp", "ok.bmp"};
  std::string bytes;
  ASSERT_EQ(lcddef::Write(hostile, bytes), lcddef::WriteError::None);
  folder.write("hostile.cfg", bytes);
  ASSERT_TRUE(frame().OpenDocumentFile(folder.file("hostile.cfg")));
  std::vector<std::string> told;
  for (const char* name : {"dir", "fifo", "zero"}) told.push_back(std::string("Error|Can't open file '") + name + ".bmp'|16");
  EXPECT_EQ(takeBoxes(), told);
  EXPECT_EQ(frame().windowTitle(), "hostile.cfg - Segdraw");
  for (int slot = 0; slot < 4; ++slot) EXPECT_EQ(doc().BitmapImage(slot).isNull(), slot < 3) << slot;
  doc().SetAddress(doc().AddSegment(), 7);
  frame().Run(kFileSave);  // to its own file
  EXPECT_EQ(folder.read("disp.cfg"), good);
  frame().SetHandler(platform::kFileNew, [] { throw std::runtime_error("lost"); });
  frame().Run(platform::kFileNew);  // told under the editor's own name
  EXPECT_EQ(takeBoxes(), std::vector<std::string>{"Segdraw|Segdraw ERROR 51 0|48"});
}

TEST_F(SegdrawTest, IndexesOutsideTheListAreRefusedAndTheListHolds160) {
  doc().AddSegment();
  for (int bad : {-1, 1, 500}) {
    EXPECT_EQ(doc().GetAddress(bad), 0xFFFF);
    EXPECT_EQ(doc().GetWidth(bad), 0xFFFF);
    EXPECT_EQ(doc().GetBitmapIndex(bad), 0);
    doc().SetAddress(bad, 9);
    doc().SetLeft(bad, 9);
    EXPECT_EQ(doc().DeleteSegment(bad), -1);
    EXPECT_EQ(doc().InsertSegment(bad < 0 ? bad : 2), -1);
  }
  EXPECT_EQ(doc().GetSegmentCount(), 1);
  EXPECT_EQ(doc().DeleteSegment(0), -1);  // the list is empty
  for (int i = 0; i < 160; ++i) ASSERT_EQ(doc().AddSegment(), i);
  EXPECT_EQ(doc().AddSegment(), -1);
  EXPECT_EQ(doc().InsertSegment(0), -1);
  EXPECT_EQ(doc().AppendSegmentRecord(lcddef::SegmentRecord::Fresh()), -1);
  EXPECT_EQ(doc().DeleteSegment(159), 158);
  EXPECT_EQ(doc().DeleteSegment(3), 3);
  EXPECT_EQ(doc().InsertSegment(158), 158);
}

}  // namespace
}  // namespace segdrawtest
