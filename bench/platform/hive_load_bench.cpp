// The first read of a 10 MB settings hive, whatever its shape: the start-up
// of a monitor whose hive grew large. Target: under one second each.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/atomic_write.h"
#include "platform/registry.h"
#include "platform/tempfiles.h"

namespace {

constexpr size_t kHiveBytes = 10u << 20;

std::string Header() {
  return "; Tavix registry hive HKEY_CURRENT_USER\n";
}

// The hive's text for one shape, just over 10 MB.
std::string HiveText(int shape) {
  std::string text = Header();
  const std::string deepPath = [] {
    std::string path = "A";
    for (int i = 1; i < 511; ++i) path += "\\Level";
    return path;
  }();
  for (int n = 0; text.size() < kHiveBytes; ++n) {
    const std::string id = std::to_string(n);
    switch (shape) {
      case 0:  // one key holding every value
        if (n == 0) text += "\n[A]\n";
        text += "\"value" + id + "\"=sz:\"text " + id + "\"\n";
        break;
      case 1:  // one parent with a child key per value
        text += "\n[A\\Key" + id + "]\n\"v\"=dword:0000002a\n";
        break;
      case 2:  // keys at the deepest level the registry keeps
        text += "\n[" + deepPath + "\\Key" + id + "]\n@=sz:\"x\"\n";
        break;
      case 3:  // few values, each one long
        if (n == 0) text += "\n[A]\n";
        text += "\"blob" + id + "\"=hex(3):";
        for (int i = 0; i < 100000; ++i) text += i ? ",5a" : "5a";
        text += '\n';
        break;
      default:  // lines that do not parse
        text += "garbage line " + id + " [\\\\]\n";
        break;
    }
  }
  return text;
}

void BM_HiveFirstRead(benchmark::State& state) {
  // Two folders with the same file: switching between them loads it afresh.
  const std::string text = HiveText(static_cast<int>(state.range(0)));
  std::string folders[2];
  for (std::string& folder : folders) {
    folder = platform::MakeTempFolder("tavix-hive-bench-");
    platform::WriteFileAtomically(folder + "/HKEY_CURRENT_USER.hive", text);
  }
  int turn = 0;
  for (auto _ : state) {
    setenv("TAVIX_REGISTRY_DIR", folders[turn ^= 1].c_str(), 1);
    platform::HKEY key = 0;
    benchmark::DoNotOptimize(platform::RegOpenKeyEx(platform::HKEY_CURRENT_USER, "A", 1, &key));
    platform::RegCloseKey(key);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  for (const std::string& folder : folders) std::filesystem::remove_all(folder);
}
BENCHMARK(BM_HiveFirstRead)
    ->ArgName("shape")
    ->DenseRange(0, 4)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
