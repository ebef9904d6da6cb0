#pragma once
// A child process that the caller waits for in slices, keeping its own
// window alive between them. Arguments pass as a list, never through a shell.
#include <string>
#include <vector>

namespace platform {

struct ChildProcess {
  int pid = -1;   // -1 when it could not be started
  int error = 0;  // then the errno of the failure
};

// Starts the program at `path` (as given, no search) with `arguments`.
ChildProcess StartChild(const std::string& path, const std::vector<std::string>& arguments);

// Waits at most `millis` milliseconds for the child to end. True when it has
// ended (it is then reaped, and `exitCode`, when given, receives its exit
// status, or -1 when it did not exit normally).
bool WaitChild(int pid, int millis, int* exitCode = nullptr);

}  // namespace platform
