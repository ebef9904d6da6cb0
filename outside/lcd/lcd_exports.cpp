// The four calls the LCD chip modules make, by name. One display per loaded
// library: the last InitInterface wins. The glass is removed from its host
// when the library is unloaded.
#include <cstdint>
#include <string>

#include <platform/module_path.h>

#include "lcd_display.h"

namespace {
LcdDisplay& Display() {
  static LcdDisplay display;
  return display;
}
}  // namespace

#define LCD_EXPORT extern "C" __attribute__((visibility("default")))

LCD_EXPORT int32_t InitInterface(void* host, const char* projectPath, const char* definitionFile) {
  Display().open(static_cast<QWidget*>(host), projectPath != nullptr ? projectPath : "",
                 definitionFile != nullptr ? definitionFile : "",
                 platform::ModuleFolder(reinterpret_cast<const void*>(&InitInterface)));
  return 0;
}

LCD_EXPORT int32_t SetSegment(int32_t index, int32_t nibble, int32_t) {
  Display().setSegment(index, nibble);
  return 0;
}

LCD_EXPORT int32_t SetLCDstatus(int32_t on) {
  Display().setStatus(on);
  return 0;
}

LCD_EXPORT int32_t SetLCDMUX(int32_t mux) {
  Display().setMux(mux);
  return 0;
}
