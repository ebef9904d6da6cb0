// The number conversions on any text: overflow is the only error, and the
// four-digit form of a 16-bit value reads back as that value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/run_time_error.h"
#include "settings/convert_mod.h"
#include "settings/global_numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace monitor;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto guarded = [](const auto& body) {
    try {
      body();
    } catch (const platform::RunTimeError& error) {
      if (error.Number() != 6) std::abort();
    }
  };
  guarded([&] { HexStrToLong(text); });
  guarded([&] {
    std::string copy = text;
    HexStr6ToLong(copy);
  });
  guarded([&] { LongToBytes3(HexStrToLong(text)); });
  for (int16_t wide : {0, 1}) {
    const int32_t value = HexToNumber(text, wide);
    if (!wide && (value < -32768 || value > 32767)) std::abort();
  }
  for (bool wide : {false, true}) {
    const auto value = LeadingHexValue(text, wide);
    if (value && !wide && (*value < -32768 || *value > 32767)) std::abort();
  }
  const int16_t number = static_cast<int16_t>(size >= 2 ? data[0] | data[1] << 8 : size);
  const std::string hex = NumberToHex(number);
  if (hex.size() != 4 || HexToNumber(hex, 0) != number || LeadingHexValue(hex, false) != number)
    std::abort();
  return 0;
}
