#pragma once
// The control on COM3, wired to a fresh simulated device programmer, its
// waits at a tenth of their durations; the target list holds small targets
// of each width so that whole frames fit a transcript line.
#include <QPushButton>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "pelto_fixture.h"
#include "simulated_programmer.h"
#include "wait_until.h"

namespace peltotest {

using Lines = std::vector<std::string>;

// Waits for a state the control or the programmer reaches, bounded for a
// heavily loaded machine.
inline bool WaitFor(const std::function<bool()>& condition) {
  return testsupport::WaitUntil(condition, 20000);
}

class PeltoLinkTest : public PeltoTest {
 protected:
  void SetUp() override {
    PeltoTest::SetUp();
    setenv("TAVIX_COM3", programmer.Endpoint().c_str(), 1);
    dir.write("Corvane.spec",
              "[CONTROLERS]\nLIST=Undefined,Tiny16,Tiny18,Tiny22,QV4234,\n[ROM_PARAMS]\n"
              "Undefined=0,0,0,0,\nTiny16=16,1,4,2,\nTiny18=18,1,2,3,\nTiny22=22,1,4,3,\n"
              "QV4234=16,2,1024,2,\n");
  }
  void TearDown() override {
    PeltoTest::TearDown();
    unsetenv("TAVIX_COM3");
  }

  // A control on COM3 for `target`, its waits at `percent` %.
  void MakeFor(const char* target, int percent = 10) {
    Make(percent);
    Set("CommPortNr", QVariant::fromValue<short>(3));
    Set("ActiveMicro", QString(target));
  }
  bool Connected() const { return Text("Button_Connect", "picture") == "Connected"; }
  // Connect as the user does, then hold the panel so that no socket poll
  // runs between the members a test calls.
  void ConnectAndHold() {
    Child<QPushButton>("Button_Connect")->click();
    ASSERT_TRUE(Connected()) << testing::PrintToString(programmer.TranscriptText());
    Call("UpdateState", short{3}, short{0});
    programmer.ClearTranscript();
  }
  // The frames since the last clear, once `count` of them have arrived.
  Lines Frames(size_t count) {
    WaitFor([&] { return programmer.FrameText().size() >= count; });
    return programmer.FrameText();
  }
  std::string Text(const char* name, const char* property = "text") const {
    return control->findChild<QWidget*>(name)->property(property).toString().toStdString();
  }

  testdevices::SimulatedProgrammer programmer;
};

}  // namespace peltotest
