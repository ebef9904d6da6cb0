// The LCD definition reader and the bitmap checks on any bytes: a file that
// reads writes back and reads again to the same definition.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <lcddef/bmp_check.h>
#include <lcddef/lcd_definition.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  lcddef::CheckBmp(bytes);
  lcddef::Definition first;
  if (lcddef::Read(bytes, first) != lcddef::ReadError::None) return 0;
  if (!first.allocation.countsFit() || first.allocation.storedEntries() > lcddef::kTableEntries) std::abort();
  std::string written;
  if (lcddef::Write(first, written) != lcddef::WriteError::None) std::abort();
  lcddef::Definition second;
  std::string again;
  if (lcddef::Read(written, second) != lcddef::ReadError::None ||
      lcddef::Write(second, again) != lcddef::WriteError::None || again != written)
    std::abort();
  return 0;
}
