#include "qv4124_client.h"

#include <platform/dialog.h>
#include <platform/library.h>
#include <platform/window.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <cstdlib>
#include <filesystem>

namespace qv4124test {

namespace fs = std::filesystem;

void Qv4124::bind(const std::string& fake, bool reset) {
  fs::copy_file(QV4124_MODULE, folder.file("42240000.so"));
  folder.write("TAVIX.INI", "[Controllers]\nQV4124=" + folder.file("42240000.so") + "\n");
  if (!fake.empty()) fs::copy_file(std::string(FAKE_LCD_DIR) + "fake_lcd_" + fake + ".so", folder.file("42XX_Lcd.so"));
  setenv("FAKE_LCD_LOG", folder.file("lcd.log").c_str(), 1);
  ASSERT_EQ(Stdk::Get().SetController("QV4124", 0, folder.path().c_str()), 0);
  r[k42::kTraceLast] = 8191;
  if (reset) program({JMP(0)});
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

void* Qv4124::moduleExport(const char* name) const {
  platform::LibraryHandle h = platform::LoadLibrary(folder.file("42240000.so"));
  void* symbol = platform::GetProcAddress(h, name);
  platform::FreeLibrary(h);
  return symbol;
}

platform::WindowHandle Qv4124::dialog() const {
  return host ? host->findChild<QWidget*>("Curpos") : nullptr;
}

QWidget* Qv4124::control(int id) const {
  auto* d = static_cast<QWidget*>(dialog());
  return d != nullptr ? d->findChild<QWidget*>(QStringLiteral("ctl%1").arg(id)) : nullptr;
}

std::string Qv4124::text(int id) const {
  QWidget* w = control(id);
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text().toStdString();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text().toStdString();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text().toStdString();
  if (auto* t = qobject_cast<QPlainTextEdit*>(w)) return t->toPlainText().toStdString();
  return "?";
}

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

void Qv4124::program(const std::vector<uint16_t>& words) {
  r.load(words);
  r.load({LDR(0), STA(127), JMP(kReadRoutine + 2)}, kReadRoutine);
  r.reset();
}

void Qv4124::step(int n) {
  for (int i = 0; i < n; ++i) r.execute(k42::kRunModeStep);
}

int Qv4124::read(int n) {
  const int32_t level = r[k42::kStackLevel];
  const int32_t pc = r.pc();
  r.program[kReadRoutine].instr = LDR(n);
  r[k42::kPcStack + level] = kReadRoutine;
  step(2);
  r[k42::kPcStack + level] = pc;
  return r.reg(127);
}

}  // namespace qv4124test
