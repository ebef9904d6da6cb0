#include "assembler_runner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>

#include "temp_dir.h"

extern char** environ;

namespace asmtest {

ProcessRun RunAssemblerProcess(const std::vector<std::string>& args, const std::string& linkDir,
                               const std::string& program, const std::string& cwd,
                               const std::vector<std::string>& unset) {
  std::string exe = program.empty() ? std::string(TAVIX_DIST_DIR) + "K42xxasm" : program;
  std::vector<std::string> argv{exe};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> cargv;
  for (std::string& a : argv) cargv.push_back(a.data());
  cargv.push_back(nullptr);

  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string v = *e;
    if (v.rfind("TAVIX_LINK_DIR=", 0) == 0 || v.rfind("TZ=", 0) == 0 ||
        v.rfind("SOURCE_DATE_EPOCH=", 0) == 0)
      continue;
    bool dropped = false;
    for (const std::string& name : unset) dropped = dropped || v.rfind(name + "=", 0) == 0;
    if (dropped) continue;
    env.push_back(v);
  }
  env.push_back("TAVIX_LINK_DIR=" + linkDir);
  env.push_back("TZ=UTC");
  env.push_back("SOURCE_DATE_EPOCH=1700000000");
  std::vector<char*> cenv;
  for (std::string& v : env) cenv.push_back(v.data());
  cenv.push_back(nullptr);

  ProcessRun run;
  auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  int errorPipe[2];
  if (pipe2(errorPipe, O_CLOEXEC) != 0) return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, errorPipe[1], 2);
  if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
  int spawned = posix_spawn(&pid, exe.c_str(), &actions, nullptr, cargv.data(), cenv.data());
  posix_spawn_file_actions_destroy(&actions);
  close(errorPipe[1]);
  if (spawned != 0) {
    close(errorPipe[0]);
    return run;
  }
  // Drained while the process runs, so a long report cannot block it.
  char buffer[4096];
  for (ssize_t n; (n = read(errorPipe[0], buffer, sizeof buffer)) != 0;)
    if (n > 0)
      run.standardError.append(buffer, static_cast<size_t>(n));
    else if (errno != EINTR)
      break;
  close(errorPipe[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  run.millis = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - start)
                                     .count());
  if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  return run;
}

InProcessRun RunInProcess(const std::string& source, bool linkMode) {
  InProcessRun result;
  k42asm::RunEnvironment env;
  env.linkMode = linkMode;
  env.programFolder = TAVIX_DIST_DIR;
  env.poke = [&](const std::string& line) { result.pokes.push_back(line); };
  env.beep = [&] { ++result.beeps; };
  env.now = [] { return int64_t{1700000000}; };
  env.romStep = [](const std::string&) {};
  k42asm::Assembler assembler(env);
  result.status = assembler.Run(source, true);
  result.symbols = assembler.symbolNames();
  return result;
}

std::string Golden(const std::string& name) {
  return testsupport::ReadFile(std::string(TAVIX_SOURCE_DIR) + "tests/tools/assembler/golden/" +
                               name);
}

std::vector<std::string> CrlfLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
    lines.push_back(text.substr(start, at - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace asmtest
