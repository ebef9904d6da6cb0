#include "simcore/lcd/lcd_library.h"

#include <platform/library.h>
#include <platform/messagebox.h>

namespace simcore::lcd {

void LcdLibrary::report(const char* code, const char* what, unsigned style) const {
  platform::MessageBox(std::string(code) + " " + digits_ + ".DLL\n" + what, "", style);
}

void LcdLibrary::open(const std::string& digits, void* host, const std::string& projectPath,
                      const std::string& definitionFile, const std::string (&folders)[3]) {
  digits_ = digits;
  if (handle_ == nullptr) {
    for (const std::string& folder : folders) {
      if (folder.empty()) continue;
      handle_ = platform::LoadLibrary(kFileName, folder);
      if (handle_ != nullptr) break;
    }
    if (handle_ == nullptr) {
      if (!missingShown_)
        report("E0001", "Unable to find module\n42XX_LCD.DLL", platform::MB_OK);
      missingShown_ = true;
      return;
    }
    segment_ = reinterpret_cast<SegmentFn>(platform::GetProcAddress(handle_, "SetSegment"));
    status_ = reinterpret_cast<ValueFn>(platform::GetProcAddress(handle_, "SetLCDstatus"));
    mux_ = reinterpret_cast<ValueFn>(platform::GetProcAddress(handle_, "SetLCDMUX"));
  }
  auto init = reinterpret_cast<InitFn>(platform::GetProcAddress(handle_, "InitInterface"));
  if (init == nullptr) {
    if (!initShown_)
      report("E0002", "Unable to load Initinterface function\nfrom 42XX_LCD.DLL", platform::MB_ICONSTOP);
    initShown_ = true;
    return;
  }
  init(host, projectPath.c_str(), definitionFile.c_str());
}

void LcdLibrary::setMode(int on, int mux) {
  if (handle_ == nullptr) return;
  if (status_ != nullptr)
    status_(on);
  else
    report("E0003", "Unable to load SetLCDstatus function\n from 42XX-LCD.DLL", platform::MB_ICONSTOP);
  if (mux_ != nullptr)
    mux_(mux);
  else
    report("E0004", "Unable to load SetLCDMUX function\nfrom 42XX_LCD.DLL", platform::MB_ICONSTOP);
}

void LcdLibrary::unload() {
  if (handle_ != nullptr) platform::FreeLibrary(handle_);
  handle_ = nullptr;
  segment_ = nullptr;
  status_ = nullptr;
  mux_ = nullptr;
}

}  // namespace simcore::lcd
