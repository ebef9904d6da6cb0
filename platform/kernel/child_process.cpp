#include "platform/child_process.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

#include "platform/clock.h"

extern char** environ;

namespace platform {

ChildProcess StartChild(const std::string& path, const std::vector<std::string>& arguments) {
  ChildProcess child;
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ);
  if (rc != 0) {
    child.error = rc;
    return child;
  }
  child.pid = pid;
  return child;
}

bool WaitChild(int pid, int millis, int* exitCode) {
  const int64_t deadline = MonotonicMicros() + int64_t{millis} * 1000;
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid || (done < 0 && errno == ECHILD)) {
      if (exitCode) *exitCode = done == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      return true;
    }
    if (MonotonicMicros() >= deadline) return false;
    SleepMillis(5);
  }
}

}  // namespace platform
