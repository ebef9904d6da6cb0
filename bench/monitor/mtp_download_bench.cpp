// The programmer link's own cost against the simulated programmer on the
// serial rig, where the pty does not pace bytes: a 4,096-word image
// downloaded as the panel sends it (one send per byte, each behind the DSR
// check; target under 50 us per byte), and the CPU the monitor spends while a
// read waits out its 5 s time-out (target under 5 % of a core). On a wire
// the rate dominates: 8,197 bytes take about 8.5 s at 9600 baud.
#include <benchmark/benchmark.h>
#include <time.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/monitor_state.h"
#include "mtp/mtp_binding.h"
#include "platform/messagebox.h"
#include "platform/tempfiles.h"
#include "simulated_programmer.h"

namespace {

constexpr int kWords = 4096;
constexpr int kImageBytes = 2 * kWords;

// A monitor whose programmer link is up on COM3, mapped to a fresh simulated
// programmer, with its settings in a temporary folder and a 4,096-word image.
struct ProgrammerRig {
  testdevices::SimulatedProgrammer programmer;
  std::string folder = platform::MakeTempFolder("tavix-bench-");
  monitor::MonitorState state;
  monitor::Programming programming{state};
  std::string image = folder + "/image.bin";

  ProgrammerRig() {
    setenv("TAVIX_REGISTRY_DIR", folder.c_str(), 1);
    setenv("TAVIX_COM3", programmer.Endpoint().c_str(), 1);
    platform::SetMessageBoxHook([](const std::string&, const std::string&, unsigned style) {
      return platform::DefaultAnswer(style);
    });
    std::ofstream(image, std::ios::binary) << std::string(kImageBytes, '\x5A');
    monitor::BindProgramming(state, programming);
    monitor::StoreMtpCommSettings(0, "19200", 2);
    state.Forms.Load("MTPCOMM_FORM");
  }
  ~ProgrammerRig() {
    platform::SetMessageBoxHook(nullptr);
    unsetenv("TAVIX_COM3");
    std::filesystem::remove_all(folder);
  }
};

void BM_Download4096WordImage(benchmark::State& state) {
  ProgrammerRig rig;
  monitor::MtpProg& prog = rig.programming.Prog;
  const monitor::RomParams params = monitor::ReadRomParams("16", "4", "1024", "16", false, false);
  double seconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    rig.programmer.ClearTranscript();
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    prog.DownloadRomCode(rig.image, monitor::PaddingBytes(params), monitor::ImageCount(params));
    // Done when the programmer holds every byte.
    while (rig.programmer.ReceivedBytes().size() < kImageBytes + 5)
      QCoreApplication::processEvents();
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (prog.ProgrammerError != 0) state.SkipWithError("the download failed");
  }
  state.counters["us_per_byte"] =
      seconds * 1e6 / (static_cast<double>(kImageBytes) * static_cast<double>(state.iterations()));
}
BENCHMARK(BM_Download4096WordImage)->Unit(benchmark::kMillisecond)->UseRealTime();

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_ReadTimeOutCpu(benchmark::State& state) {
  ProgrammerRig rig;
  rig.programmer.SetSilent(true);
  double cpu = 0, wall = 0;
  for (auto _ : state) {
    const double cpuStart = ProcessCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    if (rig.programming.Prog.ProgrammerRead(0x10, 1))
      state.SkipWithError("a silent programmer answered");
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cpu += ProcessCpuSeconds() - cpuStart;
  }
  state.counters["cpu_percent_of_core"] = 100 * cpu / wall;
}
BENCHMARK(BM_ReadTimeOutCpu)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
