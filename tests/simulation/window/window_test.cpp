// The periphery window framework end to end: the window test chip loaded by
// name through STDK42XX, its dialog inside a host widget, driven by clicks,
// scroll actions, posted redraws during runs, minimize and restore, unload.
#include <gtest/gtest.h>
#include <platform/dialog.h>
#include <platform/pictures.h>
#include <platform/messages.h>
#include <platform/window.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>

#include <memory>

#include "encoding.h"
#include "target_client.h"

namespace {

using k42test::Records;
using k42test::Stdk;
using platform::MAKEWPARAM;

constexpr int kItemPort = 0, kItemStatus = 6;
constexpr int kFirstButton = 1035, kFirstLed = 1085, kCounterText = 1130;
constexpr int kSupplyBar = 1044, kSupplyText = 1045, kEnableLed = 1107;
constexpr int kPortRegister = 122, kEnableRegister = 121;

// An export of the window test chip (the module STDK42XX has loaded).
template <class Fn>
Fn Export(const char* name) {
  return reinterpret_cast<Fn>(k42test::LoadedExport("WinChip.DLL", WINDOW_PROGRAM_FOLDER, name));
}

int32_t Draws(int item) { return Export<int32_t (*)(int32_t)>("WinChip_Draws")(item); }
int32_t Samples() { return Export<int32_t (*)()>("WinChip_Samples")(); }
intptr_t Curpos(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  using Fn = intptr_t (*)(void*, uint32_t, uintptr_t, intptr_t);
  return Export<Fn>("CurposDlg")(window, message, wParam, lParam);
}

void Pump() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

class Window : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Stdk::Get().SetController("WINCHIP", 0, WINDOW_PROGRAM_FOLDER), 0);
    host_ = std::make_unique<QWidget>();
    host_->setWindowTitle("Tavix - [demo.prj]");
    host_->resize(40, 30);
    host_->show();
    Pump();
  }
  void TearDown() override {
    platform::RunPump::SetScript({});
    Stdk::Get().UnloadInterface(0);
    host_.reset();
  }

  void open() {
    ASSERT_EQ(Stdk::Get().InitInterface(host_.get()), 0);
    dialog_ = host_->findChild<QWidget*>("Curpos");
    ASSERT_NE(dialog_, nullptr);
  }
  // Controls by object name: the dialog belongs to the module's own copy of
  // the dialog layer, so the test reads the widgets, not the item calls.
  QWidget* item(int id) const {
    QWidget* w = dialog_->findChild<QWidget*>(QStringLiteral("ctl%1").arg(id));
    EXPECT_NE(w, nullptr) << id;
    return w;
  }
  QPushButton* button(int pin) const { return static_cast<QPushButton*>(item(kFirstButton + pin)); }
  std::string text(int id) const {
    QWidget* w = item(id);
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text().toStdString();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text().toStdString();
    return {};
  }
  platform::Picture picture(int id) const {
    return static_cast<platform::Picture>(Export<int32_t (*)(int32_t)>("WinChip_Picture")(id));
  }

  std::unique_ptr<QWidget> host_;
  QWidget* dialog_ = nullptr;
  Records r_;
};

TEST_F(Window, InitInterfaceFillsAndTitlesTheHost) {
  open();
  EXPECT_EQ(dialog_->parentWidget(), host_.get());
  EXPECT_EQ(dialog_->pos(), QPoint(0, 0));
  EXPECT_EQ(host_->size(), dialog_->size());
  EXPECT_GT(dialog_->width(), 100);
  EXPECT_EQ(host_->windowTitle(), "QV4100 Periphery");
  EXPECT_TRUE(dialog_->isVisible());
  EXPECT_EQ(text(kFirstButton), "L");
  EXPECT_EQ(text(kSupplyText), "3.60V");

  // A second call replaces the dialog: one dialog, the first one gone.
  QPointer<QWidget> first = dialog_;
  open();
  EXPECT_TRUE(first.isNull());
  EXPECT_EQ(host_->findChildren<QWidget*>("Curpos").size(), 1);

  // A null host creates nothing and still answers 0.
  EXPECT_EQ(Stdk::Get().InitInterface(nullptr), 0);
}

TEST_F(Window, AHiddenHostGetsItsBoxesDrawnWhenShown) {
  host_->hide();
  open();
  r_.reset();
  r_.write(kEnableRegister, 8);
  Pump();
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_EQ(Draws(kItemStatus), 0);
  host_->show();
  Pump();
  EXPECT_GT(Draws(kItemStatus), 0);
  EXPECT_EQ(picture(kEnableLed), platform::Picture::IndicatorOn);
  EXPECT_EQ(host_->size(), dialog_->size());
}

