// Extraction from a 19 MB archive (stored, zlib and bzip2 entries of the same
// data) against the raw decoders called directly on the same packed bytes,
// each reading the archive file and writing an output file alike.
#include <benchmark/benchmark.h>
#include <bzlib.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "dcs/dcs.h"
#include "dcs_records.h"
#include "platform/atomic_write.h"
#include "platform/tempfiles.h"

namespace {

constexpr size_t kDataSize = 12 << 20;
constexpr size_t kChunk = 64 << 10;

struct Fixture {
  std::string folder, archive;
  std::string packed[6];  // by method
  int64_t dataPos[6] = {};
  size_t calls = 0;

  Fixture() {
    folder = platform::MakeTempFolder("tavix-bench-dcs-") + "/";
    archive = folder + "bench.dcs";
    // Words drawn from a small vocabulary with varying numbers: packs to
    // roughly a third, like program files and tables.
    std::string data;
    data.reserve(kDataSize);
    uint32_t x = 1;
    static const char* const kWords[] = {"MOV ",  "ADD ", "JMP ",  "label",
                                         "0x1F ", "\r\n", "call ", "RAM "};
    while (data.size() < kDataSize) {
      x = x * 1664525u + 1013904223u;
      data += kWords[x >> 29];
      data += static_cast<char>('0' + (x >> 8) % 10);
      data += static_cast<char>('A' + (x >> 16) % 26);
    }
    data.resize(kDataSize);
    dcs::ArchiveHeader header;
    header.name = "bench.dcs";
    std::string bytes = dcs::EncodeArchiveHeader(header);
    for (uint16_t method : {0, 4, 5}) {
      std::string& p = packed[method];
      if (method == 0) {
        p = data;
      } else if (method == 4) {
        uLongf size = compressBound(data.size());
        p.resize(size);
        compress2(reinterpret_cast<Bytef*>(p.data()), &size,
                  reinterpret_cast<const Bytef*>(data.data()), data.size(), 6);
        p.resize(size);
      } else {
        unsigned size = static_cast<unsigned>(data.size() + data.size() / 100 + 600);
        p.resize(size);
        BZ2_bzBuffToBuffCompress(p.data(), &size, data.data(), static_cast<unsigned>(data.size()),
                                 9, 0, 0);
        p.resize(size);
      }
      DcsEntryInfo e;
      e.shortName = e.longName = "M" + std::to_string(method) + ".BIN";
      e.method = method;
      e.packedSize = static_cast<uint32_t>(p.size());
      e.unpackedSize = static_cast<uint32_t>(data.size());
      e.dataCrc = dcs::StoredCrc(data.data(), data.size());
      bytes += dcs::EncodeEntryHeader(e);
      dataPos[method] = static_cast<int64_t>(bytes.size());
      bytes += p;
    }
    bytes += dcs::EncodeTrailer(static_cast<uint32_t>(bytes.size()));
    platform::WriteFileAtomically(archive, bytes);
    std::fprintf(stderr, "archive %zu bytes; packed: stored %zu, zlib %zu, bzip2 %zu\n",
                 bytes.size(), packed[0].size(), packed[4].size(), packed[5].size());
  }
  ~Fixture() { std::filesystem::remove_all(folder); }
};

Fixture& Shared() {
  static Fixture f;
  return f;
}

int CountCalls(int, void*, intptr_t user) {
  ++*reinterpret_cast<size_t*>(user);
  return 1;
}

void Extract(benchmark::State& state) {
  Fixture& f = Shared();
  const uint16_t method = static_cast<uint16_t>(state.range(0));
  size_t calls = 0;
  DcsArchive* a = DcsOpenArchiveEx(f.archive.c_str(), DCS_MODE_READ_ONLY | DCS_MODE_NO_CREATE,
                                   &CountCalls, reinterpret_cast<intptr_t>(&calls), nullptr);
  const std::string name = "M" + std::to_string(method) + ".BIN";
  for (auto _ : state) {
    if (!DcsExtractFile(a, name.c_str(), f.folder.c_str(), nullptr))
      state.SkipWithError("extraction failed");
  }
  DcsCloseArchive(a);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kDataSize));
  state.counters["progress_per_MiB"] =
      static_cast<double>(calls) / static_cast<double>(state.iterations()) / (kDataSize >> 20);
}

// The raw decoder: the packed bytes read from the archive in large pieces,
// decoded straight into an output file, the data CRC kept as the library does.
void Raw(benchmark::State& state) {
  Fixture& f = Shared();
  const int method = static_cast<int>(state.range(0));
  std::string in(kChunk, '\0'), out(kChunk, '\0');
  for (auto _ : state) {
    FILE* src = std::fopen(f.archive.c_str(), "rb");
    FILE* dst = std::fopen((f.folder + "raw.bin").c_str(), "wb");
    fseeko(src, f.dataPos[method], SEEK_SET);
    size_t left = f.packed[method].size();
    uint32_t crc = 0xFFFFFFFFu;
    auto emit = [&](size_t n) {
      crc = dcs::Crc(crc, out.data(), n);
      std::fwrite(out.data(), 1, n, dst);
    };
    z_stream z{};
    bz_stream b{};
    if (method == 4) inflateInit(&z);
    if (method == 5) BZ2_bzDecompressInit(&b, 0, 0);
    bool end = false;
    while (!end) {
      const size_t n =
          std::fread(method == 0 ? out.data() : in.data(), 1, std::min(left, kChunk), src);
      left -= n;
      if (method == 0) {
        emit(n);
        end = left == 0;
        continue;
      }
      if (method == 4) {
        z.next_in = reinterpret_cast<Bytef*>(in.data());
        z.avail_in = static_cast<uInt>(n);
      } else {
        b.next_in = in.data();
        b.avail_in = static_cast<unsigned>(n);
      }
      do {
        int rc;
        size_t produced;
        if (method == 4) {
          z.next_out = reinterpret_cast<Bytef*>(out.data());
          z.avail_out = kChunk;
          rc = inflate(&z, Z_NO_FLUSH);
          produced = kChunk - z.avail_out;
          end = rc == Z_STREAM_END || (rc != Z_OK && rc != Z_BUF_ERROR);
        } else {
          b.next_out = out.data();
          b.avail_out = kChunk;
          rc = BZ2_bzDecompress(&b);
          produced = kChunk - b.avail_out;
          end = rc != BZ_OK;
        }
        emit(produced);
      } while (!end && (method == 4 ? z.avail_out == 0 || z.avail_in > 0
                                    : b.avail_out == 0 || b.avail_in > 0));
      end = end || left == 0;
    }
    if (method == 4) inflateEnd(&z);
    if (method == 5) BZ2_bzDecompressEnd(&b);
    std::fclose(src);
    std::fclose(dst);
    benchmark::DoNotOptimize(crc);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kDataSize));
}

}  // namespace

// Each method in turn; the time is the wall clock's, output included.
void ByMethod(benchmark::internal::Benchmark* b) {
  b->ArgName("method")->Arg(0)->Arg(4)->Arg(5)->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(Extract)->Apply(ByMethod);
BENCHMARK(Raw)->Apply(ByMethod);

BENCHMARK_MAIN();
