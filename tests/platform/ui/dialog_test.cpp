#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <memory>
#include <vector>

#include "platform/dialog.h"
#include "platform/dialog_items.h"
#include "platform/library.h"
#include "platform/window.h"

namespace {

using namespace platform;

struct Call {
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
  bool operator==(const Call&) const = default;
};

// A small periphery-like window: ports with pin buttons and LED places, a
// supply bar whose procedure follows its own rules, radio buttons, a list.
const DialogTemplate kPanel{
    "Curpos", 200, 100, nullptr, 8,
    {
        {1019, ControlKind::GroupBox, "PortA", 2, 1, 60, 50},
        {IDC_STATIC, ControlKind::Text, "0", 6, 10, 8, 8},
        {1035, ControlKind::PushButton, "L", 16, 10, 14, 10},
        {1085, ControlKind::Place, "", 34, 10, 8, 8},
        {1036, ControlKind::PushButton, "L", 16, 22, 14, 10},
        {1044, ControlKind::VScroll, "", 70, 4, 8, 60},
        {1045, ControlKind::Text, "3.60V", 80, 30, 30, 8, kAlignCenter},
        {1131, ControlKind::RadioButton, "Xtal", 120, 4, 40, 10, kGroupStart},
        {1132, ControlKind::RadioButton, "128kHz", 120, 16, 40, 10},
        {1133, ControlKind::RadioButton, "512kHz", 120, 28, 40, 10},
        {1200, ControlKind::RadioButton, "effect1", 120, 40, 40, 10, kGroupStart},
        {1201, ControlKind::RadioButton, "effect2", 120, 52, 40, 10},
        {1095, ControlKind::CheckBox, "Envelope", 120, 64, 40, 10},
        {1144, ControlKind::Edit, "", 166, 4, 30, 12},
        {1134, ControlKind::GroupBox, "Lcd GPO", 2, 60, 60, 38, kHidden},
        {1137, ControlKind::List, "", 4, 68, 56, 28, kHidden},
    }};

// The supply bar of a chip: lines of 1, pages of 10 (to the end when fewer
// remain), thumb tracking; a code that cannot move changes nothing.
void Supply(WindowHandle dialog, uintptr_t wParam, intptr_t lParam) {
  auto bar = reinterpret_cast<WindowHandle>(lParam);
  int pos = GetScrollPos(bar);
  switch (LOWORD(wParam)) {
    case SB_LINEUP: if (pos > 0) --pos; break;
    case SB_LINEDOWN: if (pos < 360) ++pos; break;
    case SB_PAGEUP: pos = pos <= 10 ? 0 : pos - 10; break;
    case SB_PAGEDOWN: pos = pos >= 350 ? 360 : pos + 10; break;
    case SB_THUMBTRACK: pos = HIWORD(wParam); break;
    default: return;
  }
  SetScrollPos(bar, pos);
  char text[16];
  std::snprintf(text, sizeof text, "%u.%02uV", (360 - pos) / 100, (360 - pos) % 100);
  SetDlgItemText(dialog, 1045, text);
}

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host = std::make_unique<QWidget>();
    host->setWindowTitle("Tavix - C:\\WORK\\DEMO.PRJ");
    dialog = CreateDialog(kPanel, host.get(), [this](WindowHandle d, uint32_t m, uintptr_t w, intptr_t l) {
      calls.push_back({m, w, l});
      if (m == WM_INITDIALOG) {
        SetScrollRange(GetDlgItem(d, 1044), 0, 360);
        CheckRadioButton(d, 1131, 1133, 1131);
      }
      if (m == WM_VSCROLL) Supply(d, w, l);
      return intptr_t{1};
    }, 77);
    ASSERT_NE(dialog, nullptr);
  }
  void TearDown() override {
    DestroyWindow(dialog);
    while (DispatchOneMessage()) {
    }
  }
  template <typename T>
  T* Control(int id) {
    return host->findChild<T*>(QStringLiteral("ctl%1").arg(id));
  }
  std::vector<Call> CallsOf(uint32_t message) const {
    std::vector<Call> out;
    for (const Call& c : calls) {
      if (c.message == message) out.push_back(c);
    }
    return out;
  }

  std::unique_ptr<QWidget> host;
  WindowHandle dialog = nullptr;
  std::vector<Call> calls;
};

