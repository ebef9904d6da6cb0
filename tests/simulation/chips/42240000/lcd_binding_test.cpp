// The display library binding: found beside the module, its calls in the
// exact order against a fake that logs them, and the failure messages.
#include <platform/messagebox.h>

#include <filesystem>

#include "qv4124_client.h"

namespace qv4124test {
namespace {

using Lines = std::vector<std::string>;

class NoLibrary : public Qv4124 {
  void SetUp() override { bind(""); }
};

TEST_F(NoLibrary, ShowsE0001OnceAndRunsWithoutDisplay) {
  MessageLog log;
  EXPECT_EQ(openWindow(), 0);
  EXPECT_EQ(openWindow(), 0);
  EXPECT_EQ(log.texts(), Lines{"E0001 42240000.DLL\nUnable to find module\n42XX_LCD.DLL"});
  EXPECT_EQ(log.boxes()[0].title, "");
  // Writes of the LCD registers are skipped silently.
  program({LDI(3), STA(L.ram2.page.reg), LDI(5), STA(L.lcd.bank0.reg), LDI(6), STA(L.lcd.mode.reg),
           JMP(6)});
  step(7);
  EXPECT_EQ(r.reg(L.lcd.bank0.reg), 5);
  EXPECT_EQ(r.reg(L.lcd.mode.reg), 6);
  EXPECT_EQ(log.texts().size(), 1u);
}

TEST_F(Qv4124, InitInterfaceGetsTheProjectDefinitionAndTheChipsOwn) {
  std::filesystem::create_directories(folder.file("proj.v2"));
  folder.write("proj.v2/demo.cfg", "");
  openWindow("Tavix " + folder.file("PROJ.V2/DEMO.PRJ"));
  EXPECT_EQ(takeLog(), Lines{"InitInterface host|" + folder.file("proj.v2/demo.cfg") + "|4224LDEF.CFG"});
  EXPECT_EQ(host->windowTitle().toStdString(), "QV4124 Periphery");
}

TEST_F(Qv4124, WithoutAProjectTheProjectPathIsEmpty) {
  openWindow("Tavix");
  EXPECT_EQ(takeLog(), Lines{"InitInterface host||4224LDEF.CFG"});
}

TEST_F(Qv4124, LcdRegisterWritesMakeTheExactCalls) {
  openWindow();
  takeLog();
  program({LDI(3), STA(L.ram2.page.reg),  // address 3
           LDI(5), STA(L.lcd.bank0.reg),  // bank 0: segment 3
           LDI(9), STA(L.lcd.bank1.reg),  // bank 1: segment 19
           LDI(2), STA(L.lcd.control.reg),
           LDI(7), STA(L.lcd.bank0.reg),  // whole-nibble mode: 15
           LDI(0), STA(L.lcd.control.reg),
           LDI(6), STA(L.lcd.mode.reg),  // display off, multiplex 15
           LDI(6), STA(L.lcd.mode.reg),  // unchanged: nothing
           LDI(2), STA(L.lcd.mode.reg),  // on, multiplex 15
           LDI(0), STA(L.lcd.mode.reg),  // on, multiplex 7
           LDI(1), STA(L.lcd.control.reg),
           LDI(4), STA(L.lcd.bank1.reg),  // general-purpose outputs: nothing
           LDI(8), STA(L.lcd.mode.reg),   // changed, but 113 is not 0: nothing
           JMP(28)});
  Lines reset = takeLog();
  ASSERT_EQ(reset.size(), 32u);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(reset[i], "SetSegment " + std::to_string(i) + " 0 1");
  step(28);
  EXPECT_EQ(takeLog(), (Lines{"SetSegment 3 5 1", "SetSegment 19 9 1", "SetSegment 3 15 1", "SetLCDstatus 0",
                              "SetLCDMUX 15", "SetLCDstatus 1", "SetLCDMUX 15", "SetLCDstatus 1", "SetLCDMUX 7",
                              "SetLCDstatus 0"}));  // general-purpose outputs: the display goes off
  EXPECT_EQ(r.reg(L.lcd.bank1.reg), 4);
}

class MissingStatus : public Qv4124 {
  void SetUp() override { bind("no_status"); }
};

TEST_F(MissingStatus, ChangedModeWriteReportsE0003AndStillSetsTheMultiplex) {
  openWindow();
  MessageLog log;
  takeLog();
  write(L.lcd.mode.reg, 2);
  write(L.lcd.mode.reg, 2);
  EXPECT_EQ(log.texts(), Lines{"E0003 42240000.DLL\nUnable to load SetLCDstatus function\n from 42XX-LCD.DLL"});
  EXPECT_EQ(takeLog(), Lines{"SetLCDMUX 15"});
}

class MissingBoth : public Qv4124 {
  void SetUp() override { bind("no_status_mux"); }
};

TEST_F(MissingBoth, EveryChangedWriteReportsBoth) {
  openWindow();
  MessageLog log;
  write(L.lcd.mode.reg, 2);
  write(L.lcd.mode.reg, 0);
  const std::string e3 = "E0003 42240000.DLL\nUnable to load SetLCDstatus function\n from 42XX-LCD.DLL";
  const std::string e4 = "E0004 42240000.DLL\nUnable to load SetLCDMUX function\nfrom 42XX_LCD.DLL";
  EXPECT_EQ(log.texts(), (Lines{e3, e4, e3, e4}));
  EXPECT_EQ(log.boxes()[0].style & platform::MB_ICONMASK, platform::MB_ICONSTOP);
}

class MissingInit : public Qv4124 {
  void SetUp() override { bind("no_init"); }
};

TEST_F(MissingInit, ShowsE0002OnceAndKeepsTheOtherFunctions) {
  MessageLog log;
  EXPECT_EQ(openWindow(), 0);
  openWindow();
  EXPECT_EQ(log.texts(), Lines{"E0002 42240000.DLL\nUnable to load Initinterface function\nfrom 42XX_LCD.DLL"});
  takeLog();
  write(L.lcd.bank0.reg, 3);
  EXPECT_EQ(takeLog(), Lines{"SetSegment 0 3 1"});
}

}  // namespace
}  // namespace qv4124test
