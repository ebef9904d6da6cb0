#include "qv4124_client.h"

#include <platform/dialog.h>
#include <platform/window.h>

#include <QCoreApplication>

#include <cstdlib>
#include <filesystem>

namespace qv4124test {

namespace fs = std::filesystem;

void Qv4124::bind(const std::string& fake, bool reset) {
  fs::copy_file(QV4124_MODULE, folder.file("42240000.so"));
  folder.write("TAVIX.INI", "[Controllers]\nQV4124=" + folder.file("42240000.so") + "\n");
  if (!fake.empty()) fs::copy_file(std::string(FAKE_LCD_DIR) + "fake_lcd_" + fake + ".so", folder.file("42XX_Lcd.so"));
  setenv("FAKE_LCD_LOG", folder.file("lcd.log").c_str(), 1);
  bindChip("QV4124", folder.path(), reset);
}

void Qv4124::TearDown() {
  platform::RunPump::SetScript({});
  Stdk::Get().UnloadInterface(0);
  host.reset();
}

int32_t Qv4124::openWindow(const std::string& caption) {
  host = std::make_unique<QWidget>();
  host->setWindowTitle(QString::fromStdString(caption));
  const int32_t result = Stdk::Get().InitInterface(host.get());
  host->show();
  drain();
  return result;
}

void* Qv4124::moduleExport(const char* name) const { return LoadedExport(folder.file("42240000.so"), "", name); }

platform::WindowHandle Qv4124::dialog() const {
  return host ? host->findChild<QWidget*>("Curpos") : nullptr;
}

QWidget* Qv4124::control(int id) const { return Control(static_cast<QWidget*>(dialog()), id); }

intptr_t Qv4124::send(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  auto proc = reinterpret_cast<CurposDlgFn>(moduleExport("CurposDlg"));
  return proc(dialog(), message, wParam, lParam);
}

void Qv4124::drain() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

std::vector<std::string> Qv4124::takeLog() {
  std::vector<std::string> lines;
  const std::string text = testsupport::ReadFile(folder.file("lcd.log"));
  std::string::size_type start = 0;
  for (std::string::size_type end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  folder.write("lcd.log", "");
  return lines;
}

}  // namespace qv4124test