TEST_F(DialogTest, CreatedAsHiddenChildAfterItsInitDialog) {
  auto* d = static_cast<QWidget*>(dialog);
  EXPECT_EQ(d->parentWidget(), host.get());
  EXPECT_EQ(d->objectName(), "Curpos");
  EXPECT_FALSE(d->isVisibleTo(host.get()));
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front(), (Call{WM_INITDIALOG, 0, 77}));
  // What the procedure set at WM_INITDIALOG is in place.
  EXPECT_EQ(IsDlgButtonChecked(dialog, 1131), BST_CHECKED);

  // Controls are found by id and by object name; ids come back.
  auto* button = Control<QPushButton>(1035);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(GetDlgItem(dialog, 1035), button);
  EXPECT_EQ(GetDlgCtrlID(button), 1035);
  EXPECT_EQ(GetDlgItem(dialog, 4711), nullptr);
  EXPECT_EQ(GetDlgItem(host.get(), 1035), nullptr);  // no dialog
}

TEST_F(DialogTest, LayoutFollowsDialogUnitsAndTheHostTakesTheDialogsSize) {
  Rect size{0, 0, 200, 100};
  ASSERT_TRUE(MapDialogRect(dialog, size));
  Rect window = GetWindowRect(dialog);
  EXPECT_EQ(window.width(), size.width());
  EXPECT_EQ(window.height(), size.height());
  Rect place{34, 10, 42, 18};
  MapDialogRect(dialog, place);
  QRect placeGeometry = Control<QWidget>(1085)->geometry();
  EXPECT_EQ(placeGeometry, QRect(place.left, place.top, place.width(), place.height()));
  // Widths scale with the units (within rounding).
  EXPECT_NEAR(Control<QLabel>(1045)->width() * 200.0 / 30, size.width(), 8);

  MoveWindow(dialog, 0, 0, window.width(), window.height());
  MoveWindow(host.get(), 0, 0, window.width(), window.height());
  EXPECT_EQ(host->size(), static_cast<QWidget*>(dialog)->size());
  EXPECT_EQ(static_cast<QWidget*>(dialog)->pos(), QPoint(0, 0));
  EXPECT_EQ(GetClientRect(host.get()), (Rect{0, 0, window.width(), window.height()}));
}

TEST_F(DialogTest, WindowTextIsTheHostsTitleOrTheControlsText) {
  EXPECT_EQ(GetWindowText(host.get()), "Tavix - C:\\WORK\\DEMO.PRJ");
  char buffer[8];
  EXPECT_EQ(GetWindowText(host.get(), buffer, sizeof buffer), 7);
  EXPECT_STREQ(buffer, "Tavix -");
  SetWindowText(host.get(), "QV4124 Periphery");
  EXPECT_EQ(host->windowTitle(), "QV4124 Periphery");
  SetWindowText(GetDlgItem(dialog, 1035), "H");
  EXPECT_EQ(Control<QPushButton>(1035)->text(), "H");
  EXPECT_EQ(GetWindowText(GetDlgItem(dialog, 1019)), "PortA");
}

TEST_F(DialogTest, ItemTextsOfEveryKind) {
  SetDlgItemText(dialog, 1045, "0.00V");
  EXPECT_EQ(Control<QLabel>(1045)->text(), "0.00V");
  EXPECT_EQ(GetDlgItemText(dialog, 1045), "0.00V");
  SetDlgItemText(dialog, 1019, "PortB");
  EXPECT_EQ(Control<QGroupBox>(1019)->title(), "PortB");
  SetDlgItemInt(dialog, 1144, 10, false);
  EXPECT_EQ(GetDlgItemText(dialog, 1144), "10");
  SetDlgItemInt(dialog, 1144, static_cast<unsigned>(-5), true);
  EXPECT_EQ(GetDlgItemText(dialog, 1144), "-5");

  // The edit read as a run loop does: at most 3 characters.
  SetDlgItemText(dialog, 1144, "12345");
  char delay[4];
  EXPECT_EQ(GetDlgItemText(dialog, 1144, delay, sizeof delay), 3);
  EXPECT_STREQ(delay, "123");
  EXPECT_EQ(GetDlgItemText(dialog, 4711, delay, sizeof delay), 0);
  EXPECT_STREQ(delay, "");

  // Lists keep lines ending in "\r\n".
  SetDlgItemText(dialog, 1137, "00 01\r\n01 00\r\n");
  EXPECT_EQ(GetDlgItemText(dialog, 1137), "00 01\r\n01 00");
  EXPECT_FALSE(SetDlgItemText(dialog, 4711, "x"));
}

