// A stand-in for the outside LCD display library, for tests: every call is
// appended as one line to the file named by $FAKE_LCD_LOG. Variants leave out
// functions (FAKE_LCD_NO_INIT, FAKE_LCD_NO_STATUS, FAKE_LCD_NO_MUX).
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Log(const char* format, ...) {
  const char* path = std::getenv("FAKE_LCD_LOG");
  if (path == nullptr) return;
  FILE* f = std::fopen(path, "a");
  if (f == nullptr) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(f, format, args);
  va_end(args);
  std::fputc('\n', f);
  std::fclose(f);
}
}  // namespace

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

#ifndef FAKE_LCD_NO_INIT
FAKE_EXPORT int32_t InitInterface(void* host, const char* projectPath, const char* definition) {
  Log("InitInterface %s|%s|%s", host != nullptr ? "host" : "null", projectPath, definition);
  return 0;
}
#endif
FAKE_EXPORT int32_t SetSegment(int32_t index, int32_t nibble, int32_t one) {
  Log("SetSegment %d %d %d", index, nibble, one);
  return 0;
}
#ifndef FAKE_LCD_NO_STATUS
FAKE_EXPORT int32_t SetLCDstatus(int32_t on) {
  Log("SetLCDstatus %d", on);
  return 0;
}
#endif
#ifndef FAKE_LCD_NO_MUX
FAKE_EXPORT int32_t SetLCDMUX(int32_t mux) {
  Log("SetLCDMUX %d", mux);
  return 0;
}
#endif
