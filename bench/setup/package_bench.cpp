// The setup package's files: packing the program folder as the package does
// (programs zlib, text bzip2) against extracting every entry again.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "archive_writer.h"
#include "dcs/dcs.h"
#include "platform/tempfiles.h"

namespace {

namespace fs = std::filesystem;

struct Package {
  std::string folder = platform::MakeTempFolder("tavix-bench-package-") + "/";
  std::string archive = folder + "package.dcs";
  std::vector<dcsbuild::InputFile> files;
  uint64_t bytes = 0;

  Package() {
    for (const fs::directory_entry& e : fs::directory_iterator(TAVIX_DIST_DIR)) {
      if (!e.is_regular_file()) continue;
      dcsbuild::InputFile f;
      f.path = e.path().string();
      f.longName = "bin\\" + e.path().filename().string();
      const std::string ext = e.path().extension().string();
      f.method =
          (ext == ".ini" || ext == ".INI" || ext == ".txt") ? DCS_METHOD_BZIP2 : DCS_METHOD_ZLIB;
      bytes += e.file_size();
      files.push_back(f);
    }
  }
  ~Package() { fs::remove_all(folder); }
};

Package& Shared() {
  static Package p;
  return p;
}

void Pack(benchmark::State& state) {
  Package& p = Shared();
  std::string error;
  for (auto _ : state) {
    if (!dcsbuild::WriteArchive(p.archive, "package.dcs", 0, p.files, error))
      state.SkipWithError(error.c_str());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * p.bytes));
  state.counters["files"] = static_cast<double>(p.files.size());
  state.counters["archive_MB"] = static_cast<double>(fs::file_size(p.archive)) / 1e6;
}

void Extract(benchmark::State& state) {
  Package& p = Shared();
  std::string error;
  if (!fs::exists(p.archive)) dcsbuild::WriteArchive(p.archive, "package.dcs", 0, p.files, error);
  const std::string out = p.folder + "out";
  fs::create_directories(out);
  for (auto _ : state) {
    DcsArchive* a =
        DcsOpenArchive(p.archive.c_str(), DCS_MODE_READ_ONLY | DCS_MODE_NO_CREATE, nullptr);
    for (const dcsbuild::InputFile& f : p.files) {
      if (!DcsExtractFile(a, f.longName.c_str(), out.c_str(), nullptr))
        state.SkipWithError("extraction failed");
    }
    DcsCloseArchive(a);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * p.bytes));
}

}  // namespace

BENCHMARK(Pack)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(Extract)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK_MAIN();