TEST_F(DialogTest, ClicksReachTheProcedureAsCommands) {
  host->show();
  ShowWindow(dialog, SW_SHOWNA);
  calls.clear();
  auto* button = Control<QPushButton>(1035);
  QTest::mouseClick(button, Qt::LeftButton);
  auto* radio = Control<QRadioButton>(1133);
  QTest::mouseClick(radio, Qt::LeftButton);
  ASSERT_EQ(CallsOf(WM_COMMAND).size(), 2u);
  EXPECT_EQ(CallsOf(WM_COMMAND)[0], (Call{WM_COMMAND, MAKEWPARAM(1035, BN_CLICKED), reinterpret_cast<intptr_t>(button)}));
  EXPECT_EQ(LOWORD(CallsOf(WM_COMMAND)[1].wParam), 1133);
  // Automatic radio buttons: one per group.
  EXPECT_EQ(IsDlgButtonChecked(dialog, 1131), BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 1133), BST_CHECKED);
  QTest::mouseClick(Control<QRadioButton>(1201), Qt::LeftButton);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 1133), BST_CHECKED);  // another group
  EXPECT_EQ(IsDlgButtonChecked(dialog, 1201), BST_CHECKED);

  // Calls of the program change states without commands.
  calls.clear();
  CheckRadioButton(dialog, 1131, 1133, 1132);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 1132), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 1133), BST_UNCHECKED);
  CheckRadioButton(dialog, 1131, 1133, 0);  // none left checked
  EXPECT_EQ(IsDlgButtonChecked(dialog, 1132), BST_UNCHECKED);
  CheckDlgButton(dialog, 1095, BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 1095), BST_CHECKED);
  CheckDlgButton(dialog, 1095, BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 1095), BST_UNCHECKED);
  EXPECT_TRUE(CallsOf(WM_COMMAND).empty());

  // A disabled button sends nothing.
  EnableWindow(button, false);
  EXPECT_FALSE(IsWindowEnabled(button));
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(CallsOf(WM_COMMAND).empty());
}

TEST_F(DialogTest, ScrollBarMovesOnlyWhereTheProcedurePutsIt) {
  auto* bar = Control<QScrollBar>(1044);
  auto handle = reinterpret_cast<intptr_t>(bar);
  int lo = -1, hi = -1;
  ASSERT_TRUE(GetScrollRange(bar, lo, hi));
  EXPECT_EQ(std::make_pair(lo, hi), std::make_pair(0, 360));

  SetScrollPos(bar, 5);
  bar->triggerAction(QAbstractSlider::SliderPageStepSub);  // page up from 5 goes to 0
  EXPECT_EQ(GetScrollPos(bar), 0);
  EXPECT_EQ(GetDlgItemText(dialog, 1045), "3.60V");
  EXPECT_EQ(CallsOf(WM_VSCROLL).back(), (Call{WM_VSCROLL, MAKEWPARAM(SB_PAGEUP, 0), handle}));

  bar->triggerAction(QAbstractSlider::SliderSingleStepSub);  // cannot move: nothing changes
  EXPECT_EQ(GetScrollPos(bar), 0);
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(GetScrollPos(bar), 1);
  EXPECT_EQ(GetDlgItemText(dialog, 1045), "3.59V");
  SetScrollPos(bar, 355);
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(GetScrollPos(bar), 360);
  EXPECT_EQ(GetDlgItemText(dialog, 1045), "0.00V");

  // Codes the procedure ignores leave the bar where it was.
  bar->triggerAction(QAbstractSlider::SliderToMinimum);
  EXPECT_EQ(LOWORD(CallsOf(WM_VSCROLL).back().wParam), SB_TOP);
  EXPECT_EQ(GetScrollPos(bar), 360);

  // Thumb tracking reports the wanted position.
  bar->setSliderPosition(120);
  EXPECT_EQ(CallsOf(WM_VSCROLL).back().wParam, MAKEWPARAM(SB_THUMBTRACK, 120));
  EXPECT_EQ(GetScrollPos(bar), 120);

  // The keyboard goes the same way.
  bar->setFocus();
  QTest::keyClick(bar, Qt::Key_Down);
  EXPECT_EQ(LOWORD(CallsOf(WM_VSCROLL).back().wParam), SB_LINEDOWN);
  EXPECT_EQ(GetScrollPos(bar), 121);

  // Positions stay within the range.
  SetScrollPos(bar, 999);
  EXPECT_EQ(GetScrollPos(bar), 360);
}

