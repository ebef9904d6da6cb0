// A full program download through the serial rig in the link's unbuffered
// pattern: before each 3-byte unit one DSR read, then one Output of the unit
// with the send option on, no pause. Target: 4096 units in under 40 ms.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/serial_port.h"
#include "simulated_ice.h"

namespace {

// The download's units: a write header per 255 units, then the units.
std::vector<std::array<uint8_t, 3>> DownloadUnits(int words) {
  std::vector<std::array<uint8_t, 3>> units;
  for (int address = 0; address < words; address += 255) {
    int count = std::min(255, words - address);
    units.push_back({static_cast<uint8_t>((address & 63) * 4 + 2),
                     static_cast<uint8_t>(address / 64), static_cast<uint8_t>(count)});
    for (int i = 0; i < count; ++i)
      units.push_back({static_cast<uint8_t>(address + i), 0x20, 0x01});
  }
  return units;
}

void BM_UnbufferedDownload(benchmark::State& state) {
  testdevices::SimulatedIce ice;
  setenv("TAVIX_COM9", ice.Endpoint().c_str(), 1);
  platform::SerialPort port;
  port.SetCommPort(9);
  port.SetSettings("baud=14400 parity=N data=8 stop=1");
  port.SetPortOpen(true);
  port.SetDTREnable(true);
  port.SetRTSEnable(true);
  while (!port.DSRHolding()) QCoreApplication::processEvents();
  port.SetOutputWaits(true);

  const std::vector<std::array<uint8_t, 3>> units = DownloadUnits(4096);
  const size_t bytes = units.size() * 3;
  for (auto _ : state) {
    for (const auto& unit : units) {
      if (!port.DSRHolding()) state.SkipWithError("DSR dropped");
      port.Output(unit.data(), unit.size());
    }
    state.PauseTiming();
    while (ice.ReceivedBytes().size() < bytes || port.OutBufferCount() > 0) {
      QCoreApplication::processEvents();
      std::this_thread::yield();
    }
    ice.ClearTranscript();
    state.ResumeTiming();
  }
  state.counters["units"] = static_cast<double>(units.size());
  state.counters["per_unit"] = benchmark::Counter(
      static_cast<double>(units.size()),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  port.SetPortOpen(false);
  unsetenv("TAVIX_COM9");
}
BENCHMARK(BM_UnbufferedDownload)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
