// QV4124 through STDK42XX with our display library: a definition saved by
// the segment editor, a program that lights known segments, and the host
// window rendered; without a definition the chip runs as before.
#include <filesystem>

#include <QImage>

#include "digit_glass.h"
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
  const int area = static_cast<QWidget*>(dialog())->geometry().bottom() + 9;  // the glass's own
  EXPECT_EQ(glass()->geometry(), QRect(30, area + 20, 100, 40));
  EXPECT_EQ(litSegments({30, area + 20}), std::vector<int>{});  // display off after reset
  runProgram(2);                                                // on, all four commons
  EXPECT_EQ(litSegments({30, area + 20}), (std::vector<int>{0, 1, 2}));
  runProgram(0);                                                // on, commons 0-2 only
  EXPECT_EQ(litSegments({30, area + 20}), (std::vector<int>{0, 2}));
  runProgram(6);                                                // off
  EXPECT_EQ(litSegments({30, area + 20}), std::vector<int>{});

  // The project's definition comes first.
  saveDefinition("proj.CFG", 60, 70);
  openWindow("Tavix " + folder.file("PROJ.PRJ"));
  ASSERT_NE(glass(), nullptr);
  EXPECT_EQ(glass()->pos(), QPoint(60, area + 70));
  runProgram(2);
  EXPECT_EQ(litSegments({60, area + 70}), (std::vector<int>{0, 1, 2}));
  EXPECT_TRUE(log.texts().empty());
}

// Each LCD chip's shipped glass (the editor's digits over its LCD memory) lit whole, clear of its controls.
class ShippedGlass : public LcdChipTest, public testing::WithParamInterface<std::tuple<const char*, int>> {};
TEST_P(ShippedGlass, LightsEveryNibbleClearOfTheChipsControls) {
  const auto [digits, nibbles] = GetParam();
  const std::string file = std::string(digits, 4) + "LDEF.CFG", library = folder.file("42XX_Lcd.so");
  bindLcd("QV41" + std::string(digits + 2, 2), digits, "");
  for (const std::string& name : {std::string("42XX_Lcd.so"), file})
    std::filesystem::copy_file(std::string(TAVIX_DIST_DIR) + name, folder.file(name));
  CSegdrawDoc drawn;
  segdraw::DrawDigitGlass(drawn, nibbles);
  ASSERT_TRUE(drawn.OnSaveDocument(folder.file("drawn.cfg")));
  EXPECT_EQ(folder.read(file), folder.read("drawn.cfg"));
  openWindow("Tavix");
  const QWidget* glass = host->findChild<QWidget*>("LcdGlass");
  ASSERT_TRUE(glass != nullptr && host->rect().contains(glass->geometry()));
  auto* window = static_cast<QWidget*>(dialog());
  for (const QWidget* c : window->findChildren<QWidget*>())
    EXPECT_FALSE(c->isVisibleTo(window) && QRect(c->mapTo(host.get(), QPoint()), c->size()).intersects(glass->geometry()))
        << c->objectName().toStdString();
  const auto set = reinterpret_cast<int32_t (*)(int32_t, int32_t, int32_t)>(LoadedExport(library, "", "SetSegment"));
  for (int i = 0; i < nibbles; ++i) set(i, 15, 1);
  reinterpret_cast<int32_t (*)(int32_t)>(LoadedExport(library, "", "SetLCDstatus"))(1);
  const QImage shot = host->grab().toImage();
  for (const lcddef::SegmentRecord& s : drawn.Definition().segments)
    EXPECT_LT(qGray(shot.pixel(glass->pos() + QPoint(s.left() + 2, s.top() + 2))), 128) << s[1] << ":" << s[2];
}
INSTANTIATE_TEST_SUITE_P(LcdChips, ShippedGlass, testing::Values(std::tuple("42240000", 32), std::tuple("42160000", 8),
    std::tuple("42170000", 40), std::tuple("42180000", 40), std::tuple("42190000", 40), std::tuple("42230000", 40)));

}  // namespace
