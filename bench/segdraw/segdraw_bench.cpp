// A definition of 160 segments, each with a stretched bitmap: one repaint of
// the view at zoom 4, and one open and save of the file.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include <platform/messagebox.h>

#include "segdraw_view.h"

namespace {

namespace fs = std::filesystem;

// A 16 x 16 1-bit bitmap, a black diagonal band on white.
std::string BandBitmap() {
  std::string b = "BM";
  const auto put = [&b](uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(static_cast<char>(v >> (8 * i)));
  };
  put(62 + 64, 4); put(0, 4); put(62, 4);
  put(40, 4); put(16, 4); put(16, 4); put(1, 2); put(1, 2);
  for (int i = 0; i < 6; ++i) put(0, 4);
  put(0, 4); put(0xFFFFFF, 4);
  for (int y = 0; y < 16; ++y) {
    uint32_t row = 0xFFFF;
    for (int x = 0; x < 16; ++x)
      if (std::abs(x - y) < 3) row &= ~(1u << (15 - x));
    b.push_back(static_cast<char>(row >> 8));
    b.push_back(static_cast<char>(row));
    b.append(2, '\0');
  }
  return b;
}

std::string BitmapName(int k) { return std::string(1, static_cast<char>('a' + k)) + ".bmp"; }

// The files live in memory (/dev/shm where there is one): the figures are the
// editor's own work, not the disk's sync of each saved file.
fs::path BenchFolder() {
  const fs::path shm = "/dev/shm";
  return (fs::is_directory(shm) ? shm : fs::temp_directory_path()) / ("segdraw_bench_" + std::to_string(getpid()));
}

struct Definition160 {
  Definition160() {
    folder = BenchFolder();
    fs::create_directories(folder);
    for (int k = 0; k < 8; ++k) std::ofstream(folder / BitmapName(k), std::ios::binary) << BandBitmap();
    doc.SetDocumentFolder(folder.string());
    for (int k = 0; k < 8; ++k) doc.AddBitmap(BitmapName(k));
    for (int i = 0; i < 160; ++i) {
      doc.AddSegment();
      doc.SetAddress(i, static_cast<uint16_t>(i / 4));
      doc.SetBit(i, static_cast<uint16_t>(1 << (i % 4)));
      doc.SetLeft(i, (i % 20) * 24);
      doc.SetTop(i, (i / 20) * 12);
      doc.SetWidth(i, 30);  // neighbours overlap
      doc.SetHeight(i, 14);
      doc.SetBitmapIndex(i, static_cast<uint16_t>(i % 8));
    }
    path = (folder / "bench.cfg").string();
  }
  ~Definition160() { fs::remove_all(folder); }
  fs::path folder;
  std::string path;
  CSegdrawDoc doc;
};

void BM_RepaintAtZoom4(benchmark::State& state) {
  Definition160 d;
  CSegdrawView view(d.doc);
  while (view.Zoom() < 4.0f) view.OnViewZoomIn();  // 4.18
  QImage target(2200, 600, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&target);
    painter.fillRect(target.rect(), Qt::white);
    view.OnDraw(painter);
  }
}
BENCHMARK(BM_RepaintAtZoom4)->Unit(benchmark::kMillisecond);

void BM_OpenAndSave(benchmark::State& state) {
  platform::SetMessageBoxHook([](const std::string&, const std::string&, unsigned) { return 1; });
  Definition160 d;
  d.doc.OnSaveDocument(d.path);
  CSegdrawDoc doc;
  for (auto _ : state) {
    if (!doc.OnOpenDocument(d.path) || !doc.OnSaveDocument(d.path)) state.SkipWithError("open or save failed");
  }
  platform::SetMessageBoxHook({});
}
BENCHMARK(BM_OpenAndSave)->Unit(benchmark::kMillisecond);

}  // namespace
