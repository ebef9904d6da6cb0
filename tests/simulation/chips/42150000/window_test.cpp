// The periphery window of QV4115 inside a host widget (offscreen): initial
// texts, pin buttons in and out of a run, the supply and ADC bars, the
// EEPROM list, the SWB's sent text and the timer box.
#include <platform/dialog.h>
#include <platform/messages.h>

#include <QScrollBar>

#include "qv4115_client.h"

namespace qv4115test {
namespace {

class Window : public Qv4115, protected ChipWindow {
 protected:
  void SetUp() override {
    Qv4115::SetUp();
    open("42150000.DLL", QV4115_MODULE_FOLDER);
    r.reset();
    flush();
  }
  void TearDown() override {
    platform::RunPump::SetScript(nullptr);
    Qv4115::TearDown();
  }
  int position(int barId) { return qobject_cast<QScrollBar*>(control(barId))->value(); }
};

TEST_F(Window, OpensWithItsInitialState) {
  EXPECT_EQ(host.windowTitle().toStdString(), "QV4115 Periphery");
  EXPECT_EQ(host.size(), dialog->size());
  EXPECT_EQ(text(1045), "5.00V");
  EXPECT_EQ(text(1051), "80");
  EXPECT_EQ(text(1052), "80");
  EXPECT_EQ(position(1053), 128);
  std::string list;
  for (int a = 0; a < 32; ++a) {
    char line[16];
    std::snprintf(line, sizeof line, "  %02X  00\n", a);
    list += line;
  }
  list.pop_back();
  EXPECT_EQ(text(1144), list);
  EXPECT_EQ(text(1035), "L");
  EXPECT_EQ(text(1124), "PA0");
  EXPECT_EQ(text(1125), "-1");     // the reset's count down
  EXPECT_EQ(text(1139), "1KHz Clk");
  EXPECT_EQ(text(1140), "Interactive");
  EXPECT_EQ(text(1109), "8Hz IRQ");
}

TEST_F(Window, SupplyAndAdcBars) {
  scroll(1044, platform::SB_THUMBTRACK, 500);
  EXPECT_EQ(text(1045), "0.00V");
  scroll(1044, platform::SB_THUMBTRACK, 495);
  scroll(1044, platform::SB_PAGEDOWN);
  EXPECT_EQ(position(1044), 500);
  scroll(1044, platform::SB_LINEUP);
  EXPECT_EQ(text(1045), "0.01V");
  scroll(1044, platform::SB_THUMBTRACK, 0);
  EXPECT_EQ(text(1045), "5.00V");

  scroll(1053, platform::SB_THUMBTRACK, 0);
  EXPECT_EQ(text(1051), "FF");
  scroll(1053, platform::SB_PAGEDOWN);
  EXPECT_EQ(text(1051), "EF");
  scroll(1054, platform::SB_ENDSCROLL);  // every code takes the bar's position
  EXPECT_EQ(text(1052), "7F");
  // Input 1 = 0xEF converted.
  write(L.adc.control.reg, 0xD);
  step(10);
  EXPECT_EQ(r.reg(L.adc.low.reg), 0xF);
  EXPECT_EQ(r.reg(L.adc.high.reg), 0xE);
  write(L.adc.control.reg, 0xE);  // channel 2
  step(10);
  EXPECT_EQ(r.reg(L.adc.low.reg), 0xF);
  EXPECT_EQ(r.reg(L.adc.high.reg), 0x7);
}

TEST_F(Window, LevelDetectorComparesTheSupply) {
  write(L.irq.timerEnables.reg, 4);
  write(L.detector.control.reg, 4 | 1);  // level 3.00 V, start
  step(24);                 // started at the 1024 Hz stage, evaluated at the next 2048 Hz one
  EXPECT_EQ(r.reg(L.detector.control.reg), 1);  // 5.00 V is above: bits 2-3 cleared
  EXPECT_EQ(r.reg(L.irq.timerRequests.reg), 4);
  scroll(1044, platform::SB_THUMBTRACK, 200);  // 3.00 V: at the level
  write(L.detector.control.reg, 4 | 1);
  step(16);
  EXPECT_EQ(r.reg(L.detector.control.reg), 8 | 1);
}

TEST_F(Window, EepromWriteRewritesTheList) {
  write(L.eeprom.address.reg, 3);
  write(L.eeprom.dataLow.reg, 5);
  write(L.eeprom.dataHigh.reg, 0xA);
  write(L.eeprom.control.reg, 3);
  flush();
  const std::string list = text(1144);
  EXPECT_NE(list.find("  13  A5\n"), std::string::npos);
  EXPECT_NE(list.find("  12  00\n"), std::string::npos);
}

TEST_F(Window, OutputPinsShowNcAndInputsAreSampledAtTheNextRun) {
  write(L.portB.direction.reg, 1);
  flush();
  EXPECT_EQ(text(1081), "NC");
  click(1081);
  flush();
  EXPECT_EQ(text(1081), "NC");
  r.execute(k42::kRunModeStep);  // the run ends: no register file until the next
  click(1082);
  flush();
  EXPECT_EQ(text(1082), "H");
  EXPECT_EQ(r.reg(L.portB.data.reg), 0);
  step(1);
  EXPECT_EQ(r.reg(L.portB.data.reg), 2);
}

TEST_F(Window, PinClickDuringARunSamplesAtOnce) {
  // 0: JPV1 3  1: JMP 0  3: JMP 3 -- leaves the loop once PA0 reads high.
  program({JPV1(3), JMP(0), NOP, JMP(3)});
  flush();
  platform::RunPump::SetScript([this](uint64_t round) {
    if (round == 20) click(1035);
    if (round == 40) Stdk::Get().Instruction_Break(16);
  });
  r.execute(k42::kRunModeRun);
  EXPECT_EQ(r.pc(), 3);
  EXPECT_EQ(r[k42::kCond1], 1);
}

TEST_F(Window, PortAEdgesRequestsAndConditions) {
  write(L.portA.enables.reg, 2);  // PA1 enabled
  write(L.portA.edges.reg, 2);    // falling edge
  click(1036);     // rising: nothing
  EXPECT_EQ(r.reg(L.portA.requests.reg), 0);
  EXPECT_EQ(r[k42::kCond2], 1);
  click(1036);     // falling
  EXPECT_EQ(r.reg(L.portA.requests.reg), 2);
  EXPECT_EQ(read(L.portA.requests.reg), 2);
  EXPECT_EQ(r.reg(L.portA.requests.reg), 0);
  click(1037);     // PA2 high, seen at the next run
  EXPECT_EQ(r[k42::kCond3], 0);
  step(1);
  EXPECT_EQ(r[k42::kCond3], 1);
  click(1037);
  step(1);
  EXPECT_EQ(r[k42::kCond3], 0);
}

TEST_F(Window, ManualSwbTransferShowsTheSentDigits) {
  program({LDI(3), STA(L.swb.clock.reg), LDI(0xA), STA(L.swb.data.reg), LDI(4),
           STA(L.swb.control.reg), JPV3(8), JMP(6), LDI(0xB), STA(L.swb.data.reg), JPV3(12),
           JMP(10), LDI(0xC), STA(L.swb.data.reg), JMP(14)});
  step(60);
  flush();
  EXPECT_EQ(text(1138), "ABC");
  EXPECT_EQ(text(1139), "16KHz Clk");
  EXPECT_EQ(r.reg(L.swb.control.reg), 0);
}

TEST_F(Window, TimerBoxTexts) {
  write(L.timer.control.reg, 8 | 6);
  write(L.timer.low.reg, 0xF);
  write(L.timer.middle.reg, 0xF);
  write(L.timer.high.reg, 4 | 3);  // 8-bit compare, latch 0x3FF
  flush();
  EXPECT_EQ(text(1124), "1Hz");
  EXPECT_EQ(text(1125), "+1");
  EXPECT_EQ(text(1126), "FF");
  EXPECT_EQ(text(1127), "8");
  write(L.irq.control.reg, 2);  // full compare: all ten bits shown
  write(L.prescaler.control.reg, 2);
  flush();
  EXPECT_EQ(text(1126), "3FF");
  EXPECT_EQ(text(1109), "32Hz IRQ");
}

}  // namespace
}  // namespace qv4115test
