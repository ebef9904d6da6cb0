// Forms, the form manager and the MDI frame: load and unload rules, the
// frame's close order, menus from a table and their swap, the window list,
// arrange and key preview, on real widgets.
#include "platform/forms.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>
#include <string>
#include <vector>

#include "platform/mdi_frame.h"
#include "platform/menu_table.h"

namespace {

using platform::Form;
using platform::FormKind;
using platform::FormManager;
using platform::MdiFrame;

std::vector<std::string> gLog;

class LoggingForm : public Form {
 public:
  explicit LoggingForm(const char* name) : Form(name) { SetCaption(name); }
  void OnLoad() override { gLog.push_back(Name() + ".Load"); }
  void OnActivate() override { gLog.push_back(Name() + ".Activate"); }
  void OnQueryUnload(bool& cancel) override {
    gLog.push_back(Name() + ".QueryUnload");
    cancel = refuse;
  }
  void OnUnload() override { gLog.push_back(Name() + ".Unload"); }
  void OnKeyDown(int& code, int shift) override {
    keys.push_back(code * 10 + shift);
    if (code == 65) code = 0;  // 'A' is the form's own
  }
  bool refuse = false;
  std::vector<int> keys;
};

class FormsTest : public ::testing::Test {
 protected:
  FormsTest() {
    gLog.clear();
    forms.Register("Main", FormKind::Frame, [this] {
      frame = new MdiFrame("Main", forms);
      frame->resize(800, 600);
      return frame;
    });
    for (const char* name : {"One", "Two", "Three"}) {
      forms.Register(name, FormKind::MdiChild, [name] { return new LoggingForm(name); });
    }
    forms.Declare("Later", FormKind::MdiChild);
    forms.Load("Main");
    frame->show();
  }
  ~FormsTest() override {
    delete frame.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  LoggingForm* Child(const char* name) { return static_cast<LoggingForm*>(forms.Get(name)); }

  FormManager forms;
  QPointer<MdiFrame> frame;
};

TEST_F(FormsTest, LoadUnloadAndTheListOfLoadedForms) {
  EXPECT_EQ(forms.Get("One"), nullptr);  // Get never loads
  Form* one = forms.Load("One");
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(forms.Load("One"), one);           // loaded once
  EXPECT_TRUE(one->SubWindow()->isVisible());  // a child is shown when it loads
  EXPECT_EQ(one->objectName(), "One");
  forms.Load("Two");
  forms.Hide("Two");
  EXPECT_EQ(forms.Loaded(), (std::vector<Form*>{frame, one, forms.Get("Two")}));  // hidden too
  EXPECT_EQ(forms.Load("Later"), nullptr);  // known, not built: nothing
  EXPECT_TRUE(forms.Unload("Later"));
  EXPECT_TRUE(forms.Unload("Three"));  // not loaded: nothing
  EXPECT_TRUE(platform::FindFormByCaption(forms, "On", true));
  EXPECT_FALSE(platform::FindFormByCaption(forms, "On", false));
  EXPECT_TRUE(platform::FindFormByCaption(forms, "One", false));

  Child("One")->refuse = true;
  EXPECT_FALSE(forms.Unload("One"));
  EXPECT_TRUE(forms.IsLoaded("One"));
  Child("One")->refuse = false;
  QPointer<Form> old(one);
  EXPECT_TRUE(forms.Unload("One"));
  EXPECT_FALSE(forms.IsLoaded("One"));  // leaves the list at once…
  EXPECT_FALSE(platform::FindFormByCaption(forms, "One", false));
  EXPECT_TRUE(old);  // …and is deleted later
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(old);
  Form* fresh = forms.Load("One");
  EXPECT_NE(fresh, nullptr);
  EXPECT_EQ(gLog, (std::vector<std::string>{"One.Load", "One.Activate", "Two.Load", "Two.Activate",
                                            "One.QueryUnload", "One.QueryUnload", "One.Unload",
                                            "One.Load", "One.Activate"}));
  // The user's close button on a child asks it and unloads it.
  fresh->SubWindow()->close();
  EXPECT_FALSE(forms.IsLoaded("One"));
}

TEST_F(FormsTest, FrameCloseAsksEveryChildBeforeUnloadingAny) {
  forms.Load("One");
  forms.Load("Two");
  Child("Two")->refuse = true;
  gLog.clear();
  EXPECT_FALSE(frame->close());
  EXPECT_EQ(gLog, (std::vector<std::string>{"One.QueryUnload", "Two.QueryUnload"}));
  EXPECT_TRUE(forms.IsLoaded("One"));
  EXPECT_TRUE(forms.IsLoaded("Main"));
  Child("Two")->refuse = false;
  gLog.clear();
  EXPECT_TRUE(frame->CloseFrame());
  EXPECT_EQ(gLog, (std::vector<std::string>{"One.QueryUnload", "Two.QueryUnload", "One.Unload",
                                            "Two.Unload"}));
  EXPECT_TRUE(forms.Loaded().empty());
}

TEST_F(FormsTest, ChildMenusReplaceTheFramesWhileActiveWithTheirShortcuts) {
  std::vector<std::string> commands;
  const auto record = [&](const std::string& name, int index) {
    commands.push_back(platform::MenuItemName(name.c_str(), index));
  };
  const platform::MenuSet frameMenus = platform::BuildMenus(
      {{1, "mnuFile", "&File"},
       {2, "mnuOpen", "&Open", "Ctrl+J"},
       {2, "mnuRecent", "Not Used", "", platform::kMenuHidden, 1},
       {2, "SEPERATOR0", "-"},
       {2, "mnuBuild", "&Build", "", 0, -1, "Builder"},
       {2, "mnuSub", "&More"},
       {3, "mnuDeep", "&Deep"},
       {1, "windowmnu", "&Window", "", platform::kMenuWindowList},
       {2, "mnuCascade", "&Cascade"}},
      frame, [](const std::string& needs) { return needs != "Builder"; }, record);
  frame->SetFrameMenus(frameMenus.TopLevel());
  EXPECT_EQ(frameMenus.Item("mnuRecent(1)")->isVisible(), false);
  EXPECT_FALSE(frameMenus.Item("mnuBuild")->isEnabled());
  EXPECT_TRUE(frameMenus.Item("SEPERATOR0")->isSeparator());
  EXPECT_EQ(frameMenus.Item("mnuDeep")->parent()->objectName(), "mnuSub");

  Form* one = forms.Load("One");
  const platform::MenuSet childMenus = platform::BuildMenus(
      {{1, "mnuEdit", "&Edit"}, {2, "mnuFind", "&Find", "Ctrl+K"}}, one,
      [](const std::string&) { return true; }, record);
  one->SetOwnMenus(childMenus.TopLevel());
  forms.Load("Two");
  frame->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame));

