#pragma once
// The loader's numbered error boxes, captioned "Quillset".
#include <string>

#include "setup/setup_text.h"

namespace vanstall {

using setup::FormatText;
using setup::SplitCommandLine;

// A box with the error icon and the caption "Quillset".
void BootError(const std::string& text);

}  // namespace vanstall
