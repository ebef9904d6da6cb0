// The run pump's cost per round when nothing is due: the figure that every
// simulated instruction pays.
#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include "platform/messages.h"

namespace {

void BM_PumpNothingDue(benchmark::State& state) {
  platform::RunPump pump;
  pump.BeginRun();
  for (auto _ : state) {
    pump.Pump();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PumpNothingDue);

// The same inside a 4096-round batch, as a run loop calls it: the loop
// overhead of the benchmark is paid once per batch.
void BM_PumpInRunLoop(benchmark::State& state) {
  platform::RunPump pump;
  pump.BeginRun();
  for (auto _ : state) {
    for (int i = 0; i < 4096; ++i) {
      pump.Pump();
      benchmark::ClobberMemory();
    }
  }
  state.SetItemsProcessed(state.iterations() * 4096);
}
BENCHMARK(BM_PumpInRunLoop);

void BM_PostAndDispatch(benchmark::State& state) {
  int window = 0;
  platform::RegisterWindow(&window, [](platform::WindowHandle, uint32_t, uintptr_t, intptr_t) {
    return intptr_t{0};
  });
  platform::RunPump pump;
  pump.BeginRun();
  for (auto _ : state) {
    platform::PostCoalescedMessage(&window, platform::WM_USER, 1, 1);
    pump.Pump();
  }
  platform::UnregisterWindow(&window);
}
BENCHMARK(BM_PostAndDispatch);

}  // namespace

int main(int argc, char** argv) {
  // With an application, the pump's native-event path is the real one.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
