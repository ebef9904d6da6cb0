// The poll step, the poll loop's fatal handler, the instance guard and the
// real program run as a process.
#include "core/main_module.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "core/absent_target.h"
#include "core/instance_guard.h"
#include "monitor_fixture.h"
#include "platform/run_time_error.h"

namespace {

using monitortest::MonitorTest;
using platform::RunTimeError;

// A target whose poll raises an error that is not a link failure (the
// emulator's own poll is driven against the simulated emulator in the
// emulator's tests).
class FaultyTarget : public monitor::AbsentTarget {
 public:
  void Poll() override { throw RunTimeError(5, "bad call"); }
};

TEST_F(MonitorTest, AnErrorEscapingThePollStepEndsTheProgramWithItsNumber) {
  state.InstallEmulator(std::make_unique<FaultyTarget>());
  EXPECT_THROW(monitor::PollStep(state), RunTimeError);
  Start();
  QTRY_COMPARE_WITH_TIMEOUT(ends, 1, 2000);
  EXPECT_EQ(boxes, (std::vector<std::string>{
                       "Unrecoverable ERROR|Monitor ERROR 5 0\rPress OK to RESET all|48"}));
  monitor::UnrecoverableError(-5, 0);
  EXPECT_EQ(boxes.back(), "Unrecoverable ERROR|Monitor ERROR-5 0\rPress OK to RESET all|48");
}

TEST_F(MonitorTest, SecondInstanceEndsBeforeTouchingAnySetting) {
  Start();
  monitor::MonitorState second;
  const std::string hive = registry.read("HKEY_CURRENT_USER.hive");
  EXPECT_FALSE(monitor::MainModule(second).Main());
  EXPECT_EQ(boxes,
            (std::vector<std::string>{"Tavix|The development system is already running|16"}));
  EXPECT_EQ(registry.read("HKEY_CURRENT_USER.hive"), hive);
  EXPECT_EQ(ends, 1);
  EXPECT_TRUE(state.MainForm()->isVisible());
  // A lock left by a process that is gone is taken over.
  mainModule.ReleaseInstanceLock();
  link.write("Tavix.lock", "999999\nTavix\n" + QSysInfo::machineHostName().toStdString() + "\n");
  EXPECT_NE(monitor::AcquireInstanceLock(), nullptr);
}

TEST_F(MonitorTest, ProgramStartsToIdleAndASecondCopyEndsAtOnce) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("TAVIX_UNATTENDED", "1");
  env.insert("TAVIX_LINK_DIR", QString::fromStdString(link.path()));
  env.insert("TAVIX_REGISTRY_DIR", QString::fromStdString(link.path()));
  const QString program = TAVIX_DIST_DIR "Tavix";

  QProcess idle;
  QProcessEnvironment quick = env;
  quick.insert("TAVIX_QUIT_WHEN_IDLE", "1");
  idle.setProcessEnvironment(quick);
  idle.start(program, {});
  ASSERT_TRUE(idle.waitForFinished(30000));
  EXPECT_EQ(idle.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(idle.exitCode(), 0);
  // The start-up settings and the window state written at close reach the hive.
  const std::string hive = link.read("HKEY_CURRENT_USER.hive");
  EXPECT_NE(
      hive.find(
          "[SOFTWARE\\Corvane\\Tavix\\monitor window]\n@=sz:\"Default\"\n\"windowstate\"=dword:"),
      std::string::npos)
      << hive;
  EXPECT_NE(hive.find("[SOFTWARE\\Corvane\\Tavix\\Recent Files]"), std::string::npos);

  QProcess first;
  first.setProcessEnvironment(env);
  first.start(program, {});
  ASSERT_TRUE(first.waitForStarted(30000));
  QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QString::fromStdString(link.file("Tavix.lock"))), 30000);
  QProcess second;
  second.setProcessEnvironment(env);
  second.start(program, {});
  ASSERT_TRUE(second.waitForFinished(30000));
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_TRUE(
      second.readAllStandardError().contains("Tavix: The development system is already running"));
  EXPECT_EQ(first.state(), QProcess::Running);
  first.terminate();  // only the process this test started
  EXPECT_TRUE(first.waitForFinished(30000));
}

TEST_F(MonitorTest, TopmostAndEditorSlots) {
  QWidget dialog;
  dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  monitor::SetTopmost(dialog, -1);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
  monitor::SetTopmost(dialog, 0);
  EXPECT_TRUE(dialog.isVisible());

  state.EditorSlot.assign(3, {});
  EXPECT_EQ(monitor::AnyEditorOpen(state), 0);
  state.EditorSlot[2].Free = 0;
  EXPECT_EQ(monitor::AnyEditorOpen(state), -1);
  state.EditorSlot.assign(1, {-1, 0});
  state.EditorSlot[0].Free = 0;  // slot 0 is never an editor
  EXPECT_EQ(monitor::AnyEditorOpen(state), 0);
}

}  // namespace
