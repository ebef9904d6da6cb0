// The loader run as a program, from its temporary folder to the end of the
// second stage.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <ctime>
#include <filesystem>
#include <set>
#include <tuple>

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

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    names.insert(e.path().filename());
  return names;
}

// The installed files below `prefix`, hidden ones too, as "name:content", links as "name@".
std::set<std::string> Installed(const std::string& prefix) {
  std::set<std::string> files;
  for (const char* folder : {"/bin", "/tavix"})
    for (const auto& e : std::filesystem::directory_iterator(prefix + folder))
      files.insert(e.path().filename().string() +
                   (e.is_symlink() ? "@" : ":" + testsupport::ReadFile(e.path())));
  return files;
}

// Locks a folder as the loader that runs in it does.
int HoldFolder(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  return fd >= 0 && flock(fd, LOCK_EX) == 0 ? fd : -1;
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
  // Requests each millisecond from the second stage's success to the loader's end change nothing.
  const Outcome late = rig.Start({}, {{"TEMP", root}, {"VANSTALL_TEST_SIGNAL_TO_ITS_END", "15"}});
  EXPECT_EQ(late.exitCode * 100 + EntriesIn(root), 0);
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

  // All names taken, by recent setups or (as root) another user's old folders: a unique name.
  for (int n = 3; n < 10; ++n) {
    const std::string slot = rig.temp.file("RVSETUP" + std::to_string(n) + ".TMP");
    const bool foreign = geteuid() == 0 && n < 6;
    MakeOldFolder(slot, foreign ? 7200 : 600, !foreign);
    EXPECT_TRUE(!foreign || chown(slot.c_str(), 65534, 65534) == 0);
  }
  run = rig.Start({});
  EXPECT_TRUE(Has(run.log, "folder:" + rig.temp.path() + "RVSETUP.")) << run.log << run.errors;
  EXPECT_EQ(run.exitCode * 100 + EntriesIn(rig.temp.path()), 10);
}

