// The loader's windows and reckoning, in process: the gauge's painting, the
// language dialog, the progress callback and the option scanner.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>  // and QEvent
#include <QImage>
#include <QListWidget>
#include <QPushButton>

#include "bootstrap.h"
#include "language_choice.h"
#include "platform/hooks.h"
#include "progress_window.h"
#include "setup/option_scanner.h"
#include "temp_dir.h"

namespace {

// The colour of each column of the gauge's middle row, as 'B' (bar) or '.' (other).
std::string Columns(setup::VXQBootGauge& gauge) {
  QImage image(gauge.size(), QImage::Format_RGB32);
  gauge.render(&image);
  std::string columns;
  for (int x = 0; x < image.width(); ++x) {
    columns += image.pixelColor(x, image.height() / 2) == gauge.Data().bar ? 'B' : '.';
  }
  return columns;
}

struct PaintCounter : QObject {
  int paints = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    paints += e->type() == QEvent::Paint;
    return false;
  }
};

}  // namespace

TEST(VanstallWindows, GaugeDrawsBlocksUpToItsPositionAndAnEmptyRangeEmpty) {
  setup::VXQBootGauge gauge;
  gauge.resize(204, 16);  // border 1 and frame 1 on each side: 200 pixels inside
  gauge.Data().bar = QColor(0, 0, 200);
  gauge.Message(setup::kGaugeSetRange, 0, 100 << 16);
  gauge.Message(setup::kGaugeSetPos, 50, 0);
  // 100 pixels filled; blocks of 200 * 5 / 100 = 10 pixels, 9 of bar, 1 of face.
  std::string expected = "..";
  for (int block = 0; block < 10; ++block) expected += "BBBBBBBBB.";
  expected += std::string(102, '.');
  EXPECT_EQ(Columns(gauge), expected);
  gauge.Message(setup::kGaugeDeltaPos, 3, 0);
  EXPECT_EQ(Columns(gauge).substr(102, 8), "BBBBBB..");  // 106 pixels: the last block cut
  gauge.Message(setup::kGaugeSetRange, 0, 0);
  EXPECT_EQ(Columns(gauge), std::string(204, '.'));
}

TEST(VanstallWindows, ProgressIsReckonedIn64BitsAndRepaintedOnlyWhenItChanges) {
  EXPECT_EQ(vanstall::ProgressPercent(0, 0, 0), 100);
  EXPECT_EQ(vanstall::ProgressPercent(1, 3000000000u, 4000000000u), 87);
  EXPECT_EQ(vanstall::ProgressPercent(0, 60000000, 60000000), 50);

  vanstall::Bootstrap b;
  ASSERT_TRUE(b.language.Load(SETUP_FILES_DIR "/BOOT0409.DLL"));
  b.progress = std::make_unique<vanstall::ProgressWindow>(b.language, "");
  ASSERT_TRUE(b.progress->Valid());
  QCoreApplication::processEvents();
  PaintCounter counter;
  b.progress->Gauge()->installEventFilter(&counter);
  const intptr_t user = reinterpret_cast<intptr_t>(&b);
  DcsProgress p;
  p.size = 1000;
  for (uint32_t written : {0u, 1u, 5u, 19u, 20u, 21u}) {
    p.written = written;
    EXPECT_EQ(vanstall::ProgressCallback(DCS_CB_PROGRESS, &p, user), 1);
  }
  EXPECT_EQ(b.progress->Gauge()->Data().position, 1);
  EXPECT_EQ(counter.paints, 2);  // 0 and 1 per cent
  DcsVolumeRequest next;
  EXPECT_EQ(vanstall::ProgressCallback(DCS_CB_NEXT_VOLUME, &next, user), 0);
  b.progress->BootstrapDlgProc(1);
  EXPECT_FALSE(b.progress->Window().isVisible());
}

TEST(VanstallWindows, LanguageDialogListsNamesInTheCurrentLanguageAndKeepsTheKeyWithoutSelection) {
  testsupport::TempDir dir;
  dir.write("SETUP.LNG",
            "[Language]\n0409=English\n0407=German\n040C=\n[Language (0407)]\n0409=Englisch\n");
  vanstall::LanguageLibrary library;
  ASSERT_TRUE(library.Load(SETUP_FILES_DIR "/BOOT0407.DLL"));
  std::vector<std::string> shown;
  int step = 0;
  platform::SetModalFormHook([&](QWidget& form) {
    auto* list = form.findChild<QListWidget*>();
    auto buttons = form.findChildren<QPushButton*>();
    shown.clear();
    for (int i = 0; i < list->count(); ++i) shown.push_back(list->item(i)->text().toStdString());
    if (step == 0) list->clearSelection();
    if (step == 1) {
      list->setCurrentRow(0);
      emit list->itemDoubleClicked(list->item(0));
    }
    QKeyEvent press(QEvent::KeyPress, step == 3 ? Qt::Key_Return : Qt::Key_Escape, {});
    if (step >= 3) return void(QCoreApplication::sendEvent(list, &press));  // OK, Cancel
    buttons[step == 2 ? 1 : 0]->click();
  });
  std::string key = "0407";
  EXPECT_EQ(vanstall::RunLanguageDialog(library, dir.file("SETUP.LNG"), key), 1);
  EXPECT_EQ(key, "0407");
  EXPECT_EQ(shown, (std::vector<std::string>{"Englisch", "German"}));
  step = 1;
  EXPECT_EQ(vanstall::RunLanguageDialog(library, dir.file("SETUP.LNG"), key), 1);
  EXPECT_EQ(key, "0409");
  step = 2;
  EXPECT_EQ(vanstall::RunLanguageDialog(library, dir.file("SETUP.LNG"), key), 2);
  for (step = 3; step <= 4; ++step)
    EXPECT_EQ(vanstall::RunLanguageDialog(library, dir.file("SETUP.LNG"), key), step - 2);
  platform::SetModalFormHook(nullptr);
}

TEST(VanstallWindows, OptionsAndLanguageKeys) {
  auto values = [](std::vector<std::string> words) {
    std::string out;
    for (const auto& o : setup::ScanOptions(words, "l:L:"))
      out += std::string(1, o.letter) + o.value + ";";
    return out;
  };
  EXPECT_EQ(values({"/l0407", "word", "/x", "/L", "040c", "//", "/l0409"}), "l0407;L040c;");
  EXPECT_EQ(values({"/l"}), "l;");
  testsupport::TempDir dir;
  dir.write("SETUP.LNG", "[Language]\n040C=French\n0407=German\n");
  unsigned id = 0x0C0C;
  EXPECT_EQ(vanstall::ChooseLanguageKey(dir.file("SETUP.LNG"), id, 0x0409), "040C");
  id = 0x0813;
  EXPECT_EQ(vanstall::ChooseLanguageKey(dir.file("SETUP.LNG"), id, 0), "040C");
  EXPECT_EQ(id, 0x040Cu);
  EXPECT_EQ(vanstall::LanguageIdOfLocale("fr_CA.UTF-8"), 0x0C0Cu);
  EXPECT_EQ(vanstall::LanguageIdOfLocale("de"), 0x0407u);
  EXPECT_EQ(vanstall::LanguageIdOfLocale("C"), 0x0409u);
}
