#include "lcd_chip_test.h"

#include <platform/dialog.h>
#include <platform/pictures.h>
#include <platform/window.h>

#include <QCoreApplication>

#include <cstdlib>
#include <filesystem>

namespace k42test {

namespace fs = std::filesystem;

void LcdChipTest::bindLcd(const std::string& controller, const std::string& moduleDigits,
                          const std::string& fake, bool reset) {
  digits = moduleDigits;
  const std::string module = folder.file(digits + ".so");
  fs::copy_file(std::string(TAVIX_DIST_DIR) + digits + ".so", module);
  folder.write("TAVIX.INI", "[Controllers]\n" + controller + "=" + module + "\n");
  if (!fake.empty()) fs::copy_file(std::string(FAKE_LCD_DIR) + "fake_lcd_" + fake + ".so", folder.file("42XX_Lcd.so"));
  setenv("FAKE_LCD_LOG", folder.file("lcd.log").c_str(), 1);
  bindChip(controller.c_str(), folder.path(), reset);
}

void LcdChipTest::TearDown() {
  RecordRedraws(nullptr);
  platform::RunPump::SetScript({});
  Stdk::Get().UnloadInterface(0);
  host.reset();
}

int32_t LcdChipTest::openWindow(const std::string& caption) {
  host = std::make_unique<QWidget>();
  host->setWindowTitle(QString::fromStdString(caption));
  const int32_t result = Stdk::Get().InitInterface(host.get());
  host->show();
  drain();
  return result;
}

void* LcdChipTest::moduleExport(const char* name) const {
  return LoadedExport(folder.file(digits + ".so"), "", name);
}

platform::WindowHandle LcdChipTest::dialog() const {
  return host ? host->findChild<QWidget*>("Curpos") : nullptr;
}

QWidget* LcdChipTest::control(int id) const { return Control(static_cast<QWidget*>(dialog()), id); }

intptr_t LcdChipTest::send(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  auto proc = reinterpret_cast<CurposDlgFn>(moduleExport("CurposDlg"));
  return proc(dialog(), message, wParam, lParam);
}

void LcdChipTest::drain() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

void LcdChipTest::runFor(int64_t passes) {
  platform::RunPump::SetScriptAtRound(static_cast<uint64_t>(passes - 1),
                                      [] { Stdk::Get().Instruction_Break(k42::kStopStep); });
  r.execute(k42::kRunModeRun);
  platform::RunPump::SetScript({});
}

void LcdChipTest::fillRegisters() {
  for (RegisterCell& cell : r.registers) cell = RegisterCell{0x5F, 0x1B};
}

void LcdChipTest::expectFilledRegisters(const std::function<int(int)>& expected) const {
  for (int n = 0; n < k42::kRegisterCells; ++n) {
    EXPECT_EQ(r.reg(n), expected(n)) << "register " << n;
    EXPECT_EQ(r.registers[n].value & 0xF0, 0x50) << "register " << n;
    EXPECT_EQ(r.registers[n].flags, 0x1B) << "register " << n;
  }
}

std::vector<std::string> LcdChipTest::modeErrors() const {
  return {"E0003 " + digits + ".DLL\nUnable to load SetLCDstatus function\n from 42XX-LCD.DLL",
          "E0004 " + digits + ".DLL\nUnable to load SetLCDMUX function\nfrom 42XX_LCD.DLL"};
}

bool LcdChipTest::lit(int id) const {
  return ControlPicture(static_cast<QWidget*>(dialog()), id) == platform::Picture::IndicatorOn;
}

void LcdChipTest::recordRedraws() {
  redraws.clear();
  RecordRedraws(&redraws);
}

Redraws LcdChipTest::takeRedraws() { return std::exchange(redraws, {}); }

std::vector<std::string> LcdChipTest::takeLog() {
  std::vector<std::string> lines;
  const std::string text = testsupport::ReadFile(folder.file("lcd.log"));
  std::string::size_type start = 0;
  for (std::string::size_type end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  folder.write("lcd.log", "");
  return lines;
}

}  // namespace k42test
