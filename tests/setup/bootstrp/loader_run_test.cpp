// The loader run as a program, from its temporary folder to the end of the
// second stage.
#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <ctime>
#include <filesystem>
#include <set>

#include "loader_rig.h"

using loadertest::LoaderRig;
using loadertest::Outcome;

namespace {

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

int EntriesIn(const std::string& folder) {
  int n = 0;
  if (DIR* dir = opendir(folder.c_str())) {
    while (const dirent* e = readdir(dir)) n += e->d_name[0] != '.';
    closedir(dir);
  }
  return n;
}

void MakeOldFolder(const std::string& path, int secondsAgo, int files) {
  mkdir(path.c_str(), 0700);
  for (int i = 0; i < files; ++i) testsupport::WriteFile(path + "/left" + std::to_string(i), "x");
  const time_t when = std::time(nullptr) - secondsAgo;
  const struct utimbuf times { when, when };
  utime(path.c_str(), &times);
}

}  // namespace

TEST(Vanstall, OneLanguageRunsTheSecondStageWithItsArgumentsAndCleansUp) {
  LoaderRig rig;
  rig.entries["SETUP.INI"] = SETUP_FILES_DIR "/SETUP.INI";  // the application's name
  rig.Build();
  // A temporary root longer than any fixed path buffer.
  const std::string root = rig.temp.path() + std::string(120, 'a') + "/" + std::string(120, 'b') + "/" +
                           std::string(120, 'c') + "/";
  ASSERT_TRUE(std::filesystem::create_directories(root));
  // A command line holding format directives is passed on as it is.
  const Outcome run = rig.Start({"extra", "%s%n%s", "/x"}, {{"TEMP", root}});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.errors, "");
  EXPECT_TRUE(Has(run.log, "arg:/b" + rig.package + "\narg:extra\narg:%s%n%s\narg:/x\nfolder:" + root +
                               "RVSETUP0.TMP/\nmode:700\n"))
      << run.log;
  for (const char* file : {"BOOT0409.DLL", "RVSETUP.EXE", "SETUP.LNG", "SETUP.PKG", "SETUPLNG.DLL"}) {
    EXPECT_TRUE(Has(run.log, std::string("file:") + file + "\n")) << file;
  }
  EXPECT_TRUE(Has(run.log, "pkg:RVPL:1024\nsetuplng") && Has(run.log, "file:SETUP.INI\n"));
  EXPECT_TRUE(Has(run.log, "hidden:1\n"));
  EXPECT_EQ(EntriesIn(root), 0);
  rig.work.write("SETUP.INI", "");  // one beside the loader is read where it stands
  EXPECT_FALSE(Has(rig.Start({}, {{"TEMP", root}}).log, "file:SETUP.INI\n"));

  // The end of the session while the second stage runs: the files go, the run fails.
  const Outcome ended = rig.Start({}, {{"TEMP", root}, {"VANSTALL_TEST_LINGER_MS", "3000"}},
                                  [](long pid) { kill(static_cast<pid_t>(pid), SIGTERM); });
  EXPECT_EQ(ended.exitCode, 1);
  EXPECT_EQ(EntriesIn(root), 0);
}

TEST(Vanstall, StaleFoldersAreCleanedRecentOnesAndLinksLeftAlone) {
  LoaderRig rig;
  rig.Build();
  const std::string folder0 = rig.temp.file("RVSETUP0.TMP");
  MakeOldFolder(folder0, 7200, 3);
  Outcome run = rig.Start({});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(Has(run.log, "RVSETUP0.TMP/\n"));
  EXPECT_FALSE(Has(run.log, "file:left"));
  EXPECT_EQ(EntriesIn(rig.temp.path()), 0);

  // Ten minutes old and not empty: kept, the next name is used (TEMP with a trailing '/' or not).
  MakeOldFolder(folder0, 600, 2);
  std::string root = rig.temp.path();
  root.pop_back();
  run = rig.Start({}, {{"TEMP", root}});
  EXPECT_TRUE(Has(run.log, "folder:" + rig.temp.path() + "RVSETUP1.TMP/\n")) << run.log;
  EXPECT_EQ(EntriesIn(folder0), 2);

  // A link planted under the first name is neither followed nor removed.
  testsupport::TempDir victim;
  victim.write("precious", "keep");
  utime(victim.path().c_str(), nullptr);
  const std::string planted = rig.temp.file("RVSETUP2.TMP");
  ASSERT_EQ(symlink(victim.path().c_str(), planted.c_str()), 0);
  struct utimbuf old {
    std::time(nullptr) - 7200, std::time(nullptr) - 7200
  };
  utime(victim.path().c_str(), &old);
  MakeOldFolder(rig.temp.file("RVSETUP1.TMP"), 600, 1);
  run = rig.Start({});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(Has(run.log, "RVSETUP3.TMP/\n")) << run.log;
  EXPECT_EQ(victim.read("precious"), "keep");
  struct stat info;
  EXPECT_EQ(lstat(planted.c_str(), &info), 0);

  // Every name taken, by recent setups or by empty, old folders of another
  // user (made only when running as root): a unique name, the ten untouched.
  for (int n = 3; n < 10; ++n) {
    const std::string slot = rig.temp.file("RVSETUP" + std::to_string(n) + ".TMP");
    const bool foreign = geteuid() == 0 && n < 6;
    MakeOldFolder(slot, foreign ? 7200 : 600, foreign ? 0 : 1);
    EXPECT_TRUE(!foreign || chown(slot.c_str(), 65534, 65534) == 0);
  }
  run = rig.Start({});
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  const size_t at = run.log.find("folder:" + rig.temp.path() + "RVSETUP.");
  EXPECT_NE(at, std::string::npos) << run.log;
  EXPECT_EQ(run.log.substr(at + rig.temp.path().size() + 21, 2), "/\n") << run.log;
  EXPECT_EQ(EntriesIn(rig.temp.path()), 10);
  EXPECT_EQ(EntriesIn(rig.temp.file("RVSETUP9.TMP")), 1);
}

