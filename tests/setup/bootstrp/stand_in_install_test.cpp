// The stand-in second stage installing through the loader: each entry's own
// bytes, never through a link, all or nothing also when it is interrupted,
// and the loader's exit code telling the outcome.
#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <tuple>

#include "loader_rig.h"

using loadertest::LoaderRig;
using loadertest::Outcome;

namespace {

int EntriesIn(const std::string& folder) {
  int n = 0;
  if (DIR* dir = opendir(folder.c_str())) {
    while (const dirent* e = readdir(dir)) n += e->d_name[0] != '.';
    closedir(dir);
  }
  return n;
}

}  // namespace

TEST(Vanstall, TheStandInInstallsEachEntrysOwnBytesNeverThroughALinkAndAllOrNothing) {
  LoaderRig rig;
  rig.entries["RVSETUP.EXE"] = SETUP_FILES_DIR "/RVSETUP.EXE";
  const std::string prefix = rig.work.file("prefix"), marker = rig.work.file("held");
  std::string target = prefix;
  const std::map<std::string, std::string> files{{"START.ASM", "top"},
                                                 {"bin/*", "star"},
                                                 {"bin/SEGDRAW", "segdraw"},
                                                 {"tavix/Start.asm", "template"}};
  int n = 0;
  // Installs `version`, with `corrupt` damaged; `interrupt` is called once the
  // stand-in holds at step `hold`.
  const auto carry = [&](const std::string& version, const std::string& corrupt = "",
                         const std::string& hold = "",
                         const std::function<void(long)>& interrupt = nullptr) {
    for (const auto& [name, content] : files) {
      rig.work.write(std::to_string(++n), content + version);
      rig.entries[name] = rig.work.file(std::to_string(n));
    }
    rig.Build(corrupt);
    std::remove(marker.c_str());
    std::map<std::string, std::string> env{{"TAVIX_INSTALL_DIR", target}};
    if (!hold.empty()) env["RVSETUP_TEST_HOLD"] = hold + ":" + marker;
    return rig.Start({"/l0409"}, env, interrupt, [&] { return access(marker.c_str(), F_OK) == 0; });
  };
  // Links to a file outside, planted under the old partial name and the file's own.
  rig.work.write("victim", "outside");
  std::filesystem::create_directories(prefix + "/bin");
  for (const char* name : {"/bin/SEGDRAW.partial", "/bin/SEGDRAW"})
    ASSERT_EQ(symlink(rig.work.file("victim").c_str(), (prefix + name).c_str()), 0);
  // The installed files, hidden ones too, as "name:content", links as "name@", folders as "name/".
  const auto installed = [&] {
    std::set<std::string> files;
    for (const char* folder : {"/bin", "/tavix"})
      for (const auto& e : std::filesystem::directory_iterator(prefix + folder))
        files.insert(e.path().filename().string() +
                     (e.is_symlink() ? "@" : e.is_directory() ? "/" : ":" + testsupport::ReadFile(e.path())));
    return files;
  };
  Outcome run = carry("");
  EXPECT_EQ(run.exitCode * 1000 + EntriesIn(rig.temp.path()), 0) << run.errors;
  const std::set<std::string> v1 = installed();
  EXPECT_EQ(v1, (std::set<std::string>{"*:star", "SEGDRAW.partial@", "SEGDRAW:segdraw",
                                       "Start.asm:template"}));
  // One damaged file in the next version: reported, and the installation stays as it was.
  run = carry(" v2", "bin/SEGDRAW");
  EXPECT_EQ(run.errors, "Setup: Setup could not install Tavix: bin\\SEGDRAW: archive error 5\n");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(installed(), v1);

  // A folder where the last file goes: its renaming fails, the others are put back.
  std::filesystem::remove(prefix + "/tavix/Start.asm");
  std::filesystem::create_directory(prefix + "/tavix/Start.asm");
  const std::set<std::string> old = installed();
  run = carry(" v3");
  EXPECT_EQ(run.errors, "Setup: Setup could not install Tavix: " + prefix +
                            "/tavix/Start.asm: Is a directory\n");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(installed(), old);
  std::filesystem::remove(prefix + "/tavix/Start.asm");

  // Interrupted after one file is replaced, by a signal to the loader alone,
  // or while staging, by the terminal to the whole group: nothing of it stays,
  // nor on a fresh target any folder.
  const std::set<std::string> whole = installed();
  const std::string fresh = rig.work.file("fresh");
  for (const auto& [hold, signal, where] :
       {std::tuple{"rename", SIGTERM, prefix}, {"stage", -SIGINT, prefix}, {"stage", -SIGHUP, fresh}}) {
    target = where;
    const int s = signal;
    pid_t group = 0;
    run = carry(" v4", "", hold, [s, &group](long pid) {
      group = pid_t(pid);
      kill(s < 0 ? -group : group, s < 0 ? -s : s);
    });
    EXPECT_EQ(run.exitCode * 1000 + EntriesIn(rig.temp.path()), 1000) << hold << signal;
    EXPECT_EQ(installed(), whole) << hold << signal;
    EXPECT_NE(kill(-group, 0), 0) << hold << signal;  // the second stage ended before the loader
  }
  EXPECT_FALSE(std::filesystem::exists(fresh));

  // Hidden partial files of a killed install go with the next one; others stay.
  for (const char* name : {"/bin/.SEGDRAW.Ab12Cd", "/bin/.*.zz99ZZ", "/bin/.SEGDRAW.keep"})
    testsupport::WriteFile(prefix + name, "x");
  target = prefix;
  EXPECT_EQ(carry(" v5").exitCode, 0);
  EXPECT_EQ(installed(), (std::set<std::string>{"*:star v5", ".SEGDRAW.keep:x", "SEGDRAW.partial@",
                                                "SEGDRAW:segdraw v5", "Start.asm:template v5"}));
}
