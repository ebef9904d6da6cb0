#include "qv4234_client.h"

#include <k42target.h>
#include <platform/dialog.h>
#include <platform/library.h>
#include <platform/messages.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>

namespace qv4234test {

void* ModuleExport(const char* name) {
  // STDK42XX has loaded the module; this only finds its handle.
  platform::LibraryHandle h = platform::LoadLibrary("42340000.DLL", QV4234_PROGRAM_FOLDER);
  void* symbol = platform::GetProcAddress(h, name);
  platform::FreeLibrary(h);
  return symbol;
}

void Qv4234::open(const char* options) {
  ASSERT_EQ(Stdk::Get().SetController("QV4234", 0, QV4234_PROGRAM_FOLDER), 0);
  ASSERT_EQ(Stdk::Get().InitInterface(&host), 0);
  dialog = host.findChild<QWidget*>("Curpos");
  ASSERT_NE(dialog, nullptr);
  host.show();
  ASSERT_EQ(Stdk::Get().SetControllerOptions(options), 0);
  r[k42::kTraceLast] = 8191;
  program({JMP(0)});
  flush();
}

void Qv4234::TearDown() {
  platform::RunPump::SetScript({});
  Stdk::Get().UnloadInterface(0);
}

void Qv4234::program(const std::vector<uint16_t>& words) {
  r.load(words);
  r.load({LDR(0), STA(127), JMP(kReadRoutine + 2)}, kReadRoutine);
  r.reset();
}

void Qv4234::step(int n) {
  for (int i = 0; i < n; ++i) r.execute(k42::kRunModeStep);
}

int32_t Qv4234::runRounds(uint64_t rounds) {
  platform::RunPump::SetScriptAtRound(rounds - 1, [] { Stdk::Get().Instruction_Break(k42::kStopStep); });
  const int32_t result = r.execute(k42::kRunModeRun);
  platform::RunPump::SetScript({});
  return result;
}

int Qv4234::read(int n) {
  const int32_t level = r[k42::kStackLevel];
  const int32_t pc = r.pc();
  r.program[kReadRoutine].instr = LDR(n);
  r[k42::kPcStack + level] = kReadRoutine;
  step(2);
  r[k42::kPcStack + level] = pc;
  return r.reg(127);
}

void Qv4234::scroll(int bar, uint16_t code, int thumb) {
  auto curpos = reinterpret_cast<CurposDlgFn>(ModuleExport("CurposDlg"));
  ASSERT_NE(curpos, nullptr);
  QWidget* barWidget = dialog->findChild<QWidget*>(QStringLiteral("ctl%1").arg(bar));
  ASSERT_NE(barWidget, nullptr);
  curpos(dialog, platform::WM_VSCROLL, platform::MAKEWPARAM(code, static_cast<uint16_t>(thumb)),
         reinterpret_cast<intptr_t>(static_cast<void*>(barWidget)));
}

void Qv4234::setVoltage(int bar, int hundredths, int top) {
  scroll(bar, platform::SB_THUMBTRACK, top - hundredths);
}

void Qv4234::click(int id) {
  auto* b = dialog->findChild<QAbstractButton*>(QStringLiteral("ctl%1").arg(id));
  ASSERT_NE(b, nullptr);
  b->click();
}

std::string Qv4234::text(int id) {
  flush();
  QWidget* w = dialog->findChild<QWidget*>(QStringLiteral("ctl%1").arg(id));
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text().toStdString();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text().toStdString();
  return "?";
}

void Qv4234::flush() {
  for (int i = 0; i < 3; ++i) {
    while (platform::DispatchOneMessage()) {
    }
    QApplication::processEvents();
  }
}

}  // namespace qv4234test