TEST_F(DialogTest, PostedNotificationsCoalesceIntoOneCall) {
  calls.clear();
  for (int i = 0; i < 10000; ++i) PostCoalescedMessage(dialog, WM_USER, 6, intptr_t{1} << (i % 10));
  PostCoalescedMessage(dialog, WM_USER, 5, 2);
  QApplication::processEvents();
  EXPECT_EQ(CallsOf(WM_USER), (std::vector<Call>{{WM_USER, 6, 0x3FF}, {WM_USER, 5, 2}}));
  EXPECT_EQ(PendingMessageCount(), 0);
}

TEST_F(DialogTest, DestroyedDialogsTakeNoMessages) {
  PostMessage(dialog, WM_USER, 1, 1);
  EXPECT_TRUE(DestroyWindow(dialog));
  EXPECT_EQ(PendingMessageCount(), 0);
  EXPECT_FALSE(PostMessage(dialog, WM_USER, 1, 1));
  EXPECT_FALSE(DestroyWindow(dialog));
  EXPECT_EQ(SendMessage(dialog, WM_USER, 0, 0), 0);
  EXPECT_EQ(host->findChild<QWidget*>("Curpos"), nullptr);

  // A host destroyed first takes its dialog with it.
  WindowHandle second = CreateDialog(kPanel, host.get(), [](WindowHandle, uint32_t, uintptr_t, intptr_t) {
    return intptr_t{0};
  });
  QPointer<QWidget> guard(static_cast<QWidget*>(second));
  PostCoalescedMessage(second, WM_USER, 0, 1);
  host.reset();
  EXPECT_TRUE(guard.isNull());
  EXPECT_FALSE(PostMessage(second, WM_USER, 0, 1));
  EXPECT_EQ(PendingMessageCount(), 0);
  dialog = nullptr;
}

TEST_F(DialogTest, ItemsShowHideAndEnable) {
  host->show();
  ShowWindow(dialog, SW_SHOWNA);
  WindowHandle gpo = GetDlgItem(dialog, 1134);
  EXPECT_FALSE(IsWindowVisible(gpo));
  ShowWindow(gpo, SW_SHOW);
  ShowWindow(GetDlgItem(dialog, 1137), SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(gpo));
  ShowWindow(gpo, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(gpo));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, 1036)));
}

TEST_F(DialogTest, PicturePlacesDrawTheirPictures) {
  host->show();
  ShowWindow(dialog, SW_SHOWNA);
  MoveWindow(dialog, 0, 0, 400, 200);
  auto centre = [this] {
    QWidget* place = Control<QWidget>(1085);
    QImage image = place->grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2 + 1);
  };
  EXPECT_EQ(GetDlgItemPicture(dialog, 1085), Picture::None);
  EXPECT_EQ(centre(), QColor(Qt::white));
  SetDlgItemPicture(dialog, 1085, Picture::PinHigh);
  QColor high = centre();
  EXPECT_GT(high.red(), 150);
  EXPECT_LT(high.green(), 120);
  SetDlgItemPicture(dialog, 1085, Picture::IndicatorOn);
  QColor on = centre();
  EXPECT_GT(on.green(), 150);
  EXPECT_LT(on.red(), 120);
  EXPECT_EQ(GetDlgItemPicture(dialog, 1085), Picture::IndicatorOn);
  EXPECT_FALSE(SetDlgItemPicture(dialog, 1035, Picture::PinLow));  // a button is no place
}

