#include "qv4234_client.h"

#include <platform/dialog.h>
#include <platform/messages.h>

namespace qv4234test {

void Qv4234::open(const char* options) {
  bindChip("QV4234", QV4234_PROGRAM_FOLDER, false);
  if (HasFatalFailure()) return;
  ChipWindow::open("42340000.DLL", QV4234_PROGRAM_FOLDER);
  if (HasFatalFailure()) return;
  ASSERT_EQ(Stdk::Get().SetControllerOptions(options), 0);
  program({JMP(0)});
  flush();
}

void Qv4234::TearDown() {
  platform::RunPump::SetScript({});
  Stdk::Get().UnloadInterface(0);
}

void Qv4234::setVoltage(int bar, int hundredths, int top) {
  scroll(bar, platform::SB_THUMBTRACK, top - hundredths);
}

std::string Qv4234::text(int id) {
  flush();
  return ChipWindow::text(id);
}

}  // namespace qv4234test