TEST_F(Window, PostsWithoutADialogAreNoOps) {
  // Reset posts every box before any window exists; writes and runs post too.
  EXPECT_EQ(r_.reset(), 0);
  EXPECT_EQ(r_.write(kEnableRegister, 8), 8);
  EXPECT_EQ(r_.execute(k42::kRunModeStep), k42::kStopStep);
  Pump();
  EXPECT_EQ(Draws(kItemStatus), 0);
}

TEST_F(Window, PinClicksToggleAndSampleWhileTheRegisterFileIsKnown) {
  open();
  r_.reset();
  Pump();
  const int32_t samplesBefore = Samples();

  // After a reset the pointer is set: the click reaches register 122 at once.
  button(1)->click();
  EXPECT_EQ(text(kFirstButton + 1), "H");
  EXPECT_EQ(r_.reg(kPortRegister), 2);
  EXPECT_EQ(Samples(), samplesBefore + 1);
  // The sampling ran with the busy flag set, and it is clear again.
  EXPECT_EQ(Export<int32_t (*)()>("WinChip_BusySamples")(), 1);
  EXPECT_EQ(Export<int32_t (*)()>("WinChip_Busy")(), 0);
  Pump();
  EXPECT_EQ(picture(kFirstLed + 1), platform::Picture::PinHigh);
  EXPECT_EQ(picture(kFirstLed + 0), platform::Picture::PinLow);

  // After a run the pointer is cleared: the click shows, the register waits
  // for the next run.
  r_.program[0].instr = k42test::NOP;
  r_.execute(k42::kRunModeStep);
  button(1)->click();
  EXPECT_EQ(text(kFirstButton + 1), "L");
  EXPECT_EQ(r_.reg(kPortRegister), 2);
  r_.execute(k42::kRunModeStep);
  EXPECT_EQ(r_.reg(kPortRegister), 0);

  // The procedure driven directly, as the export.
  EXPECT_EQ(Curpos(dialog_, platform::WM_COMMAND, MAKEWPARAM(kFirstButton + 3, platform::BN_CLICKED), 0), 1);
  EXPECT_EQ(text(kFirstButton + 3), "H");

  // A pin the chip drives shows "NC" and ignores clicks.
  Export<void (*)(int32_t, int32_t)>("WinChip_DrivePin")(2, 0);
  Pump();
  EXPECT_EQ(text(kFirstButton + 2), "NC");
  button(2)->click();
  EXPECT_EQ(text(kFirstButton + 2), "NC");

  // Unknown controls and foreign windows are not handled.
  EXPECT_EQ(Curpos(dialog_, platform::WM_COMMAND, MAKEWPARAM(999, 0), 0), 0);
  QWidget stranger;
  EXPECT_EQ(Curpos(&stranger, platform::WM_COMMAND, MAKEWPARAM(kFirstButton, 0), 0), 0);
  EXPECT_EQ(Curpos(nullptr, platform::WM_USER, kItemPort, kFirstButton), 0);
}

TEST_F(Window, TheProcedureMovesTheScrollBar) {
  open();
  auto* bar = static_cast<QScrollBar*>(item(kSupplyBar));
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(bar->value(), 1);
  EXPECT_EQ(text(kSupplyText), "3.59V");
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(bar->value(), 11);

  // A step that cannot move the bar changes nothing.
  auto* handle = static_cast<platform::WindowHandle>(bar);
  auto scroll = [&](uint16_t code, uint16_t thumb) {
    return Curpos(dialog_, platform::WM_VSCROLL, MAKEWPARAM(code, thumb), reinterpret_cast<intptr_t>(handle));
  };
  EXPECT_EQ(scroll(platform::SB_THUMBTRACK, 355), 1);
  EXPECT_EQ(text(kSupplyText), "0.05V");
  scroll(platform::SB_PAGEDOWN, 0);
  EXPECT_EQ(bar->value(), 360);
  EXPECT_EQ(text(kSupplyText), "0.00V");
  static_cast<QLabel*>(item(kSupplyText))->setText("marker");
  scroll(platform::SB_LINEDOWN, 0);
  scroll(platform::SB_ENDSCROLL, 0);
  EXPECT_EQ(text(kSupplyText), "marker");
  EXPECT_EQ(Export<int32_t (*)()>("WinChip_Supply")(), 0);
  scroll(platform::SB_PAGEUP, 0);
  EXPECT_EQ(bar->value(), 350);
}

