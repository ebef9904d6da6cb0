#include "core/checked_file.h"

#include "platform/file_errors.h"
#include "platform/filenames.h"
#include "platform/messagebox.h"

namespace monitor {

int ReportFileError(int errorNumber) {
  const char* text = nullptr;
  unsigned buttons = platform::MB_OK;
  switch (errorNumber) {
    case 52:
    case 64:
      text = "That file name is illegal.";
      break;
    case 54:
      text = "Can't open your file for that type of access.";
      break;
    case 55:
      text = "That file is already open.";
      break;
    case 57:
      text = "The disk is full.";
      break;
    case 62:
      text =
          "This file has a nonstandard end-of-file marker,"
          "or an attempt was made to read beyond "
          "the end-of-file marker.";
      break;
    case 68:
      text = "That device appears to be unavailable.";
      buttons = platform::MB_RETRYCANCEL;
      break;
    case 71:
      text = "The disk is not ready.";
      break;
    case 76:
      text = "That path doesn't exist.";
      break;
    default:
      return 3;
  }
  switch (platform::MessageBox(text, "File Error", buttons | platform::MB_ICONEXCLAMATION)) {
    case platform::IDRETRY:
      return 0;
    case platform::IDIGNORE:
      return 1;
    default:
      return 2;
  }
}

std::unique_ptr<platform::AtomicFile> OpenFileChecked(const std::string& name, int mode,
                                                      int /*recordLength*/, int ask,
                                                      int* unreported) {
  if (unreported != nullptr) *unreported = 0;
  if (mode != 1) return nullptr;
  if (platform::FileName(name).find_first_of(";<=>?[* ]") != std::string::npos) {
    ReportFileError(platform::kBadFileName);
    return nullptr;
  }
  const std::string path = platform::FindOrKeepPath(name);
  if (ask != 0) {
    const bool exists = !platform::ResolvePathNoCase(name).empty();
    const int answer =
        exists ? platform::MessageBox("Replace contents of " + name + "?", "Replace File?",
                                      platform::MB_OKCANCEL | platform::MB_ICONEXCLAMATION)
               : platform::MessageBox(
                     "The file " + name + " does not exist. Do you want to create it?",
                     "Create File?", platform::MB_OKCANCEL);
    if (answer == platform::IDCANCEL) return nullptr;
  }
  auto file = std::make_unique<platform::AtomicFile>();
  for (;;) {
    if (file->Open(path)) return file;
    const int answer = ReportFileError(platform::FileErrorNumberOf(file->Error(), path));
    if (answer == 0) continue;
    if (answer == 3 && unreported != nullptr) *unreported = file->Error();
    return nullptr;
  }
}

}  // namespace monitor