  forms.Show("One");
  EXPECT_EQ(frame->ActiveChild(), one);
  EXPECT_EQ(frame->ShownMenus(), childMenus.TopLevel());
  QTest::keyClick(frame, Qt::Key_J, Qt::ControlModifier);
  QTest::keyClick(frame, Qt::Key_K, Qt::ControlModifier);
  EXPECT_EQ(commands, (std::vector<std::string>{"mnuFind"}));

  // Two has no menus of its own: the frame's come back.
  forms.Show("Two");
  EXPECT_EQ(frame->ShownMenus(), frameMenus.TopLevel());
  QTest::keyClick(frame, Qt::Key_J, Qt::ControlModifier);
  QTest::keyClick(frame, Qt::Key_K, Qt::ControlModifier);
  EXPECT_EQ(commands, (std::vector<std::string>{"mnuFind", "mnuOpen"}));

  // The window list: the open children, the active one checked.
  QMenu* window = frameMenus.Submenu("windowmnu");
  emit window->aboutToShow();
  QStringList entries;
  QAction* oneEntry = nullptr;
  for (QAction* action : window->actions()) {
    if (action->isSeparator() || action->objectName() == "mnuCascade") continue;
    entries << action->text() + (action->isChecked() ? "*" : "");
    if (action->text().endsWith("One")) oneEntry = action;
  }
  EXPECT_EQ(entries, (QStringList{"&1 One", "&2 Two*"}));
  ASSERT_NE(oneEntry, nullptr);
  oneEntry->trigger();
  EXPECT_EQ(frame->ActiveChild(), one);
  EXPECT_EQ(frame->ShownMenus(), childMenus.TopLevel());

  forms.Unload("One");
  EXPECT_EQ(frame->ShownMenus(), frameMenus.TopLevel());
}

