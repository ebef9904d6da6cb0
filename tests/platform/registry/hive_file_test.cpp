#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <new>
#include <string>

#include "hive_file.h"
#include "platform/registry.h"
#include "registry_test_support.h"

using namespace platform;

namespace {

using HiveFile = RegistryFolderTest;

// Runs `body` in a child process; true when it returned true there.
template <typename Body>
pid_t Spawn(Body body) {
  pid_t pid = fork();
  if (pid == 0) _exit(body() ? 0 : 1);
  return pid;
}

bool Succeeded(pid_t pid) {
  int status = 0;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST_F(HiveFile, WritersInOtherProcessesAreSeenAndNeverLost) {
  HKEY key = 0;
  ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane\\Tavix\\MTPCOMM", 3, &key), 0);
  ASSERT_EQ(SetText(key, "Com", " 1"), 0);  // the hive is now cached in this process

  // Three writers at once with us: each side sees every value of the others.
  constexpr int kWrites = 25;
  std::vector<pid_t> writers;
  for (int w = 0; w < 3; ++w)
    writers.push_back(Spawn([w] {
      HKEY k = 0;
      if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, "software\\corvane\\tavix\\mtpcomm", 2, &k))
        return false;
      for (int i = 0; i < kWrites; ++i)
        if (SetText(k, "w" + std::to_string(w) + "_" + std::to_string(i), "x")) return false;
      return true;
    }));
  for (int i = 0; i < kWrites; ++i) ASSERT_EQ(SetText(key, "p_" + std::to_string(i), "y"), 0);
  for (pid_t pid : writers) EXPECT_TRUE(Succeeded(pid));
  for (int i = 0; i < kWrites; ++i) {
    EXPECT_EQ(QueryText(key, "p_" + std::to_string(i)), "y");
    for (int w = 0; w < 3; ++w)
      EXPECT_EQ(QueryText(key, "w" + std::to_string(w) + "_" + std::to_string(i)), "x");
  }
  RegCloseKey(key);
  // The current-user hive was never touched.
  EXPECT_EQ(FolderEntries(dir.path()),
            (std::vector<std::string>{"HKEY_LOCAL_MACHINE.hive", "HKEY_LOCAL_MACHINE.hive.lock"}));
}

TEST_F(HiveFile, MalformedFileKeepsWhatParsesReportsOnceAndIsKeptAsideAtFirstSave) {
  const std::string damaged =
      "; Tavix registry hive HKEY_CURRENT_USER\n"
      "\n[A]\n"
      "\"x\"=sz:\"1\"\n"
      "this line is garbage\n"
      "\"y\"=dword:zz\n"
      "\n[B\\\\C]\n"
      "\"z\"=sz:\"under a bad key\"\n"
      "\n[B]\n"
      "\"w\"=sz:\"2\"\n";
  dir.write("HKEY_CURRENT_USER.hive", damaged);
  dir.write("HKEY_CURRENT_USER.hive.bad", "an older damaged file");
  const std::string hive = dir.file("HKEY_CURRENT_USER.hive");

  testing::internal::CaptureStderr();
  HKEY a = 0, b = 0;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "A", 3, &a), 0);
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "B", 1, &b), 0);
  EXPECT_EQ(QueryText(a, "x"), "1");
  EXPECT_EQ(QueryText(a, "y"), "<missing>");
  EXPECT_EQ(QueryText(b, "w"), "2");
  EXPECT_EQ(QueryText(b, "z"), "<missing>");
  std::string report = testing::internal::GetCapturedStderr();
  EXPECT_NE(report.find(hive + ": line 5 does not parse"), std::string::npos) << report;
  EXPECT_NE(report.find(hive + ".bad.1"), std::string::npos) << report;
  EXPECT_EQ(report.find("Tavix registry:", 1), std::string::npos) << report;  // said once
  EXPECT_EQ(dir.read("HKEY_CURRENT_USER.hive"), damaged);  // reading never rewrites

  testing::internal::CaptureStderr();
  ASSERT_EQ(SetText(a, "v", "newer"), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(dir.read("HKEY_CURRENT_USER.hive.bad.1"), damaged);
  EXPECT_EQ(dir.read("HKEY_CURRENT_USER.hive.bad"), "an older damaged file");
  EXPECT_EQ(dir.read("HKEY_CURRENT_USER.hive"),
            "; Tavix registry hive HKEY_CURRENT_USER\n"
            "\n[A]\n"
            "\"x\"=sz:\"1\"\n"
            "\"v\"=sz:\"newer\"\n"
            "\n[B]\n"
            "\"w\"=sz:\"2\"\n");
  RegCloseKey(a);
  RegCloseKey(b);
}

