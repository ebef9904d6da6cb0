// The combo box whose text is its own and the list box whose Click follows
// every choice, with its own letter search off.
#include "platform/list_controls.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <string>
#include <vector>

namespace {

using namespace platform;

TEST(ListControls, ComboTextSurvivesListChangesAndOnlyTheUserRaisesChange) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* combo = new ComboBox("Find1Combo");
  auto* other = new QLineEdit;
  layout->addWidget(combo);
  layout->addWidget(other);
  int changes = 0, losses = 0;
  combo->onChange = [&] { ++changes; };
  combo->onLostFocus = [&] { ++losses; };

  combo->SetText("typed");
  EXPECT_EQ(changes, 0);
  combo->AddItem("b");
  combo->AddItem("a", 0);
  combo->AddItem("c", 99);
  EXPECT_EQ(combo->Text(), "typed");
  EXPECT_EQ(combo->ListIndex(), -1);
  ASSERT_EQ(combo->ListCount(), 3);
  EXPECT_EQ(combo->List(0) + combo->List(1) + combo->List(2), "abc");

  combo->SetListIndex(1);
  EXPECT_EQ(combo->Text(), "b");
  combo->AddItem("z", 0);  // the selection follows its entry
  EXPECT_EQ(combo->ListIndex(), 2);
  combo->RemoveItem(2);  // the selected entry goes: none selected, text kept
  EXPECT_EQ(combo->ListIndex(), -1);
  EXPECT_EQ(combo->Text(), "b");
  combo->RemoveItem(7);
  EXPECT_EQ(combo->ListCount(), 3);
  combo->SetListIndex(-1);
  EXPECT_EQ(combo->Text(), "b");

  // Typing raises Change; Enter inserts nothing; leaving raises LostFocus.
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  combo->setFocus();
  QTest::keyClicks(combo->lineEdit(), "xy");
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(combo->Text(), "bxy");
  QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(combo->ListCount(), 3);
  EXPECT_EQ(losses, 0);
  other->setFocus();
  EXPECT_EQ(losses, 1);
}

TEST(ListControls, ListClickFollowsEveryChoiceAndLettersOnlyReachKeyPress) {
  ListBox list("ListLabels");
  std::vector<std::string> events;
  list.onClick = [&] { events.push_back("click " + list.Text().toStdString()); };
  list.onKeyDown = [&](int& code, int) { events.push_back("down " + std::to_string(code)); };
  list.onKeyPress = [&](int code) { events.push_back("press " + std::to_string(code)); };
  for (const char* text : {"ALPHA", "BETA", "GAMMA"}) list.AddItem(text);
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(list.ListIndex(), -1);
  EXPECT_EQ(list.Text(), "");

  list.SetListIndex(1);
  list.SetListIndex(1);  // the same entry again still clicks
  EXPECT_EQ(events, (std::vector<std::string>{"click BETA", "click BETA"}));
  events.clear();

  // A letter is a KeyPress only: no search of the list's own moves it.
  QTest::keyClick(&list, Qt::Key_G);
  EXPECT_EQ(list.ListIndex(), 1);
  QTest::keyClick(&list, Qt::Key_Backspace);
  QTest::keyClick(&list, Qt::Key_Escape);
  EXPECT_EQ(events, (std::vector<std::string>{"down 71", "press 103", "down 8", "press 8",
                                              "down 27", "press 27"}));
  events.clear();
  QTest::keyClick(&list, Qt::Key_Down);
  EXPECT_EQ(events, (std::vector<std::string>{"down 40", "click GAMMA"}));
  events.clear();
  QTest::keyClick(&list, Qt::Key_Down);  // at the end: nothing chosen
  EXPECT_EQ(events, (std::vector<std::string>{"down 40"}));
  events.clear();
  // A KeyDown that consumes the key keeps it from the list.
  list.onKeyDown = [](int& code, int) { code = 0; };
  QTest::keyClick(&list, Qt::Key_Up);
  EXPECT_EQ(list.ListIndex(), 2);
  EXPECT_TRUE(events.empty());

  // The mouse: a click on an entry, also the selected one.
  list.resize(200, 200);
  list.show();
  const QPoint alpha = list.visualItemRect(list.item(0)).center();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, alpha);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, alpha);
  EXPECT_EQ(events, (std::vector<std::string>{"click ALPHA", "click ALPHA"}));

  events.clear();
  list.Clear();
  list.SetListIndex(0);  // nothing to choose
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(list.ListCount(), 0);
}

}  // namespace