TEST(Vanstall, ALoaderNeverTakesTheFolderOfOneThatRunsAndReclaimsStaleFallbackFolders) {
  LoaderRig rig;
  rig.Build();
  // A runs in RVSETUP0.TMP, over an hour old as after a long wait; B beside it gets a folder of
  // its own and leaves A's whole.
  const std::string folder0 = rig.temp.file("RVSETUP0.TMP");
  Outcome second;
  int filesOfFirst = 0;
  const Outcome first = rig.Start({}, {{"VANSTALL_TEST_LINGER_MS", "60000"}}, [&](long pid) {
    MakeOldFolder(folder0, 7200, 0);
    second = rig.Start({});
    filesOfFirst = EntriesIn(folder0);
    kill(pid_t(pid), SIGTERM);
  });
  EXPECT_TRUE(Has(second.log, "folder:" + rig.temp.path() + "RVSETUP1.TMP/\n")) << second.log;
  EXPECT_EQ(second.exitCode * 100 + filesOfFirst, 5);
  EXPECT_EQ(first.exitCode * 100 + EntriesIn(rig.temp.path()), 100);

  // A folder another loader has just made (empty, held) is left alone; of the fallback folders,
  // an old one that nobody holds goes, a recent one and a held one stay.
  mkdir(folder0.c_str(), 0700);
  const int held = HoldFolder(folder0);
  MakeOldFolder(rig.temp.file("RVSETUP.Ab12Cd"), 7200, 2);
  MakeOldFolder(rig.temp.file("RVSETUP.Ef34Gh"), 600, 1);
  MakeOldFolder(rig.temp.file("RVSETUP.Ij56Kl"), 7200, 1);
  const int heldFallback = HoldFolder(rig.temp.file("RVSETUP.Ij56Kl"));
  const Outcome run = rig.Start({});
  EXPECT_TRUE(Has(run.log, "folder:" + rig.temp.path() + "RVSETUP1.TMP/\n")) << run.log;
  EXPECT_EQ(Names(rig.temp.path()),
            (std::set<std::string>{"RVSETUP0.TMP", "RVSETUP.Ef34Gh", "RVSETUP.Ij56Kl"}));
  close(held);
  close(heldFallback);
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

TEST(Vanstall, TheStandInInstallsEachEntrysOwnBytesNeverThroughALinkAndAllOrNothing) {
  LoaderRig rig;
  rig.entries["RVSETUP.EXE"] = STAND_IN;
  const std::string prefix = rig.work.file("prefix"), held = rig.work.file("held");
  std::string target = prefix;
  const std::map<std::string, std::string> files{{"START.ASM", "top"},
                                                 {"bin/*", "star"},
                                                 {"bin/SEGDRAW", "segdraw"},
                                                 {"tavix/Start.asm", "template"}};
  int n = 0;
  const auto carry = [&](const std::string& version, const std::string& corrupt = "",
                         const std::string& hold = "",
                         const std::function<void(long)>& interrupt = nullptr) {
    for (const auto& [name, content] : files) {
      rig.work.write(std::to_string(++n), content + version);
      rig.entries[name] = rig.work.file(std::to_string(n));
    }
    rig.Build(corrupt);
    std::remove(held.c_str());
    return rig.Start({"/l0409"},
                     {{"TAVIX_INSTALL_DIR", target}, {"RVSETUP_TEST_HOLD", hold + ":" + held}},
                     interrupt, [&] { return access(held.c_str(), F_OK) == 0; });
  };
  // Links to a file outside, planted under the old partial name and the file's own.
  rig.work.write("victim", "outside");
  std::filesystem::create_directories(prefix + "/bin");
  for (const char* name : {"/bin/SEGDRAW.partial", "/bin/SEGDRAW"})
    ASSERT_EQ(symlink(rig.work.file("victim").c_str(), (prefix + name).c_str()), 0);
  const auto installed = [&] { return Installed(prefix); };
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
  EXPECT_TRUE(Has(run.errors, prefix + "/tavix/Start.asm: Is a directory\n")) << run.errors;
  EXPECT_EQ(installed(), old);
  std::filesystem::remove(prefix + "/tavix/Start.asm");

  // Interrupted while staging (a fresh target gets no folder) or after one file is replaced:
  // nothing of it stays, and the second stage ends before the loader.
  const std::set<std::string> whole = installed();
  for (const auto& [hold, signal, where] : {std::tuple{"stage", -SIGHUP, rig.work.file("fresh")},
                                            {"stage", -SIGINT, prefix},
                                            {"rename", SIGTERM, prefix}}) {
    long group = 0;
    target = where;
    run = carry(" v4", "", hold, [&, s = signal](long pid) {
      kill(pid_t(s < 0 ? -pid : pid), std::abs(s)), group = pid;
    });
    EXPECT_EQ(run.exitCode * 1000 + EntriesIn(rig.temp.path()), 1000) << hold << signal;
    EXPECT_EQ(installed(), whole) << hold << signal;
    EXPECT_NE(kill(pid_t(-group), 0), 0) << hold << signal;
  }
  EXPECT_FALSE(std::filesystem::exists(rig.work.file("fresh")));
  // Hidden partial files of a killed install go with the next one; others stay.
  for (const char* name : {"/bin/.SEGDRAW.Ab12Cd", "/bin/.*.zz99ZZ", "/bin/.SEGDRAW.keep"})
    testsupport::WriteFile(prefix + name, "x");
  EXPECT_EQ(carry(" v5").exitCode, 0);
  EXPECT_EQ(installed(), (std::set<std::string>{"*:star v5", ".SEGDRAW.keep:x", "SEGDRAW.partial@",
                                                "SEGDRAW:segdraw v5", "Start.asm:template v5"}));
}

TEST(Vanstall, TheStandInInstallsAFolderOnceAtATimeAndATerminationClosesItsBox) {
  LoaderRig rig;
  rig.entries["RVSETUP.EXE"] = STAND_IN;
  const std::string prefix = rig.work.file("prefix"), held = rig.work.file("held");
  const auto carry = [&](const std::string& version, const std::string& corrupt = "") {
    for (const char* name : {"bin/one", "bin/two", "tavix/Start.asm"}) {
      const std::string file = std::filesystem::path(name).filename();
      rig.work.write(file, name + version);
      rig.entries[name] = rig.work.file(file);
    }
    rig.Build(corrupt);
  };
  const auto start = [&](const std::string& hold, const std::function<void(long)>& meanwhile) {
    std::remove(held.c_str());
    return rig.Start({"/l0409"},
                     {{"TAVIX_INSTALL_DIR", prefix},
                      {"RVSETUP_TEST_HOLD", hold + ":" + held},
                      {"TAVIX_UNATTENDED", hold == "box" ? "0" : "1"}},
                     meanwhile, [&] { return access(held.c_str(), F_OK) == 0; });
  };
  carry(" v1");
  ASSERT_EQ(start("", nullptr).exitCode, 0);
  // A second setup of the folder while the first replaces its files stops at once with a
  // message and touches nothing; the first then completes.
  carry(" v2");
  Outcome second;
  std::set<std::string> before, after;
  const Outcome first = start("rename", [&](long) {
    before = Installed(prefix);
    second = rig.Start({"/l0409"}, {{"TAVIX_INSTALL_DIR", prefix}});
    after = Installed(prefix);
    std::remove(held.c_str());
  });
  EXPECT_EQ(second.errors, "Setup: Setup could not install Tavix: " + prefix +
                               " is being installed by another setup\n");
  EXPECT_EQ(second.exitCode * 10 + first.exitCode, 10) << first.errors;
  EXPECT_EQ(after, before);
  const std::set<std::string> v2{"Start.asm:tavix/Start.asm v2", "one:bin/one v2",
                                 "two:bin/two v2"};
  EXPECT_EQ(Installed(prefix), v2);

  // A termination while the second stage shows its failure box: the box closes, the
  // installation stays as it was, nothing unpacked is left, and the run fails.
  carry(" v3", "bin/two");
  long group = 0;
  const Outcome boxed = start("box", [&](long pid) { kill(pid_t(pid), SIGTERM), group = pid; });
  EXPECT_EQ(boxed.exitCode * 1000 + EntriesIn(rig.temp.path()), 1000);
  EXPECT_EQ(Installed(prefix), v2);
  EXPECT_NE(kill(pid_t(-group), 0), 0);
}
