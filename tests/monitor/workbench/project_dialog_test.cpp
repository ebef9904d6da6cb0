// The project dialog through its widgets: the controller list read through
// the real STDK42XX, the combo's text, OK and Cancel, and Browse's focus rule.
#include "workbench/project_dialog.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QTest>

#include "workbench_fixture.h"

namespace {

class ProjectDialogTest : public monitortest::WorkbenchTest {
 protected:
  // The program folder: the build's STDK42XX, and its TAVIX.INI or `ini`.
  void ProgramFolder(const char* ini = nullptr) {
    for (const char* name : {"STDK42XX.so", "TAVIX.INI"}) {
      if (ini != nullptr && name == std::string("TAVIX.INI")) continue;
      ASSERT_EQ(symlink((TAVIX_DIST_DIR + std::string(name)).c_str(), program.file(name).c_str()),
                0);
    }
    if (ini != nullptr) program.write("TAVIX.INI", ini);
  }
  monitor::Project* Edit(const char* command = "mnuPEdit") {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Click(command);
    auto* dialog = dynamic_cast<monitor::Project*>(state.Forms.Get("Project"));
    if (dialog != nullptr) dialog->activateWindow();
    EXPECT_TRUE(dialog != nullptr && QTest::qWaitForWindowActive(dialog));
    return dialog;
  }
  static std::vector<std::string> Items(const QComboBox& combo) {
    std::vector<std::string> items;
    for (int i = 0; i < combo.count(); ++i) items.push_back(combo.itemText(i).toStdString());
    return items;
  }
};

TEST_F(ProjectDialogTest, ANewProjectChoosesItsControllerSavesAndComesBackFromTheRecentList) {
  ProgramFolder();
  Begin();
  monitor::Project* dialog = Edit("mnuPNew");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->Caption(), "Edit Project");
  // Every controller of the program folder's TAVIX.INI, in its order.
  const std::vector<std::string> listed = Items(*dialog->ComboTargCon);
  ASSERT_GE(listed.size(), 4u);
  EXPECT_EQ(listed.front(), "QV4111");
  EXPECT_EQ(listed.back(), "QV4234");
  EXPECT_EQ(Edit(), dialog);  // a second Edit brings the same dialog forward
  QTest::keyClicks(dialog->Source, "/w/demo/main.asm");
  dialog->ComboTargCon->setFocus();
  for (size_t i = 0; i < listed.size(); ++i) QTest::keyClick(dialog->ComboTargCon, Qt::Key_Down);
  EXPECT_EQ(dialog->ComboTargCon->currentText(), "QV4234");

  const std::string path = files.path() + "demo.prj";
  boxAnswers = {platform::IDYES};
  fileAnswers = {path};
  QTest::mouseClick(dialog->Command1, Qt::LeftButton);
  EXPECT_EQ(boxes, std::vector<std::string>{"Tavix|Save Current Project Definition ?|51"});
  EXPECT_EQ(dialogs.back(), "Save|Save Project|Project Files (*.prj)|*.prj|All Files (*.*)|*.*");
  EXPECT_EQ(files.read("demo.prj"), "/w/demo/main.asm\r\n\r\n\r\nQV4234\r\n\r\n\r\n\r\n");
  EXPECT_EQ(state.MainForm()->Caption().toStdString(), "Tavix " + path);
  QAction* recent = state.MainForm()->Menu("mnuRecentProj(1)");
  EXPECT_TRUE(recent->isVisible());
  EXPECT_EQ(recent->text().toStdString(), path);
  EXPECT_EQ(state.ProjectModified, 0);

  Click("mnuPClose");
  EXPECT_EQ(state.MainForm()->Caption().toStdString(), "Tavix");
  EXPECT_EQ(state.ControllerName, "");
  recent->trigger();
  EXPECT_EQ(state.ControllerName + "|" + state.SourceFile, "QV4234|/w/demo/main.asm");
  EXPECT_EQ(state.MainForm()->Caption().toStdString(), "Tavix " + path);

  // The combo keeps a name that is not listed.
  state.ControllerName = "QV9999";
  dialog = Edit();
  EXPECT_EQ(dialog->ComboTargCon->currentText(), "QV9999");
  EXPECT_EQ(dialog->ComboTargCon->count(), static_cast<int>(listed.size()));
  dialog->Command2->click();
  EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(ProjectDialogTest, OkCopiesOnlyChangedFieldsAndCancelNothingWithAnEmptyList) {
  ProgramFolder("[Controllers]\r\n[ROM Sizes]\r\nQV4111=2043\r\n");
  Begin();
  const std::string latin1Source = "/p/\xE9t\xE9.asm";
  state.SourceFile = latin1Source;
  state.IncludePath = "inc";
  monitor::Project* dialog = Edit();
  EXPECT_EQ(dialog->ComboTargCon->count(), 0);
  dialog->include_path->setText("INC2");
  dialog->Command2->click();
  EXPECT_EQ(state.IncludePath, "inc");
  EXPECT_EQ(state.ProjectModified, 0);

  dialog = Edit();
  QTest::keyClicks(dialog->ComboTargCon->lineEdit(), "QV4128");
  boxAnswers = {platform::IDNO};
  QTest::mouseClick(dialog->Command1, Qt::LeftButton);
  EXPECT_EQ(state.ControllerName, "QV4128");
  EXPECT_EQ(state.SourceFile, latin1Source);  // an unchanged field keeps its bytes
  EXPECT_EQ(state.IncludePath, "inc");
  EXPECT_EQ(state.ProjectModified, -1);
  EXPECT_FALSE(state.Forms.IsLoaded("Project"));
  // Nothing changed, yet the project still is: OK asks again.
  Edit()->Command1->click();
  EXPECT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes.back(), "Tavix|Save Current Project Definition ?|51");
}

TEST_F(ProjectDialogTest, BrowseWorksOnlyWhileSourceHasTheFocus) {
  ProgramFolder();
  Begin();
  monitor::Project* dialog = Edit();
  QTest::mouseClick(dialog->include_path, Qt::LeftButton);
  EXPECT_FALSE(dialog->Command3->isEnabled());
  QTest::mouseClick(dialog->Source, Qt::LeftButton);
  EXPECT_TRUE(dialog->Command3->isEnabled());
  QTest::mouseClick(dialog->ComboTargCon->lineEdit(), Qt::LeftButton);
  EXPECT_FALSE(dialog->Command3->isEnabled());
  QTest::mouseClick(dialog->Source, Qt::LeftButton);

  fileAnswers = {std::nullopt, std::string("/src/main.asm")};
  dialog->Source->setText("kept");
  QTest::mouseClick(dialog->Command3, Qt::LeftButton);
  EXPECT_EQ(dialog->Source->text(), "kept");
  QTest::mouseClick(dialog->Command3, Qt::LeftButton);
  EXPECT_EQ(dialog->Source->text(), "/src/main.asm");
  EXPECT_EQ(dialogs.back(), "Open||Source Files (*.asm)|*.asm|All Files (*.*)|*.*");
}

}  // namespace
