#include "qv4131_client.h"

#include <platform/messages.h>

namespace qv4131test {

void Qv4131Window::SetUp() {
  Qv4131::SetUp();
  open("42310000.DLL", QV4131_PROGRAM_FOLDER);
  r.reset();
  flush();
}

void Qv4131Window::TearDown() {
  platform::RunPump::SetScript(nullptr);
  Qv4131::TearDown();
}

}  // namespace qv4131test
