#pragma once
// Settings in the registry as the programs keep them: values that are a text
// or a 32-bit number, read and written by key path through five calls. The
// monitor's registry module and the programmer control both use them.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "platform/registry.h"

namespace platform {

// A setting as the registry calls pass it: nothing (empty), a text or a
// 32-bit number.
class RegValue {
 public:
  RegValue() = default;
  RegValue(std::string text) : value_(std::move(text)) {}
  RegValue(const char* text) : value_(std::string(text)) {}
  RegValue(int32_t number) : value_(number) {}

  bool IsEmpty() const { return value_.index() == 0; }
  bool IsText() const { return value_.index() == 1; }
  bool IsNumber() const { return value_.index() == 2; }

  // Empty gives "", a number its decimal digits.
  std::string AsText() const;
  // Empty gives 0, a text its decimal number (0 when it is not one).
  int32_t AsNumber() const;

  bool operator==(const RegValue&) const = default;

 private:
  std::variant<std::monostate, std::string, int32_t> value_;
};

// A decimal number: blanks around it, an optional sign, digits and an
// optional fraction, which rounds to the nearest integer (a half to the even
// neighbour). Nothing for any other text or a number outside 32 bits.
std::optional<int32_t> ParseDecimal(const std::string& text);

// Stores `value` into the open key: type 1 as its text, type 4 as its 32-bit
// number (13 and nothing stored when it is not a number). Any other type
// stores nothing and gives 0. Otherwise the status of the store.
int32_t RegWriteValue(HKEY key, const std::string& name, int32_t type,
                      const RegValue& value);

// Reads a REG_SZ as text (its bytes as they are) or a REG_DWORD as number.
// A failed query gives its status with `value` untouched; another type gives
// -1 with `value` untouched.
int32_t RegReadValue(HKEY key, const std::string& name, RegValue& value);

// Creates the key and every missing key above it. Failures are not reported.
void RegCreateKeyPath(HKEY root, const std::string& path);

// Writes one value into an existing key; a missing key stores nothing.
void RegSetSetting(HKEY root, const std::string& path, const std::string& name,
                   const RegValue& value, int32_t type);

// One value of a key; empty when the key or value is missing or unreadable.
RegValue RegGetSetting(HKEY root, const std::string& path, const std::string& name);

}  // namespace platform
