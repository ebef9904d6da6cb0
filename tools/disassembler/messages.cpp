#include "messages.h"

#include "platform/messagebox.h"

namespace k42xxdis {

void ShowMessage(const std::string& text, const std::string& caption) {
  platform::MessageBox(text, caption, platform::MB_OK);
}

}  // namespace k42xxdis
