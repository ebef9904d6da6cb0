#pragma once
// The outside LCD display library "42XX_LCD.DLL" as an LCD module binds it:
// loaded once, found beside the module, then beside the program, then in the
// current folder; its four functions looked up by name in its own handle only
// (its InitInterface has the same name as the module's export) and kept, since
// the handle never changes while it is loaded. Without the library the module
// runs on without a display.
#include <cstdint>
#include <string>

namespace simcore::lcd {

class LcdLibrary {
 public:
  using InitFn = int32_t (*)(void* host, const char* projectPath, const char* definitionFile);
  using SegmentFn = int32_t (*)(int32_t index, int32_t nibble, int32_t one);
  using ValueFn = int32_t (*)(int32_t value);

  static constexpr const char* kFileName = "42XX_LCD.DLL";

  LcdLibrary() = default;
  LcdLibrary(const LcdLibrary&) = delete;
  LcdLibrary& operator=(const LcdLibrary&) = delete;
  ~LcdLibrary() { unload(); }

  // InitInterface of the module `digits`: loads the library (once per
  // module load; E0001 when it is missing, E0002 when it lacks its
  // InitInterface, each shown once) and calls its InitInterface. `folders`
  // are searched in order.
  void open(const std::string& digits, void* host, const std::string& projectPath,
            const std::string& definitionFile, const std::string (&folders)[3]);
  // Frees the library (module unload).
  void unload();

  bool loaded() const { return handle_ != nullptr; }

  // The calls; a missing function is skipped. The segment index is the
  // chip's own (its LCD memory bounds it: 0-31, 0-39 or 0-7).
  void setSegment(int index, int nibble) const {
    if (segment_ != nullptr) segment_(index, nibble & 15, 1);
  }
  void setStatus(int on) const {
    if (status_ != nullptr) status_(on);
  }
  void setMux(int mux) const {
    if (mux_ != nullptr) mux_(mux);
  }
  // A changed write of the LCD mode register: SetLCDstatus then SetLCDMUX.
  // A loaded library lacking one of them reports E0003 / E0004 at every
  // such write and the other call is still made; without a library both are
  // skipped silently (E0001 told the user).
  void setMode(int on, int mux);

 private:
  void report(const char* code, const char* what, unsigned style) const;

  void* handle_ = nullptr;
  SegmentFn segment_ = nullptr;
  ValueFn status_ = nullptr;
  ValueFn mux_ = nullptr;
  std::string digits_;
  bool missingShown_ = false;   // E0001
  bool initShown_ = false;      // E0002
};

}  // namespace simcore::lcd
