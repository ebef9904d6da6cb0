#include "boot_messages.h"

#include "platform/messagebox.h"

namespace vanstall {

void BootError(const std::string& text) {
  platform::MessageBox(text, "Quillset", platform::MB_OK | platform::MB_ICONERROR);
}

}  // namespace vanstall
