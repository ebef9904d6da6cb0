#pragma once
// A monitor with its emulator link on COM2, mapped to a fresh simulated
// emulator, the link's times shortened, its settings in a fresh registry,
// and every box and beep recorded.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "emulator/emulator_link.h"
#include "monitor_fixture.h"
#include "simulated_ice.h"
#include "temp_dir.h"

namespace monitortest {

class EmulatorTest : public MonitorTest {
 protected:
  EmulatorTest();
  ~EmulatorTest() override;

  monitor::EmulatorLink& Link() { return *link; }
  // The settings the link reads, stored as OK stores them.
  void StoreSettings(int com, int baud, int buffered = 0);
  // The link up and idle (its settings window loaded), the transcript cleared.
  void OpenLink();
  // Connected (session 2) with the transcript and the records cleared.
  void Connect();
  // Runs events until the session reaches `target`.
  bool WaitForSession(int16_t target, int ms = 2000);

  monitor::EmulatorLink* link = nullptr;  // the bound emulator's
  testdevices::SimulatedIce ice;
  int beeps = 0;
  std::vector<int> answers;     // box answers in order; then the default
  std::function<void()> onBox;  // runs before a box answers
};

}  // namespace monitortest
