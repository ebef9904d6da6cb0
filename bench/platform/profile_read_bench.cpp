// One read of a TAVIX.INI holding many small sections, as every read of the
// controller list, the build's ROM size or the MTP parameters makes. Target:
// linear in the file, 100,000 sections well under a second.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "platform/atomic_write.h"
#include "platform/profile.h"
#include "platform/tempfiles.h"

namespace {

void BM_ProfileReadManySections(benchmark::State& state) {
  const int64_t sections = state.range(0);
  std::string text;
  for (int64_t n = 0; n < sections; ++n)
    text += "[Section" + std::to_string(n) + "]\r\nKey=" + std::to_string(n) + "\r\n";
  text += "[Controllers]\r\nQV4234=42340000.DLL\r\n";
  const std::string folder = platform::MakeTempFolder("tavix-profile-bench-");
  const std::string file = folder + "/TAVIX.INI";
  platform::WriteFileAtomically(file, text);
  for (auto _ : state)
    benchmark::DoNotOptimize(platform::ReadProfileString(file, "Controllers", "QV4234"));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ProfileReadManySections)
    ->ArgName("sections")
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
