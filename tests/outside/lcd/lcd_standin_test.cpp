// QV4124 through STDK42XX with our display library: a definition saved by
// the segment editor, a program that lights known segments, and the host
// window rendered; without a definition the chip runs as before. Then every
// LCD chip with the definition it ships with.
#include <sys/stat.h>

#include <filesystem>

#include <QImage>

#include "digit_glass.h"
#include "lcd_glass.h"
#include "qv4124_client.h"
#include "segdraw_doc.h"
#include "target_client.h"

namespace {

using namespace qv4124test;

class LcdStandIn : public Qv4124 {
 protected:
  void SetUp() override {
    bind("");
    std::filesystem::copy_file(std::string(TAVIX_DIST_DIR) + "42XX_Lcd.so", folder.file("42XX_Lcd.so"));
  }

  // Four 10 x 10 segments in a row at (x, y): address 3 bits 1 and 8,
  // address 19 bit 2, address 3 bit 4.
  void saveDefinition(const std::string& name, int x, int y) {
    CSegdrawDoc doc;
    doc.OnNewDocument();
    doc.SetDisplayRect(x, y, x + 100, y + 40);
    const std::pair<int, int> segments[] = {{3, 1}, {3, 8}, {19, 2}, {3, 4}};
    for (int i = 0; i < 4; ++i) {
      doc.AddSegment();
      doc.SetAddress(i, static_cast<uint16_t>(segments[i].first));
      doc.SetBit(i, static_cast<uint16_t>(segments[i].second));
      doc.SetLeft(i, 20 * i);
      doc.SetWidth(i, 10);
      doc.SetHeight(i, 10);
    }
    ASSERT_TRUE(doc.OnSaveDocument(folder.file(name)));
  }

  void runProgram(int mode) {
    program({LDI(3), STA(L.ram2.page.reg), LDI(9), STA(L.lcd.bank0.reg), LDI(2), STA(L.lcd.bank1.reg),
             LDI(mode), STA(L.lcd.mode.reg), JMP(8)});
    step(9);
  }

