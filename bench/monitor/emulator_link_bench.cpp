// The emulator link's own overhead against the simulated emulator on the
// serial rig: a download-sized block write (4096 units, unbuffered, no
// pause; target under 100 ms) and a trace-sized read (8192 units in 33
// chunks; target under 150 ms). On a wire the rate dominates: 12288 bytes
// take about 3.2 s at 38400 baud.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "core/monitor_state.h"
#include "emulator/comm_settings.h"
#include "emulator/emulator_binding.h"
#include "emulator/emulator_commands.h"
#include "emulator/emulator_link.h"
#include "emulator/transferwin.h"
#include "platform/tempfiles.h"
#include "simulated_ice.h"

namespace {

// A monitor whose link is up on COM3, mapped to a fresh simulated emulator,
// with its settings in a temporary registry folder.
struct LinkRig {
  testdevices::SimulatedIce ice;
  std::string registry = platform::MakeTempFolder("tavix-bench-");
  monitor::MonitorState state;

  monitor::EmulatorLink& Link() { return *link; }
  monitor::EmulatorLink* link = nullptr;

  LinkRig() {
    setenv("TAVIX_REGISTRY_DIR", registry.c_str(), 1);
    setenv("TAVIX_COM3", ice.Endpoint().c_str(), 1);
    link = &monitor::BindEmulatorLink(state);
    link->Timings().pacingMicros = 0;
    link->Timings().openDelayMs = 5;
    monitor::StoreCommSettings({2, 38400, 0});
    link->Comm();
    while (!link->Port().DSRHolding()) QCoreApplication::processEvents();
  }
  ~LinkRig() {
    unsetenv("TAVIX_COM3");
    std::filesystem::remove_all(registry);
  }
};

void BM_DownloadSizedSendCommand(benchmark::State& state) {
  LinkRig rig;
  const std::vector<uint8_t> data(4096 * 3, 0x21);
  for (auto _ : state) {
    rig.Link().SendCommand(0, data);
    if (rig.state.LinkState != 1) state.SkipWithError("the block write failed");
    state.PauseTiming();
    rig.ice.ClearTranscript();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DownloadSizedSendCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TraceSizedReceiveData(benchmark::State& state) {
  LinkRig rig;
  for (auto _ : state) {
    const std::vector<uint8_t> bytes =
        rig.Link().ReceiveData(0x2000, 8192).value_or(std::vector<uint8_t>{});
    if (bytes.size() != 8192 * 3) state.SkipWithError("the read came back short");
  }
}
BENCHMARK(BM_TraceSizedReceiveData)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