TEST_F(HiveFile, FailedSaveReportsItAndLeavesThePreviousFile) {
  // The folder is made, with its parents, at the first save, for this user only.
  const std::string folder = dir.path() + "config/Corvane";
  setenv("TAVIX_REGISTRY_DIR", folder.c_str(), 1);
  HKEY key = 0;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "SOFTWARE", 3, &key), 0);
  ASSERT_EQ(SetText(key, "v", "old"), 0);
  struct stat st {};
  ASSERT_EQ(stat(folder.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  const std::string before = testsupport::ReadFile(folder + "/HKEY_CURRENT_USER.hive");

  // A file size limit makes the save fail even for a privileged user.
  EXPECT_TRUE(Succeeded(Spawn([key] {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{16, 16};
    setrlimit(RLIMIT_FSIZE, &limit);
    return SetText(key, "v", "new") == ERROR_REGISTRY_IO_FAILED && QueryText(key, "v") == "old";
  })));
  EXPECT_EQ(testsupport::ReadFile(folder + "/HKEY_CURRENT_USER.hive"), before);
  EXPECT_EQ(FolderEntries(folder),
            (std::vector<std::string>{"HKEY_CURRENT_USER.hive", "HKEY_CURRENT_USER.hive.lock"}));
  RegCloseKey(key);

  // A folder that cannot be made: nothing is created, and the call says so.
  dir.write("plain", "a file");
  setenv("TAVIX_REGISTRY_DIR", dir.file("plain/Corvane").c_str(), 1);
  EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "SOFTWARE", 3, &key), ERROR_REGISTRY_IO_FAILED);
  EXPECT_EQ(key, 0u);
}

TEST_F(HiveFile, HostileHivesNeitherHangNorCrashAndTheirFailuresAreSaid) {
  // One key 50,000 levels deep (a line that does not parse), and a pipe
  // without a writer, a link to an endless device and a folder as hives.
  std::string path = "k", deep = "; Tavix registry hive HKEY_CURRENT_USER\n\n[k";
  for (int i = 1; i < 50000; ++i) deep += "\\k";
  for (int i = 1; i < 512; ++i) path += "\\k";
  deep += "]\n\"v\"=sz:\"deep\"\n\n[A]\n\"x\"=sz:\"1\"\n";
  dir.write("HKEY_CURRENT_USER.hive", deep);
  const std::string machine = dir.file("HKEY_LOCAL_MACHINE.hive");
  testing::internal::CaptureStderr();
  HKEY a = 0, key = 0;
  alarm(20);  // a hang fails at once
  for (int kind = 0; kind < 3; ++kind) {
    unlink(machine.c_str());
    ASSERT_EQ(kind == 0   ? mkfifo(machine.c_str(), 0600)
              : kind == 1 ? symlink("/dev/zero", machine.c_str())
                          : mkdir(machine.c_str(), 0700),
              0);
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "A", 1, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "A", 3, &key), ERROR_REGISTRY_IO_FAILED);
  }
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "a", 3, &a), 0);
  EXPECT_EQ(QueryText(a, "x"), "1");
  // The depth is capped at 512 levels for calls too, and so is the file.
  EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, path + "\\k", 3, &key), ERROR_INVALID_PARAMETER);
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, path, 3, &key), 0);
  RegCloseKey(key);
  EXPECT_EQ(Hive().find("[" + path + "]\n"), Hive().size() - path.size() - 3);
  EXPECT_EQ(dir.read("HKEY_CURRENT_USER.hive.bad"), deep);
  alarm(0);
  std::string report = testing::internal::GetCapturedStderr();
  for (const std::string& said : {dir.file("HKEY_CURRENT_USER.hive") + ": line 3 does not parse",
                                  machine + ": cannot be read (Invalid argument)",
                                  machine + ": settings cannot be saved (Invalid argument)"})
    EXPECT_NE(report.find(said), std::string::npos) << report;
  // Each failure of a hive is said once per process, whatever the file becomes.
  EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 3) << report;
  RegCloseKey(a);
}

TEST_F(HiveFile, AChangeThatThrowsFreesTheLockAndASaveClearsLeftoverTemporaries) {
  // What killed saves leave, beside files that only look alike.
  const std::vector<std::string> others{".HKEY_CURRENT_USER.hive.lock2",
                                        ".HKEY_CURRENT_USER.hive.ab-12",
                                        "HKEY_CURRENT_USER.hive.Ab12Cd", "notes.txt"};
  for (const std::string& name : others) dir.write(name, "keep");
  dir.write(".HKEY_CURRENT_USER.hive.Ab12Cd", std::string(1 << 20, 'x'));

  hive::HiveFile file("HKEY_CURRENT_USER");
  const std::string folder = dir.path().substr(0, dir.path().size() - 1);
  EXPECT_THROW(file.Change(folder,
                           [](hive::Key& root, bool& changed) -> int32_t {
                             root.Child("Half", changed);
                             throw std::bad_alloc();
                           }),
               std::bad_alloc);
  const int other = open(dir.file("HKEY_CURRENT_USER.hive.lock").c_str(), O_RDWR);
  EXPECT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
  close(other);
  EXPECT_EQ(hive::FindKey(file.Current(folder), {"Half"}), nullptr);

  EXPECT_EQ(file.Change(folder,
                        [](hive::Key& root, bool& changed) {
                          root.Child("Whole", changed);
                          return 0;
                        }),
            0);
  std::vector<std::string> expected = others;
  expected.insert(expected.end(), {"HKEY_CURRENT_USER.hive", "HKEY_CURRENT_USER.hive.lock"});
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FolderEntries(dir.path()), expected);
}
