// Whole-process build time of K42xxasm for a program that fills program
// memory: 4095 words from a main file and four include files, a label every
// eight words and forward jumps to each of them.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <string>

#include "platform/tempfiles.h"

extern char** environ;

namespace {

int WriteProgram(const std::string& folder) {
  int lines = 0;
  std::ofstream main(folder + "/full.asm");
  main << "; generated: full program memory\r\nCOUNT   EQU 5\r\nFLAGS   VAR 4, 10H\r\n";
  lines += 3;
  int word = 0;
  for (int part = 0; part < 4; ++part) {
    std::string name = "part" + std::to_string(part) + ".inc";
    main << " INCLUDE " << name << "\r\n";
    ++lines;
    std::ofstream inc(folder + "/" + name);
    for (int i = 0; i < 1023 && word < 4095; ++i, ++word, ++lines) {
      if (word % 8 == 0) inc << "L" << word << ": ";
      switch (word % 8) {
        case 0:
          inc << " JMP L" << (word + 8 < 4095 ? word + 8 : 0) << "\r\n";
          break;
        case 1:
          inc << " LDI COUNT + 1 ; load\r\n";
          break;
        case 2:
          inc << " STI FLAGS, 3\r\n";
          break;
        case 3:
          inc << " ADD FLAGS + 1\r\n";
          break;
        case 4:
          inc << " CALL L" << (word + 4 < 4095 ? word + 4 : 0) << "\r\n";
          break;
        case 5:
          inc << " STIX 5\r\n";
          break;
        case 6:
          inc << " JPNZ L" << (word - 6) << "\r\n";
          break;
        default:
          inc << " NOP\r\n";
          break;
      }
    }
  }
  main << " HALT\r\n";
  return lines + 1;
}

void BM_AssembleFullProgram(benchmark::State& state) {
  std::string folder = platform::MakeTempFolder("tavix-bench-asm-");
  int lines = WriteProgram(folder);
  std::string exe = std::string(TAVIX_DIST_DIR) + "K42xxasm";
  std::string arg = "/D/s" + folder + "/full";
  std::string linkDir = "TAVIX_LINK_DIR=" + folder + "/link";
  std::vector<char*> env;
  for (char** e = environ; *e; ++e) env.push_back(*e);
  env.push_back(linkDir.data());
  env.push_back(nullptr);
  char* argv[] = {exe.data(), arg.data(), nullptr};
  for (auto _ : state) {
    pid_t pid = 0;
    if (posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv, env.data()) != 0) {
      state.SkipWithError("cannot start K42xxasm");
      break;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      std::ifstream err(folder + "/full.err");
      static std::string first;
      std::getline(err, first);
      first = "the build failed: " + first;
      state.SkipWithError(first.c_str());
      break;
    }
  }
  state.counters["lines_per_second"] =
      benchmark::Counter(static_cast<double>(lines) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
  std::string rm = "rm -rf '" + folder + "'";
  (void)std::system(rm.c_str());
}
BENCHMARK(BM_AssembleFullProgram)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