// A host in the monitor's MDI area: minimizing it hides the dialog from the
// screen; restoring it asks for a full redraw.
TEST(DialogFrameTest, MinimizedHostMakesTheDialogIconicAndRestoreRepaints) {
  QMdiArea area;
  area.resize(800, 600);
  auto* host = new QWidget;
  QMdiSubWindow* frame = area.addSubWindow(host);
  area.show();
  frame->show();
  int paints = 0;
  WindowHandle dialog = CreateDialog(kPanel, host, [&](WindowHandle, uint32_t m, uintptr_t, intptr_t) {
    if (m == WM_PAINT) ++paints;
    return intptr_t{0};
  });
  EXPECT_TRUE(IsIconic(dialog));  // not shown yet
  ShowWindow(dialog, SW_SHOWNA);
  QApplication::processEvents();
  EXPECT_FALSE(IsIconic(dialog));
  EXPECT_EQ(paints, 1);

  ShowWindow(host, SW_MINIMIZE);
  QApplication::processEvents();
  EXPECT_TRUE(frame->isMinimized());
  EXPECT_TRUE(IsIconic(dialog));
  EXPECT_TRUE(IsIconic(host));
  EXPECT_EQ(paints, 1);

  ShowWindow(host, SW_RESTORE);
  QApplication::processEvents();
  EXPECT_FALSE(IsIconic(dialog));
  EXPECT_EQ(paints, 2);
  DestroyWindow(dialog);
}

TEST(DialogFrameTest, MinimizedTopLevelHostMakesTheDialogIconic) {
  QWidget host;
  host.show();
  int paints = 0;
  WindowHandle dialog = CreateDialog(kPanel, &host, [&](WindowHandle, uint32_t m, uintptr_t, intptr_t) {
    if (m == WM_PAINT) ++paints;
    return intptr_t{0};
  });
  ShowWindow(dialog, SW_SHOWNA);
  QApplication::processEvents();
  EXPECT_EQ(paints, 1);
  ShowWindow(&host, SW_MINIMIZE);
  QApplication::processEvents();
  EXPECT_TRUE(IsIconic(dialog));
  ShowWindow(&host, SW_RESTORE);
  QApplication::processEvents();
  EXPECT_FALSE(IsIconic(dialog));
  EXPECT_EQ(paints, 2);
  DestroyWindow(dialog);
}

}  // namespace

namespace {

// A module loaded by name builds its window in the program's host widget;
// the program's event loop delivers the module's posted redraws.
TEST(ModuleDialogTest, ModuleWindowLivesInTheHostAndGetsItsRedraws) {
  platform::LibraryHandle module = platform::LoadLibrary(UI_PROBE_PUMP);
  ASSERT_NE(module, nullptr) << platform::LastLibraryError();
  auto open = reinterpret_cast<void* (*)(void*)>(platform::GetProcAddress(module, "ProbeOpenDialog"));
  auto post = reinterpret_cast<void (*)(int)>(platform::GetProcAddress(module, "ProbePostRedraws"));
  auto close = reinterpret_cast<bool (*)()>(platform::GetProcAddress(module, "ProbeCloseDialog"));
  ASSERT_TRUE(open && post && close);

  QWidget host;
  host.show();
  auto* dialog = static_cast<QWidget*>(open(&host));
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->parentWidget(), &host);
  EXPECT_EQ(host.windowTitle(), "Probe Periphery");

  post(10000);
  QApplication::processEvents();
  auto* text = host.findChild<QLabel*>("ctl1001");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->text(), "1 FFF");

  QTest::mouseClick(host.findChild<QPushButton*>("ctl1002"), Qt::LeftButton);
  EXPECT_EQ(host.findChild<QPushButton*>("ctl1002")->text(), "H");

  post(3);
  EXPECT_TRUE(close());
  EXPECT_EQ(host.findChild<QWidget*>("Curpos"), nullptr);
  QApplication::processEvents();  // nothing left for a destroyed window
  platform::FreeLibrary(module);
}

}  // namespace
