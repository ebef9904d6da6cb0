#include "platform/registry_settings.h"

#include <cstring>
#include <vector>

namespace platform {

std::string RegValue::AsText() const {
  if (IsText()) return std::get<std::string>(value_);
  if (IsNumber()) return std::to_string(std::get<int32_t>(value_));
  return "";
}

int32_t RegValue::AsNumber() const {
  if (IsNumber()) return std::get<int32_t>(value_);
  if (IsText()) return ParseDecimal(std::get<std::string>(value_)).value_or(0);
  return 0;
}

std::optional<int32_t> ParseDecimal(const std::string& text) {
  size_t pos = text.find_first_not_of(" \t");
  size_t end = text.find_last_not_of(" \t") + 1;
  if (pos == std::string::npos) return std::nullopt;
  bool negative = false;
  if (text[pos] == '+' || text[pos] == '-') negative = text[pos++] == '-';
  int64_t whole = 0;
  size_t digits = 0;
  for (; pos < end && text[pos] >= '0' && text[pos] <= '9'; ++pos, ++digits)
    if (whole <= INT32_MAX) whole = whole * 10 + (text[pos] - '0');  // big stays big
  // The fraction only decides the rounding: above, below or exactly a half.
  int fraction = 0;  // -1 below a half, 0 none, 1 a half, 2 above
  if (pos < end && text[pos] == '.') {
    ++pos;
    size_t first = pos;
    for (; pos < end && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
      if (pos == first)
        fraction = text[pos] > '5' ? 2 : text[pos] == '5' ? 1 : -1;
      else if (fraction == 1 && text[pos] != '0')
        fraction = 2;
    }
    digits += pos - first;
  }
  if (digits == 0 || pos != end) return std::nullopt;
  if (fraction == 2 || (fraction == 1 && whole % 2 == 1)) ++whole;
  int64_t number = negative ? -whole : whole;
  if (number < INT32_MIN || number > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(number);
}

int32_t RegWriteValue(HKEY key, const std::string& name, int32_t type, const RegValue& value) {
  if (type == REG_SZ) {
    std::string text = value.AsText();
    return RegSetValueEx(key, name, REG_SZ, text.data(), static_cast<uint32_t>(text.size()));
  }
  if (type != REG_DWORD) return 0;
  std::optional<int32_t> number =
      value.IsText() ? ParseDecimal(value.AsText()) : std::optional<int32_t>(value.AsNumber());
  if (!number) return ERROR_INVALID_DATA;
  uint32_t bits = static_cast<uint32_t>(*number);
  unsigned char bytes[4] = {static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
                            static_cast<unsigned char>(bits >> 16),
                            static_cast<unsigned char>(bits >> 24)};
  return RegSetValueEx(key, name, REG_DWORD, bytes, 4);
}

int32_t RegReadValue(HKEY key, const std::string& name, RegValue& value) {
  uint32_t type = 0, size = 0;
  int32_t status = RegQueryValueEx(key, name, &type, nullptr, &size);
  if (status != ERROR_SUCCESS) return status;
  if (type == REG_SZ) {
    std::string text(size, '\0');
    status = RegQueryValueEx(key, name, nullptr, text.data(), &size);
    if (status == ERROR_SUCCESS) {
      text.resize(size);
      value = RegValue(std::move(text));
    } else {
      value = RegValue();
    }
    return status;
  }
  if (type == REG_DWORD) {
    unsigned char bytes[4] = {0, 0, 0, 0};
    size = 4;
    status = RegQueryValueEx(key, name, nullptr, bytes, &size);
    if (status == ERROR_SUCCESS)
      value = RegValue(static_cast<int32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                                            static_cast<uint32_t>(bytes[3]) << 24));
    return status;
  }
  return -1;
}

void RegCreateKeyPath(HKEY root, const std::string& path) {
  HKEY key = 0;
  RegCreateKeyEx(root, path, KEY_CREATE_SUB_KEY, &key);
  RegCloseKey(key);
}

void RegSetSetting(HKEY root, const std::string& path, const std::string& name,
                   const RegValue& value, int32_t type) {
  // A failed open leaves handle 0, which the write then refuses: nothing is
  // stored and nothing is reported.
  HKEY key = 0;
  RegOpenKeyEx(root, path, KEY_SET_VALUE, &key);
  RegWriteValue(key, name, type, value);
  RegCloseKey(key);
}

RegValue RegGetSetting(HKEY root, const std::string& path, const std::string& name) {
  HKEY key = 0;
  RegOpenKeyEx(root, path, KEY_QUERY_VALUE, &key);
  RegValue value;
  RegReadValue(key, name, value);
  RegCloseKey(key);
  return value;
}

}  // namespace platform
