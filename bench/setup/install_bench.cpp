// The installing stand-in over a package of many small entries: 100 folders
// of small text files, installed into a fresh prefix and then over it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "dcs_records.h"
#include "installer.h"
#include "platform/tempfiles.h"

namespace {

namespace fs = std::filesystem;

// Writes an archive of `count` stored entries "data\<folder>\<n>.TXT".
void WritePackage(const std::string& path, int count) {
  dcs::ArchiveHeader header;
  header.name = "package.dcs";
  std::string bytes = dcs::EncodeArchiveHeader(header);
  for (int i = 0; i < count; ++i) {
    const std::string data = "entry " + std::to_string(i) + " of the package\n";
    DcsEntryInfo e;
    e.longName = "data\\" + std::to_string(i % 100) + "\\" + std::to_string(i) + ".TXT";
    e.shortName = e.longName;
    e.packedSize = e.unpackedSize = static_cast<uint32_t>(data.size());
    e.dataCrc = dcs::StoredCrc(data.data(), data.size());
    bytes += dcs::EncodeEntryHeader(e) + data;
  }
  bytes += dcs::EncodeTrailer(static_cast<uint32_t>(bytes.size()));
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

void Install(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::string folder = platform::MakeTempFolder("tavix-bench-install-") + "/";
  WritePackage(folder + "package.dcs", count);
  const std::string prefix = folder + "prefix";
  for (auto _ : state) {
    int installed = 0;
    std::string error;
    if (!rvsetup::InstallArchive(
            folder + "package.dcs", prefix, [&](const std::string&) { ++installed; }, error) ||
        installed != count) {
      state.SkipWithError(error.c_str());
    }
  }
  state.counters["entries"] = count;
  fs::remove_all(folder);
}

}  // namespace

// Fresh, then over the first installation.
BENCHMARK(Install)->Arg(20000)->Arg(100000)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(2);

BENCHMARK_MAIN();
