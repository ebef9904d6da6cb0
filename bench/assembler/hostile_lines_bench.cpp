// Lines a hostile source may hold, assembled in-process: a long sum, a long
// data list past the end of program memory, and nesting far beyond the
// bound. The time must grow linearly with the line.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "assembler.h"
#include "platform/tempfiles.h"

namespace {

std::string Repeat(const std::string& text, int64_t times) {
  std::string out;
  for (int64_t i = 0; i < times; ++i) out += text;
  return out;
}

void AssembleLine(benchmark::State& state, const std::string& line) {
  const std::string folder = platform::MakeTempFolder("tavix-bench-hostile-");
  std::ofstream(folder + "/t.asm") << line << "\r\n";
  k42asm::RunEnvironment env;
  env.programFolder = TAVIX_DIST_DIR;
  env.now = [] { return int64_t{1700000000}; };
  env.romStep = [](const std::string&) {};
  for (auto _ : state) {
    k42asm::Assembler assembler(env);
    benchmark::DoNotOptimize(assembler.Run(folder + "/t.asm", true));
  }
  state.SetBytesProcessed(static_cast<int64_t>(line.size()) * state.iterations());
  state.SetComplexityN(static_cast<int64_t>(line.size()));
  std::string rm = "rm -rf '" + folder + "'";
  (void)std::system(rm.c_str());
}

void BM_LongSum(benchmark::State& state) {
  AssembleLine(state, " LDI 1" + Repeat(" + 1", state.range(0) / 4));
}
BENCHMARK(BM_LongSum)
    ->RangeMultiplier(2)
    ->Range(256 << 10, 2 << 20)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void BM_LongDataList(benchmark::State& state) {
  AssembleLine(state, " DW 1" + Repeat(",1", state.range(0) / 2));
}
BENCHMARK(BM_LongDataList)
    ->RangeMultiplier(2)
    ->Range(256 << 10, 2 << 20)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void BM_DeepParentheses(benchmark::State& state) {
  AssembleLine(state,
               " LDI " + Repeat("(", state.range(0) / 2) + "1" + Repeat(")", state.range(0) / 2));
}
BENCHMARK(BM_DeepParentheses)
    ->RangeMultiplier(2)
    ->Range(256 << 10, 2 << 20)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void BM_DeepNot(benchmark::State& state) {
  AssembleLine(state, " LDI " + Repeat("NOT ", state.range(0) / 4) + "1");
}
BENCHMARK(BM_DeepNot)
    ->RangeMultiplier(2)
    ->Range(256 << 10, 2 << 20)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