TEST_F(FormsTest, TileHorizontallyAndArrangeIcons) {
  Form* one = forms.Load("One");
  Form* two = forms.Load("Two");
  Form* three = forms.Load("Three");
  three->SetWindowState(1);
  EXPECT_EQ(three->WindowState(), 1);
  frame->Arrange(MdiFrame::kTileHorizontal);
  const QRect area = frame->Area()->viewport()->rect();
  EXPECT_EQ(one->SubWindow()->geometry(), QRect(0, 0, area.width(), area.height() / 2));
  EXPECT_EQ(two->SubWindow()->geometry(),
            QRect(0, area.height() / 2, area.width(), area.height() / 2));
  one->SetWindowState(1);
  two->SetWindowState(1);
  frame->Arrange(MdiFrame::kArrangeIcons);
  const QRect first = one->SubWindow()->geometry();
  EXPECT_EQ(first.left(), 0);
  EXPECT_EQ(first.bottom(), area.height() - 1);
  EXPECT_EQ(two->SubWindow()->geometry().left(), first.width());
  EXPECT_EQ(three->SubWindow()->geometry().left(), 2 * first.width());

  // Placement in twips, on the sub-window's frame.
  two->SetWindowState(0);
  two->SetPlacement({150, 300, 4500, 3000});
  EXPECT_EQ(two->Placement(), (platform::TwipsRect{150, 300, 4500, 3000}));
  EXPECT_EQ(two->SubWindow()->geometry(), QRect(10, 20, 300, 200));
  EXPECT_LT(two->ScaleWidth(), 4500);

  // A maximised child decorates the frame's shown title (Qt does it where the
  // frame's menu bar holds the child's buttons; the title is set here as Qt
  // sets it), never its caption.
  frame->SetCaption("Tavix /w/p.prj");
  two->SetWindowState(2);
  frame->setWindowTitle("Tavix /w/p.prj - [" + two->windowTitle() + "]");
  EXPECT_EQ(frame->Caption(), "Tavix /w/p.prj");
  EXPECT_EQ(two->Caption(), "Two");
  EXPECT_TRUE(platform::FindFormByCaption(forms, "Tavix /w/p.prj", false));
  two->SetWindowState(0);
  frame->SetCaption("Tavix /w/q.prj");
  EXPECT_EQ(frame->windowTitle(), "Tavix /w/q.prj");
}

TEST_F(FormsTest, ChildrenStayInsideTheAreaAndDialogsOpenCentred) {
  const QRect inside(QPoint(), frame->Area()->size());
  Form* one = forms.Load("One");
  Form* two = forms.Load("Two");  // where the area's own placement leaves no room
  EXPECT_TRUE(inside.contains(two->SubWindow()->geometry()));
  one->SetPlacement({30000, 30000, 6000, 4500});  // 400 x 300 px, far outside
  EXPECT_EQ(one->SubWindow()->pos(), inside.bottomRight() - QPoint(399, 299));
  two->SetPlacement({-900, 0, 30000, 30000});
  EXPECT_EQ(two->SubWindow()->geometry(), inside);
  frame->resize(frame->size() - inside.size() / 2);  // smaller than its children
  QScrollBar* bar = frame->Area()->verticalScrollBar();
  EXPECT_TRUE(QTest::qWaitFor([bar] { return bar->isVisible(); }, 5000));
  two->SetWindowState(2);
  two->SetWindowState(0);  // restored into the smaller area
  EXPECT_TRUE(frame->Area()->viewport()->rect().contains(two->SubWindow()->geometry()));
  forms.Register("Dialog", FormKind::Dialog, [] { return new LoggingForm("Dialog"); });
  const QPoint off =
      forms.Show("Dialog")->frameGeometry().center() - frame->frameGeometry().center();
  EXPECT_LE(off.manhattanLength(), 2);
  // A dialog offers its close button, no minimize or maximize.
  const Qt::WindowFlags flags = forms.Get("Dialog")->windowFlags();
  EXPECT_TRUE((flags & Qt::WindowCloseButtonHint) && !(flags & Qt::WindowMinMaxButtonsHint));
  forms.Unload("Dialog");
}

TEST_F(FormsTest, KeyPreviewSeesTheControlsKeysFirst) {
  auto* form = static_cast<LoggingForm*>(forms.Load("One"));
  auto* box = new QLineEdit(form);
  form->setCentralWidget(box);
  form->SetKeyPreview(true);
  forms.Show("One");
  box->setFocus();
  QTest::keyClicks(box, "ab");
  QTest::keyClick(box, Qt::Key_F5, Qt::ShiftModifier);
  EXPECT_EQ(box->text(), "b");  // 'A' consumed by the form
  EXPECT_EQ(form->keys, (std::vector<int>{650, 660, 161, 1161}));
  form->SetKeyPreview(false);
  QTest::keyClicks(box, "a");
  EXPECT_EQ(box->text(), "ba");
  EXPECT_EQ(form->keys.size(), 4u);
}

}  // namespace
