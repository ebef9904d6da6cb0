#pragma once
// A monitor with the programming subsystem bound: a program folder holding
// the real STDK42XX and a TAVIX.INI with "MTP PARAMS", COM3 mapped to a
// fresh simulated programmer, the link's settings in a fresh registry, the
// waits shortened, and every box and beep recorded.
#include <QAbstractButton>
#include <string>

#include "monitor_fixture.h"
#include "mtp/mtp.h"
#include "mtp/mtp_binding.h"
#include "mtp/mtpcomm_form.h"
#include "simulated_programmer.h"
#include "wait_until.h"

namespace mtptest {

using Lines = std::vector<std::string>;

class MtpTest : public monitortest::MonitorTest {
 protected:
  MtpTest();
  ~MtpTest() override;

  // The three values as texts, written as they are (an empty one is left out).
  void StoreSettings(const std::string& com, const std::string& baud, const std::string& buffed);
  // The panel loaded and shown (the settings window loaded with it).
  monitor::Mtp& LoadPanel();
  monitor::MtpCommForm& Settings();
  // A left click on a button or box of the panel or the settings window.
  static void ClickOn(QAbstractButton* button);
  // Until the rig has seen the last host go (it refuses a second one).
  void WaitDetached() {
    EXPECT_TRUE(testsupport::WaitUntil([&] { return !programmer.Device().Attached(); }));
  }
  std::string Machine() const { return registry.read("HKEY_LOCAL_MACHINE.hive"); }
  // For a step whose outcome is a time-out: short send and read waits.
  void ExpectTimeouts() { comm.Timings.dsrWaitMs = comm.Timings.readMs = 100; }
  // The frames since the last call, once at least `count` of them arrived;
  // and until the last frame is `frame`, whether it is.
  Lines NewFrames(size_t count);
  bool FramesEndWith(const std::string& frame);

  testdevices::SimulatedProgrammer programmer;
  monitor::Programming programming{state};
  monitor::MtpComm& comm = programming.Comm;
  monitor::MtpProg& prog = programming.Prog;
  int beeps = 0;

 private:
  size_t framesSeen_ = 0;
};

}  // namespace mtptest
