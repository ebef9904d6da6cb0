#pragma once
// Starting processes: arguments pass as a list, never through a shell.
#include <string>
#include <vector>

namespace platform {

struct ProcessResult {
  bool started = false;  // false when the executable was not found or could not run
  int pid = -1;
  int exitCode = -1;     // set only for a waited process that exited normally
};

// Resolves `executable` in the program folder (case-insensitively, an ".EXE"
// suffix dropped) when it has no '/', then starts it with `arguments`.
// Detached: the child is not waited for and leaves no zombie behind.
ProcessResult StartProcess(const std::string& executable, const std::vector<std::string>& arguments,
                           bool wait, const std::string& folder = "");

// The path StartProcess would run, or "" when none exists.
std::string ResolveExecutablePath(const std::string& executable, const std::string& folder = "");

// An outside program by its exact name along $PATH, as a shell finds it: the
// first folder holding an executable regular file of that name. Empty entries
// (the current folder) are skipped. "" when there is none.
std::string FindOnPath(const std::string& program);

}  // namespace platform
