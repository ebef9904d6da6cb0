// The project dialog through its widgets: the controller list read through
// the real STDK42XX, the combo's text, OK and Cancel, and Browse's focus rule.
#include "workbench/project_dialog.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QTest>

#include "workbench_fixture.h"

namespace {

using monitortest::WorkbenchTest;

class ProjectDialogTest : public WorkbenchTest {
 protected:
  // The program folder: the real STDK42XX beside a TAVIX.INI of the test.
  void Controllers(const std::string& lines) {
    program.write("TAVIX.INI", "[Controllers]\r\n" + lines + "[ROM Sizes]\r\nQV4111=2043\r\n");
    const std::string module = program.path() + "STDK42XX.so";
    unlink(module.c_str());
    ASSERT_EQ(symlink(TAVIX_DIST_DIR "STDK42XX.so", module.c_str()), 0);
  }
  // The program folder of the build: its STDK42XX and TAVIX.INI.
  void BuildControllers() {
    for (const char* name : {"STDK42XX.so", "TAVIX.INI"}) {
      const std::string link = program.path() + name;
      unlink(link.c_str());
      ASSERT_EQ(symlink((std::string(TAVIX_DIST_DIR) + name).c_str(), link.c_str()), 0);
    }
  }
  monitor::Project* Edit() {
    Click("mnuPEdit");
    return dynamic_cast<monitor::Project*>(state.Forms.Get("Project"));
  }
  static std::vector<std::string> Items(const QComboBox& combo) {
    std::vector<std::string> items;
    for (int i = 0; i < combo.count(); ++i) items.push_back(combo.itemText(i).toStdString());
    return items;
  }
};

TEST_F(ProjectDialogTest, TheListIsTheProgramFoldersControllersAndTheTextStaysTheProjects) {
  Controllers("QV4234=42340000.DLL\r\nQV4115=42150000.DLL\r\nQV4128=42280000.DLL\r\n");
  Begin();
  state.ControllerName = "QV9999";
  monitor::Project* dialog = Edit();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->Caption(), "Edit Project");
  EXPECT_EQ(Items(*dialog->ComboTargCon), (std::vector<std::string>{"QV4234", "QV4115", "QV4128"}));
  EXPECT_EQ(dialog->ComboTargCon->currentText(), "QV9999");
  // A second Edit brings the same dialog forward.
  EXPECT_EQ(Edit(), dialog);
  Click("mnuPEdit");
  dialog->Command2->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  state.ControllerName.clear();
  dialog = Edit();
  EXPECT_EQ(dialog->ComboTargCon->currentText(), "");
  EXPECT_EQ(dialog->ComboTargCon->count(), 3);
  EXPECT_TRUE(boxes.empty());
  dialog->Command2->click();
}

TEST_F(ProjectDialogTest, OkCopiesOnlyChangedFieldsAndAsksCancelCopiesNothing) {
  Controllers("");  // an empty section: no list, a name can still be typed
  Begin();
  const std::string latin1Source = "/p/\xE9t\xE9.asm";
  state.SourceFile = latin1Source;
  state.IncludePath = "inc";
  monitor::Project* dialog = Edit();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->ComboTargCon->count(), 0);
  dialog->include_path->clear();
  QTest::keyClicks(dialog->include_path, "INC2");
  dialog->Command2->click();
  EXPECT_EQ(state.IncludePath, "inc");
  EXPECT_EQ(state.ProjectModified, 0);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  dialog = Edit();
  dialog->ComboTargCon->lineEdit()->selectAll();
  QTest::keyClicks(dialog->ComboTargCon->lineEdit(), "QV4128");
  boxAnswers = {platform::IDNO};
  QTest::mouseClick(dialog->Command1, Qt::LeftButton);
  EXPECT_EQ(state.ControllerName, "QV4128");
  EXPECT_EQ(state.SourceFile, latin1Source);  // unchanged field, bytes kept
  EXPECT_EQ(state.IncludePath, "inc");
  EXPECT_EQ(state.ProjectModified, -1);
  EXPECT_EQ(boxes, std::vector<std::string>{"Tavix|Save Current Project Definition ?|51"});
  EXPECT_FALSE(state.Forms.IsLoaded("Project"));

  // Nothing changed, yet the project still is: OK asks again.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  dialog = Edit();
  dialog->Command1->click();
  EXPECT_EQ(boxes.size(), 2u);
}

TEST_F(ProjectDialogTest, BrowseWorksOnlyWhileSourceHasTheFocus) {
  Controllers("QV4115=42150000.DLL\r\n");
  Begin();
  monitor::Project* dialog = Edit();
  ASSERT_NE(dialog, nullptr);
  dialog->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
  QTest::mouseClick(dialog->include_path, Qt::LeftButton);
  EXPECT_FALSE(dialog->Command3->isEnabled());
  QTest::mouseClick(dialog->ComboTargCon->lineEdit(), Qt::LeftButton);
  EXPECT_FALSE(dialog->Command3->isEnabled());
  QTest::mouseClick(dialog->Source, Qt::LeftButton);
  ASSERT_TRUE(dialog->Command3->isEnabled());

  fileAnswers = {std::nullopt, std::string("/src/main.asm")};
  dialog->Source->setText("kept");
  QTest::mouseClick(dialog->Command3, Qt::LeftButton);
  EXPECT_EQ(dialog->Source->text(), "kept");
  QTest::mouseClick(dialog->Command3, Qt::LeftButton);
  EXPECT_EQ(dialog->Source->text(), "/src/main.asm");
  EXPECT_EQ(dialogs.back(), "Open||Source Files (*.asm)|*.asm|All Files (*.*)|*.*");
  dialog->Command2->click();
}

TEST_F(ProjectDialogTest, ANewProjectChoosesItsControllerSavesAndComesBackFromTheRecentList) {
  BuildControllers();
  Begin();
  Click("mnuPNew");
  auto* dialog = dynamic_cast<monitor::Project*>(state.Forms.Get("Project"));
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->Caption(), "Edit Project");
  EXPECT_EQ(Items(*dialog->ComboTargCon),
            (std::vector<std::string>{"QV4115", "QV4124", "QV4128", "QV4234"}));
  dialog->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
  QTest::keyClicks(dialog->Source, "/w/demo/main.asm");
  dialog->ComboTargCon->setFocus();
  for (int i = 0; i < 4; ++i) QTest::keyClick(dialog->ComboTargCon, Qt::Key_Down);
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
  EXPECT_EQ(state.ControllerName, "QV4234");
  EXPECT_EQ(state.SourceFile, "/w/demo/main.asm");
  EXPECT_EQ(state.MainForm()->Caption().toStdString(), "Tavix " + path);
  EXPECT_EQ(boxes.size(), 1u);
}

}  // namespace
