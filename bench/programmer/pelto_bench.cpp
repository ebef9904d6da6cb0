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
#include <cstdio>
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
// a 22-bit target of one 8192-word block (a 24 KiB image, converted from its
// ".rom" by the stand-in).
struct PeltoRig {
  testdevices::SimulatedProgrammer programmer;
  std::string folder = platform::MakeTempFolder("tavix-bench-");
  std::unique_ptr<QWidget> control;

  explicit PeltoRig(int timePercent = 100) {
    setenv("TAVIX_REGISTRY_DIR", folder.c_str(), 1);
    setenv("TAVIX_WINDOWS_DIR", folder.c_str(), 1);
    setenv("TAVIX_COM3", programmer.Endpoint().c_str(), 1);
    std::ofstream(folder + "/Corvane.spec")
        << "[CONTROLERS]\nLIST=Wide,\n[ROM_PARAMS]\nWide=22,1,8192,3,\n";
    std::ofstream rom(folder + "/image.rom");
    rom << "WIDTH=22\n";
    for (int word = 0; word < 8192; ++word) rom << std::hex << (word * 517 & 0x3FFFFF) << "\n";
    rom.close();
    platform::SetMessageBoxHook([](const std::string& text, const std::string&, unsigned) {
      if (std::getenv("BENCH_VERBOSE") != nullptr) std::fprintf(stderr, "box: %s\n", text.c_str());
      return 1;
    });
    platform::LibraryHandle library = platform::LoadLibrary("Pelto", TAVIX_DIST_DIR);
    auto make = reinterpret_cast<QWidget* (*)(QWidget*)>(
        platform::GetProcAddress(library, "PeltoControl_Pelto"));
    control.reset(make(nullptr));
    reinterpret_cast<void (*)(QWidget*, int)>(
        platform::GetProcAddress(library, "PeltoControl_TimePercent"))(control.get(), timePercent);
    control->setProperty("CommPortNr", QVariant::fromValue<short>(3));
    control->setProperty("ActiveMicro", QString("Wide"));
    control->setProperty("ActiveFile", QString::fromStdString(folder + "/image.rom"));
  }
  ~PeltoRig() {
    control.reset();
    unsetenv("TAVIX_COM3");
    std::filesystem::remove_all(folder);
  }
  void Click(const char* button) { control->findChild<QPushButton*>(button)->click(); }
  // Connects and holds the panel, so that no socket poll runs.
  bool Connect() {
    Click("Button_Connect");
    return Call("UpdateState", Q_ARG(short, 3), Q_ARG(short, 0)) == 0;
  }
  std::string Light() const {
    return control->findChild<QWidget*>("Pict_TraficLight")->property("picture").toString()
        .toStdString();
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
    if (rig.Call("UpdateROMData") != 0) {
      state.SkipWithError("the download failed");
      break;  // a failed benchmark must not go on timing
    }
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
  double cpu = 0, wall = 0;
  for (auto _ : state) {
    state.PauseTiming();
    rig.programmer.SetSilent(false);
    while (rig.programmer.Device().Attached()) QCoreApplication::processEvents();
    if (!rig.Connect()) {
      state.SkipWithError("no connection");
      break;
    }
    rig.programmer.SetSilent(true);
    state.ResumeTiming();
    QByteArray answer;
    const double start = ThreadSeconds();
    const auto begin = std::chrono::steady_clock::now();
    if (rig.Call("read_PELTO_data", Q_ARG(short, 0x0B), Q_ARG(short, 1),
                 Q_ARG(QByteArray&, answer)) != -1) {
      state.SkipWithError("the read did not time out");
      break;
    }
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    cpu += ThreadSeconds() - start;
  }
  state.counters["cpu_percent"] = wall > 0 ? 100.0 * cpu / wall : 0;
}
BENCHMARK(BM_IdleReadTimeout)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// One socket poll of the idle panel: the one-byte chip read and the restart
// of the poll timer (target: under 1 ms of the host's time).
void BM_IdleSocketPoll(benchmark::State& state) {
  PeltoRig rig;
  rig.Click("Button_Connect");
  for (auto _ : state) {
    rig.Call("UpdateState", Q_ARG(short, 3), Q_ARG(short, 5));
  }
  if (rig.Light().empty()) state.SkipWithError("not connected");
}
BENCHMARK(BM_IdleSocketPoll)->Unit(benchmark::kMicrosecond);

// Connect, download, program with its device CRC, to the green light, with
// every pace at 1 % (the time-outs keep their floor).
void BM_ConnectToGreenLight(benchmark::State& state) {
  PeltoRig rig(1);
  for (auto _ : state) {
    rig.Click("Button_Connect");
    rig.Click("Button_Download");
    rig.Click("Button_Program");
    if (rig.Light() != "LightGreen") {
      state.SkipWithError("no green light");
      break;
    }
    state.PauseTiming();
    rig.Click("Button_Connect");
    while (rig.programmer.Device().Attached()) QCoreApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ConnectToGreenLight)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
