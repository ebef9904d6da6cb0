#include "platform/process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/filenames.h"

extern char** environ;

namespace platform {
namespace {

bool EndsWithNoCase(const std::string& s, const std::string& suffix) {
  return s.size() >= suffix.size() && EqualsNoCase(s.substr(s.size() - suffix.size()), suffix);
}

bool IsExecutable(const std::string& path) { return access(path.c_str(), X_OK) == 0; }

// Spawns `path` with argv; returns the pid or -1.
pid_t Spawn(const std::string& path, const std::vector<std::string>& arguments, bool newSession) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  if (newSession) posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
  pid_t pid = -1;
  int rc = posix_spawn(&pid, path.c_str(), nullptr, &attr, argv.data(), environ);
  posix_spawnattr_destroy(&attr);
  return rc == 0 ? pid : -1;
}

}  // namespace

std::string ResolveExecutablePath(const std::string& executable, const std::string& folder) {
  if (executable.empty()) return "";
  std::string path = executable;
  if (executable.find('/') == std::string::npos) {
    std::string dir = folder.empty() ? ProgramPath() : folder;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    path = dir + executable;
  }
  std::vector<std::string> candidates{path};
  if (EndsWithNoCase(path, ".exe")) candidates.insert(candidates.begin(), path.substr(0, path.size() - 4));
  for (const std::string& c : candidates) {
    std::string found = ResolvePathNoCase(c);
    if (!found.empty() && IsExecutable(found)) return found;
  }
  return "";
}

std::string FindOnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  if (program.empty() || program.find('/') != std::string::npos || path == nullptr) return "";
  const std::string folders = path;
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    if (end > start) {
      const std::string candidate = folders.substr(start, end - start) + "/" + program;
      struct stat info;
      if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && IsExecutable(candidate)) {
        return candidate;
      }
    }
    start = end + 1;
  }
  return "";
}

ProcessResult StartProcess(const std::string& executable, const std::vector<std::string>& arguments,
                           bool wait, const std::string& folder) {
  ProcessResult result;
  std::string path = ResolveExecutablePath(executable, folder);
  if (path.empty()) return result;

  if (wait) {
    pid_t pid = Spawn(path, arguments, false);
    if (pid < 0) return result;
    result.started = true;
    result.pid = pid;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    return result;
  }

  // Detached: an intermediate child starts the program in a new session and
  // exits at once, so the program is re-parented and never becomes a zombie.
  int pipefd[2];
  if (pipe2(pipefd, O_CLOEXEC) != 0) return result;
  pid_t middle = fork();
  if (middle < 0) {
    close(pipefd[0]);
    close(pipefd[1]);
    return result;
  }
  if (middle == 0) {
    close(pipefd[0]);
    pid_t pid = Spawn(path, arguments, true);
    ssize_t ignored = write(pipefd[1], &pid, sizeof pid);
    (void)ignored;
    _exit(0);
  }
  close(pipefd[1]);
  pid_t pid = -1;
  ssize_t n = read(pipefd[0], &pid, sizeof pid);
  close(pipefd[0]);
  int status = 0;
  while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  if (n == sizeof pid && pid > 0) {
    result.started = true;
    result.pid = pid;
  }
  return result;
}

}  // namespace platform
