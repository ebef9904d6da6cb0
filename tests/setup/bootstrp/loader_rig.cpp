#include "loader_rig.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>

#include "platform/process.h"

namespace loadertest {

LoaderRig::LoaderRig() : package(work.file("Tavix-setup")) {
  const std::string files = SETUP_FILES_DIR "/";
  for (const char* name :
       {"BOOT0409.DLL", "BOOT0407.DLL", "BOOTLNG.DLL", "SETUP0409.DLL", "SETUP0407.DLL"}) {
    entries[name] = files + name;
  }
  entries["RVSETUP.EXE"] = TEST_SECOND_STAGE;
  SetLanguages("[Setup]\nDefault Language=0409\n[Language]\n0409=English\n");
}

void LoaderRig::SetLanguages(const std::string& lngText) {
  work.write("SETUP.LNG", lngText);
  entries["SETUP.LNG"] = work.file("SETUP.LNG");
}

void LoaderRig::Build(const std::string& corrupt) {
  std::vector<std::string> args{work.file("pkg.dcs"), "-m", method};
  for (const auto& [name, path] : entries) args.push_back(path + "=" + name);
  platform::ProcessResult r = platform::StartProcess(DCSBUILD, args, true);
  ASSERT_EQ(r.exitCode, 0);
  std::string archive = work.read("pkg.dcs");
  if (!corrupt.empty()) {
    const std::string data = testsupport::ReadFile(entries[corrupt]);
    const size_t at = archive.find(data.substr(0, 64));
    ASSERT_NE(at, std::string::npos);
    archive[at + data.size() / 2] ^= 0x20;
  }
  testsupport::WriteFile(package, testsupport::ReadFile(VANSTALL) + archive);
  chmod(package.c_str(), 0755);
}

Outcome LoaderRig::Start(const std::vector<std::string>& arguments,
                         const std::map<std::string, std::string>& env,
                         const std::function<void(long pid)>& whileStageRuns,
                         const std::function<bool()>& ready) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("TAVIX_UNATTENDED", "1");
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("TEMP", QString::fromStdString(temp.path()));
  environment.insert("LANG", "en_US.UTF-8");
  environment.insert("VANSTALL_TEST_LOG", QString::fromStdString(work.file("stage.log")));
  for (const auto& [k, v] : env)
    environment.insert(QString::fromStdString(k), QString::fromStdString(v));
  process.setProcessEnvironment(environment);
  process.setChildProcessModifier([] { setpgid(0, 0); });  // a group a test may signal
  std::remove(work.file("stage.log").c_str());
  QStringList list;
  for (const std::string& a : arguments) list << QString::fromStdString(a);
  process.start(QString::fromStdString(package), list);
  Outcome run;
  bool finished = false;
  if (whileStageRuns) {
    const auto logged = [&] { return work.read("stage.log").find("hidden:") != std::string::npos; };
    for (int i = 0; i < 30000 && !finished && !(ready ? ready() : logged()); ++i) {
      finished = process.waitForFinished(1);
    }
    if (!finished) whileStageRuns(process.processId());
  }
  if (!finished && !process.waitForFinished(60000)) return run;
  run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  for (const QByteArray& line : process.readAllStandardError().split('\n')) {
    // Keep the boxes, not the toolkit's own chatter.
    if (line.startsWith("Quillset:") || line.startsWith("Error:") || line.startsWith("Setup:"))
      run.errors += line.toStdString() + "\n";
  }
  run.log = work.read("stage.log");
  return run;
}

}  // namespace loadertest
