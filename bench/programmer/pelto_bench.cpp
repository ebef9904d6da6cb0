// The programmer control's own cost against the simulated programmer on the
// serial rig: the download of a 24 KiB image, byte by byte with its send
// timer, events and progress (target: under 50 us of the host's time per
// byte), and a read whose answer never comes (1 s time-out; target: under
// 5 % of one core while it waits). On a wire the rate dominates: 24 KiB take
// about 6.4 s at 38400 baud.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <QPushButton>
#include <QWidget>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/library.h"
#include "platform/messagebox.h"
#include "platform/tempfiles.h"
#include "simulated_programmer.h"

namespace {

double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// A control made by name on COM3, mapped to a fresh simulated programmer, for
// a 22-bit target of one 8192-word block (a 24 KiB image).
struct PeltoRig {
  testdevices::SimulatedProgrammer programmer;
  std::string folder = platform::MakeTempFolder("tavix-bench-");
  std::unique_ptr<QWidget> control;

  PeltoRig() {
    setenv("TAVIX_REGISTRY_DIR", folder.c_str(), 1);
    setenv("TAVIX_WINDOWS_DIR", folder.c_str(), 1);
    setenv("TAVIX_COM3", programmer.Endpoint().c_str(), 1);
    std::ofstream(folder + "/Corvane.spec")
        << "[CONTROLERS]\nLIST=Wide,\n[ROM_PARAMS]\nWide=22,1,8192,3,\n";
    std::ofstream(folder + "/image.bin", std::ios::binary) << std::string(24576, '\x5A');
    platform::SetMessageBoxHook([](const std::string&, const std::string&, unsigned) { return 1; });
    platform::LibraryHandle library = platform::LoadLibrary("Pelto", TAVIX_DIST_DIR);
    auto make = reinterpret_cast<QWidget* (*)(QWidget*)>(
        platform::GetProcAddress(library, "PeltoControl_Pelto"));
    control.reset(make(nullptr));
    control->setProperty("CommPortNr", QVariant::fromValue<short>(3));
    control->setProperty("ActiveMicro", QString("Wide"));
    control->setProperty("ActiveFile", QString::fromStdString(folder + "/image.bin"));
  }
  ~PeltoRig() {
    control.reset();
    unsetenv("TAVIX_COM3");
    std::filesystem::remove_all(folder);
  }
  // Connects and holds the panel, so that no socket poll runs.
  bool Connect() {
    control->findChild<QPushButton*>("Button_Connect")->click();
    return Call("UpdateState", Q_ARG(short, 3), Q_ARG(short, 0)) == 0;
  }
  short Call(const char* method, QGenericArgument a = {}, QGenericArgument b = {},
             QGenericArgument c = {}) {
    short result = -99;
    QMetaObject::invokeMethod(control.get(), method, Qt::DirectConnection,
                              Q_RETURN_ARG(short, result), a, b, c);
    return result;
  }
};

void BM_UpdateROMData24KiB(benchmark::State& state) {
  PeltoRig rig;
  if (!rig.Connect()) state.SkipWithError("no connection");
  constexpr int kFrameBytes = 24576 + 5;
  double cpu = 0;
  for (auto _ : state) {
    const double start = ThreadSeconds();
    if (rig.Call("UpdateROMData") != 0) state.SkipWithError("the download failed");
    cpu += ThreadSeconds() - start;
    state.PauseTiming();
    while (static_cast<int>(rig.programmer.ReceivedBytes().size()) < kFrameBytes) {
      QCoreApplication::processEvents();
    }
    rig.programmer.ClearTranscript();
    state.ResumeTiming();
  }
  state.counters["host_us_per_byte"] =
      cpu * 1e6 / (static_cast<double>(state.iterations()) * kFrameBytes);
}
BENCHMARK(BM_UpdateROMData24KiB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_IdleReadTimeout(benchmark::State& state) {
  PeltoRig rig;
  rig.programmer.SetSilent(true);
  double cpu = 0, wall = 0;
  for (auto _ : state) {
    state.PauseTiming();
    if (!rig.Connect()) state.SkipWithError("no connection");
    state.ResumeTiming();
    QByteArray answer;
    const double start = ThreadSeconds();
    const auto begin = std::chrono::steady_clock::now();
    if (rig.Call("read_PELTO_data", Q_ARG(short, 0x0B), Q_ARG(short, 1),
                 Q_ARG(QByteArray&, answer)) != -1) {
      state.SkipWithError("the read did not time out");
    }
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    cpu += ThreadSeconds() - start;
  }
  state.counters["cpu_percent"] = wall > 0 ? 100.0 * cpu / wall : 0;
}
BENCHMARK(BM_IdleReadTimeout)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