  // The lit segments of the host window drawn into an image.
  std::vector<int> litSegments(QPoint display) {
    const QImage image = host->grab().toImage();
    std::vector<int> lit;
    for (int i = 0; i < 4; ++i)
      if (qGray(image.pixel(display + QPoint(20 * i + 5, 5))) < 128) lit.push_back(i);
    return lit;
  }
  QWidget* glass() const { return host->findChild<QWidget*>("LcdGlass"); }
};

TEST_F(LcdStandIn, LightsTheSegmentsTheProgramSetsAndRunsWithoutADefinition) {
  MessageLog log;
  // No definition anywhere: no glass, and the program runs as before.
  openWindow("Tavix");
  EXPECT_EQ(glass(), nullptr);
  runProgram(2);
  EXPECT_EQ(r.reg(L.lcd.bank0.reg), 9);
  EXPECT_TRUE(log.texts().empty());

  // The chip's own definition beside the library.
  saveDefinition("4224LDEF.CFG", 30, 20);
  openWindow("Tavix");
  ASSERT_NE(glass(), nullptr);
  // The display's area begins below the chip's dialog.
  const int area = static_cast<QWidget*>(dialog())->geometry().bottom() + 1 + LcdGlass::kAreaMargin;
  EXPECT_EQ(glass()->geometry(), QRect(30, area + 20, 100, 40));
  const QPoint at(30, area + 20);
  EXPECT_EQ(litSegments(at), std::vector<int>{});  // display off after reset
  runProgram(2);                                   // on, all four commons
  EXPECT_EQ(litSegments(at), (std::vector<int>{0, 1, 2}));
  runProgram(0);                                   // on, commons 0-2 only
  EXPECT_EQ(litSegments(at), (std::vector<int>{0, 2}));
  runProgram(6);                                   // off
  EXPECT_EQ(litSegments(at), std::vector<int>{});

  // The project's definition comes first; a bitmap that is a pipe nobody
  // writes is not waited for.
  saveDefinition("proj.CFG", 60, 70);
  {
    lcddef::Definition d;
    std::string bytes;
    ASSERT_EQ(lcddef::Read(folder.read("proj.CFG"), d), lcddef::ReadError::None);
    d.bitmaps = {"pipe.bmp"};
    ASSERT_EQ(lcddef::Write(d, bytes), lcddef::WriteError::None);
    folder.write("proj.CFG", bytes);
  }
  ASSERT_EQ(mkfifo(folder.file("pipe.bmp").c_str(), 0600), 0);
  openWindow("Tavix " + folder.file("PROJ.PRJ"));
  ASSERT_NE(glass(), nullptr);
  EXPECT_EQ(glass()->pos(), QPoint(60, area + 70));
  runProgram(2);
  EXPECT_EQ(litSegments({60, area + 70}), (std::vector<int>{0, 1, 2}));
  EXPECT_TRUE(log.texts().empty());
}

struct LcdChipRow {
  const char* controller;
  const char* digits;
  const char* definition;
  int nibbles;  // the chip's LCD memory
};

class ShippedGlass : public k42test::LcdChipTest, public testing::WithParamInterface<LcdChipRow> {};

// Each LCD chip under the stand-in with its shipped definition: the file is
// the editor's digit glass for the chip's LCD memory, every segment lights
// from a nibble of that memory, and the display has an area of its own in
// the window, clear of every control of the chip's dialog.
TEST_P(ShippedGlass, ShowsEveryNibbleBesideTheChipsControls) {
  const LcdChipRow& chip = GetParam();
  bindLcd(chip.controller, chip.digits, "");
  for (const std::string& name : {std::string("42XX_Lcd.so"), std::string(chip.definition)})
    std::filesystem::copy_file(std::string(TAVIX_DIST_DIR) + name, folder.file(name));
  CSegdrawDoc drawn;
  segdraw::DrawDigitGlass(drawn, chip.nibbles);
  ASSERT_TRUE(drawn.OnSaveDocument(folder.file("drawn.cfg")));
  EXPECT_EQ(folder.read(chip.definition), folder.read("drawn.cfg"));
  const lcddef::Definition& d = drawn.Definition();
  EXPECT_EQ(d.segments.size(), static_cast<size_t>(chip.nibbles) * 4);

  openWindow("Tavix");
  QWidget* glass = host->findChild<QWidget*>("LcdGlass");
  ASSERT_NE(glass, nullptr);
  const QRect display = glass->geometry();
  EXPECT_TRUE(host->rect().contains(display)) << host->size().width() << "x" << host->size().height();
  auto* window = static_cast<QWidget*>(dialog());
  int controls = 0;
  for (QWidget* control : window->findChildren<QWidget*>()) {
    if (!control->isVisibleTo(window) || control->objectName().isEmpty()) continue;
    ++controls;
    const QRect r(control->mapTo(host.get(), QPoint(0, 0)), control->size());
    EXPECT_FALSE(r.intersects(display)) << control->objectName().toStdString();
  }
  EXPECT_GT(controls, 10);

  // Every nibble of the memory on, through the library the module loaded.
  using Call = int32_t (*)(int32_t, int32_t, int32_t);
  auto setSegment = reinterpret_cast<Call>(k42test::LoadedExport(folder.file("42XX_Lcd.so"), "", "SetSegment"));
  auto setStatus = reinterpret_cast<int32_t (*)(int32_t)>(
      k42test::LoadedExport(folder.file("42XX_Lcd.so"), "", "SetLCDstatus"));
  auto setMux = reinterpret_cast<int32_t (*)(int32_t)>(k42test::LoadedExport(folder.file("42XX_Lcd.so"), "", "SetLCDMUX"));
  ASSERT_TRUE(setSegment != nullptr && setStatus != nullptr && setMux != nullptr);
  for (int i = 0; i < chip.nibbles; ++i) setSegment(i, 15, 1);
  setStatus(1);
  setMux(15);
  const QImage shot = host->grab().toImage();
  shot.save(QString::fromStdString(folder.file("window.png")));
  for (const lcddef::SegmentRecord& s : d.segments) {
    const QPoint centre = display.topLeft() + QPoint((s.left() + s.right()) / 2, (s.top() + s.bottom()) / 2);
    EXPECT_LT(qGray(shot.pixel(centre)), 128) << s[lcddef::SegmentRecord::kAddress];
  }
}

INSTANTIATE_TEST_SUITE_P(LcdChips, ShippedGlass,
                         testing::Values(LcdChipRow{"QV4124", "42240000", "4224LDEF.CFG", 8},
                                         LcdChipRow{"QV4116", "42160000", "4216LDEF.CFG", 8},
                                         LcdChipRow{"QV4117", "42170000", "4217LDEF.CFG", 40},
                                         LcdChipRow{"QV4118", "42180000", "4218LDEF.CFG", 40},
                                         LcdChipRow{"QV4119", "42190000", "4219LDEF.CFG", 40},
                                         LcdChipRow{"QV4123", "42230000", "4223LDEF.CFG", 40}),
                         [](const testing::TestParamInfo<LcdChipRow>& row) { return std::string(row.param.controller); });

}  // namespace
