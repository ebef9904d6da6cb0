// A second stage for the loader's tests: logs its arguments, its folder and
// its listing, and the head and size of SETUP.PKG to the file named by
// VANSTALL_TEST_LOG, sends the loader the hide request and exits 0
// (after VANSTALL_TEST_LINGER_MS milliseconds when that is set).
// VANSTALL_TEST_SIGNAL_TO_ITS_END=<signal> leaves a process behind that sends
// the loader that signal each millisecond until the loader has ended.
#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "platform/filenames.h"
#include "platform/read_file.h"
#include "setup/quillset_channel.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const char* logPath = std::getenv("VANSTALL_TEST_LOG");
  if (!logPath) return 2;
  std::ofstream log(logPath);
  for (int i = 1; i < argc; ++i) log << "arg:" << argv[i] << "\n";
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  const std::string folder = platform::FolderOf(std::string(self, n > 0 ? size_t(n) : 0));
  struct stat info {};
  stat(folder.c_str(), &info);
  log << "folder:" << folder << "\nmode:" << std::oct << (info.st_mode & 0777) << std::dec << "\n";
  std::vector<std::string> names;
  if (DIR* dir = opendir(folder.c_str())) {
    while (const dirent* e = readdir(dir)) {
      if (e->d_name[0] != '.') names.push_back(e->d_name);
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) log << "file:" << name << "\n";
  std::string package, texts;
  platform::ReadWholeFile(folder + "SETUP.PKG", package);
  platform::ReadWholeFile(folder + "SETUPLNG.DLL", texts);
  log << "pkg:" << package.substr(0, 4) << ":" << package.size() << "\n";
  log << "setuplng:" << texts.size() << "\n";
  log << "hidden:" << setup::SendQuillsetBootstrap(getppid(), 1) << "\n";
  log.close();
  // Sends the loader the signal VANSTALL_TEST_SIGNAL_PARENT names, ignoring it itself, and ends.
  if (const char* signal = std::getenv("VANSTALL_TEST_SIGNAL_PARENT"))
    return ::signal(std::atoi(signal), SIG_IGN) == SIG_ERR || kill(getppid(), std::atoi(signal));
  if (const char* signal = std::getenv("VANSTALL_TEST_SIGNAL_TO_ITS_END")) {
    const int loader = int(syscall(SYS_pidfd_open, getppid(), 0)), number = std::atoi(signal);
    ::signal(number, SIG_IGN);
    if (fork() == 0) {
      pollfd ended{loader, POLLIN, 0};
      while (poll(&ended, 1, 1) == 0) syscall(SYS_pidfd_send_signal, loader, number, nullptr, 0);
      _exit(0);
    }
  }
  // Lingers on request, as a real installation would.
  if (const char* linger = std::getenv("VANSTALL_TEST_LINGER_MS"))
    usleep(1000u * std::atoi(linger));
  return 0;
}