TEST(Vanstall, LanguageComesFromTheOptionOrTheLocaleWithItsFallbacks) {
  LoaderRig rig;
  rig.SetLanguages("[Setup]\nDefault Language=0409\n[Language]\n0409=English\n0407=German\n");
  rig.Build();
  // Forced: no dialog (one would be cancelled here), the German libraries.
  Outcome run = rig.Start({"/l0407"});
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(Has(run.log, "file:BOOT0407.DLL\n"));
  EXPECT_FALSE(Has(run.log, "file:BOOT0409.DLL\n"));
  // Two languages and no option: the dialog, cancelled, ends the run without leftovers.
  run = rig.Start({});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.log, "");
  EXPECT_EQ(EntriesIn(rig.temp.path()), 0);

  // A locale missing from [Language] falls back to its main language.
  rig.SetLanguages(
      "[Setup]\nDefault Language=0409\n[Language]\n040C=Fran\xC3\xA7"
      "ais\n");
  rig.entries["BOOT040C.DLL"] = SETUP_FILES_DIR "/BOOT0409.DLL";
  rig.entries["SETUP040C.DLL"] = SETUP_FILES_DIR "/SETUP0409.DLL";
  rig.Build();
  run = rig.Start({}, {{"LANG", "fr_CA.UTF-8"}});
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(Has(run.log, "file:BOOT040C.DLL\n"));
  EXPECT_FALSE(Has(run.log, "setuplng:0\n"));
}

TEST(Vanstall, DamagedOrMissingFilesAreReportedAndCorruptCodeNeverStarts) {
  LoaderRig rig;
  // A damaged language table is reported and the run goes on with the locale's language.
  rig.Build("SETUP.LNG");
  Outcome run = rig.Start({});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.errors, "Quillset: INTERNAL ERROR B118-5: Cannot decompress SETUP.LNG.\n");
  EXPECT_TRUE(Has(run.log, "file:BOOT0409.DLL\n"));

  // A second stage failing its CRC is deleted, so the start fails.
  rig.Build("RVSETUP.EXE");
  run = rig.Start({"/l0409"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.log, "");
  const std::string stage = rig.temp.path() + "RVSETUP0.TMP/RVSETUP.EXE";
  EXPECT_EQ(run.errors,
            "Quillset: INTERNAL ERROR B114-5: Cannot decompress RVSETUP.EXE.\n"
            "Error: FATAL ERROR B104: Couldn't execute \"" +
                stage + " \"/b" + rig.package + "\" /l0409\". Error code = 2.\n");
  EXPECT_EQ(EntriesIn(rig.temp.path()), 0);

  // Without a second stage at all: the same, with the entry missing (14).
  rig.entries.erase("RVSETUP.EXE");
  rig.Build();
  run = rig.Start({});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(Has(run.errors, "INTERNAL ERROR B114-14: Cannot decompress RVSETUP.EXE.\n"));
  EXPECT_TRUE(Has(run.errors, "FATAL ERROR B104"));
  EXPECT_EQ(EntriesIn(rig.temp.path()), 0);

  // A program without an archive.
  testsupport::WriteFile(rig.package, testsupport::ReadFile(VANSTALL));
  run = rig.Start({});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errors, "Quillset: INTERNAL ERROR B109-11: Cannot decompress setup program.\n");
  EXPECT_EQ(EntriesIn(rig.temp.path()), 0);
}

TEST(Vanstall, TerminationRequestsEndItWithCode1AndNoLeftoversWhereverTheyCome) {
  LoaderRig rig;
  // A second stage of 32 MB, a bzip2 stream that takes a while to unpack.
  std::string stage = testsupport::ReadFile(TEST_SECOND_STAGE);
  for (int line = 0; stage.size() < (32u << 20); ++line) stage += std::to_string(line) + "\n";
  rig.work.write("big-stage", stage);
  rig.entries["RVSETUP.EXE"] = rig.work.file("big-stage");
  rig.method = "5";
  rig.Build();
  const std::string unpacking = rig.temp.path() + "RVSETUP0.TMP/RVSETUP.EXE";
  for (int signal : {SIGTERM, SIGINT}) {
    struct stat info {};
    const auto stopMidway = [&](long pid) {
      kill(pid_t(pid), SIGSTOP);
      stat(unpacking.c_str(), &info);
      kill(pid_t(pid), signal);
      kill(pid_t(pid), SIGCONT);
    };
    Outcome run =
        rig.Start({}, {}, stopMidway, [&] { return access(unpacking.c_str(), F_OK) == 0; });
    EXPECT_LT(size_t(info.st_size), stage.size()) << signal;
    EXPECT_EQ(run.exitCode * 100 + EntriesIn(rig.temp.path()), 100) << signal;
    EXPECT_EQ(run.log + run.errors, "") << signal;  // the second stage never started
    // A request while the second stage ends within its first slice: its outcome counts.
    run = rig.Start({}, {{"VANSTALL_TEST_SIGNAL_PARENT", std::to_string(signal)}});
    EXPECT_TRUE(Has(run.log, "hidden:")) << signal;
    EXPECT_EQ(run.exitCode * 100 + EntriesIn(rig.temp.path()), 0) << signal;
  }
}