TEST_F(Window, TenThousandPostsDuringARunGiveOneDrawOfTheLatestState) {
  open();
  r_.reset();
  Pump();
  const int32_t before = Draws(kItemStatus);

  // The program loops (JMP 0); the tick posts the counter box every round.
  // The toolkit does not run during this scripted run, so nothing is drawn
  // until the run returns.
  platform::RunPump::SetScriptAtRound(10000, [] { Stdk::Get().Instruction_Break(k42::kStopStep); });
  EXPECT_EQ(r_.execute(k42::kRunModeRun), k42::kStopStep);
  EXPECT_EQ(Draws(kItemStatus), before);
  Pump();
  EXPECT_EQ(Draws(kItemStatus), before + 1);
  const uint64_t ticks = Export<uint64_t (*)()>("WinChip_Ticks")();
  EXPECT_GE(ticks, 10000u);
  EXPECT_EQ(text(kCounterText), std::to_string(ticks));

  // Letting the toolkit run inside a run draws there, from the model's state
  // (the run still has the register file; the box does not use it).
  platform::RunPump::SetScript([](uint64_t round) {
    if (round == 500) QCoreApplication::processEvents();
    if (round == 1000) Stdk::Get().Instruction_Break(k42::kStopStep);
  });
  r_.execute(k42::kRunModeRun);
  EXPECT_EQ(Draws(kItemStatus), before + 2);
  EXPECT_NE(text(kCounterText), std::to_string(ticks));
  Pump();
  EXPECT_EQ(text(kCounterText), std::to_string(Export<uint64_t (*)()>("WinChip_Ticks")()));

  // A redraw after the run, when the register file pointer is cleared, draws
  // the LED from the model's copy of the register.
  r_.write(kEnableRegister, 8);
  r_.execute(k42::kRunModeStep);
  Pump();
  EXPECT_EQ(picture(kEnableLed), platform::Picture::IndicatorOn);
}

TEST_F(Window, TheRunPumpDrawsAtMostOncePerToolkitTurn) {
  open();
  r_.reset();
  Pump();
  const int32_t before = Draws(kItemStatus);

  // The real pump: the toolkit runs at most once every RunPump::kCountdown
  // rounds, and each turn draws the counter box at most once.
  constexpr uint64_t kRounds = 200000;
  Export<void (*)(uint64_t)>("WinChip_BreakAtTick")(kRounds);
  EXPECT_EQ(r_.execute(k42::kRunModeRun), k42::kStopStep);
  EXPECT_LE(Draws(kItemStatus) - before, static_cast<int32_t>(kRounds / platform::RunPump::kCountdown + 1));
  Pump();
  EXPECT_EQ(text(kCounterText), std::to_string(kRounds));
}

TEST_F(Window, AMinimizedWindowDrawsNothingAndRedrawsEveryBoxOnRestore) {
  QMdiArea area;
  auto* sub = area.addSubWindow(host_.release());
  area.show();
  host_.reset(sub->widget());
  open();
  r_.reset();
  Pump();
  const int32_t port = Draws(kItemPort), status = Draws(kItemStatus);

  sub->showMinimized();
  Pump();
  EXPECT_TRUE(platform::IsIconic(dialog_));
  r_.write(kEnableRegister, 8);
  button(0)->click();
  Pump();
  EXPECT_EQ(Draws(kItemPort), port);
  EXPECT_EQ(Draws(kItemStatus), status);
  EXPECT_EQ(picture(kEnableLed), platform::Picture::IndicatorOff);

  sub->showNormal();
  Pump();
  EXPECT_FALSE(platform::IsIconic(dialog_));
  EXPECT_GT(Draws(kItemPort), port);
  EXPECT_GT(Draws(kItemStatus), status);
  EXPECT_EQ(picture(kEnableLed), platform::Picture::IndicatorOn);
  EXPECT_EQ(picture(kFirstLed), platform::Picture::PinHigh);
  host_.release();  // the area owns the sub-window
  Stdk::Get().UnloadInterface(0);
}

TEST_F(Window, UnloadDestroysTheDialogAndSurvivesADestroyedHost) {
  open();
  r_.reset();
  QPointer<QWidget> dialog = dialog_;
  Stdk::Get().UnloadInterface(0);
  EXPECT_TRUE(dialog.isNull());
  EXPECT_TRUE(host_->findChildren<QWidget*>("Curpos").isEmpty());
  Pump();  // nothing pending may reach unloaded code

  // The host goes first: the module posts and unloads without the dialog.
  ASSERT_EQ(Stdk::Get().SetController("WINCHIP", 0, WINDOW_PROGRAM_FOLDER), 0);
  open();
  r_.reset();
  host_.reset();
  EXPECT_EQ(r_.write(kEnableRegister, 8), 8);
  r_.execute(k42::kRunModeStep);
  Pump();
  Stdk::Get().UnloadInterface(0);
  Pump();
}

}  // namespace
