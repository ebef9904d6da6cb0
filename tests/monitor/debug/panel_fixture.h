#pragma once
// The monitor with its control panel registered, the real program folder,
// registry hives in a temporary folder, and the beeps counted. Programs come
// from the real assembler.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "debug/display.h"
#include "debug/iceview.h"
#include "monitor_fixture.h"
#include "program_fixture.h"

namespace paneltest {

class PanelTest : public monitortest::MonitorTest {
 protected:
  PanelTest();
  ~PanelTest() override;

  // Starts the monitor (MDI area 1280 x 1024 px) at the build's program folder.
  void StartMonitor();
  void SizeArea(QSize area) const;
  // Emulation > Virtual with the project's controller; the panel, or null.
  monitor::IceView* Virtual(const std::string& controller, const std::string& options = "");
  monitor::IceView* Panel() const;
  monitor::Display* Host() const;

  // The words into ProgramCell from 0, and one grid row per word (address and
  // code), as a loaded listing would give them.
  void LoadProgram(const std::vector<uint16_t>& words);
  // A key at the panel, as the focused program grid receives it.
  void Key(int qtKey, int modifiers = 0);
  int32_t Pc() const;

  int beeps = 0;
};

// A stand-in watch window, loaded: a form captioned "Watch" whose grid draws
// the monitor's watch list, holding `rows` (Label, Addr, Data, R, W, IO,
// Rel, Match) and the empty entry row.
platform::GridControl& LoadWatchStandIn(monitor::MonitorState& state,
                                        const std::vector<std::array<const char*, 8>>& rows);

// The settings of the panel's registry key.
int32_t CodeWindowNumber(const char* name);

}  // namespace paneltest
