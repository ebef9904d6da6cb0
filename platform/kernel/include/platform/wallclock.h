#pragma once
// The one wall clock for dates and times written into files. It honours
// SOURCE_DATE_EPOCH so that outputs are reproducible, and converts through the
// local time zone (TZ). Month and weekday names are our own English table, so
// the locale never changes a file.
#include <time.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace platform {

// Seconds since 1970-01-01 UTC: SOURCE_DATE_EPOCH when it holds a number,
// otherwise the system clock.
inline int64_t WallClockSeconds() {
  if (const char* fixed = std::getenv("SOURCE_DATE_EPOCH"); fixed && *fixed) {
    char* end = nullptr;
    long long value = std::strtoll(fixed, &end, 10);
    if (end && *end == '\0' && value >= 0) return value;
  }
  return static_cast<int64_t>(::time(nullptr));
}

struct LocalDateTime {
  int year = 1970, month = 1, day = 1;  // month 1-12, day 1-31
  int hour = 0, minute = 0, second = 0;
  int weekday = 4;                      // 0 = Sunday
};

inline LocalDateTime ToLocalDateTime(int64_t seconds) {
  ::tzset();
  time_t t = static_cast<time_t>(seconds);
  struct tm parts {};
  LocalDateTime out;
  if (!::localtime_r(&t, &parts)) return out;
  out.year = parts.tm_year + 1900;
  out.month = parts.tm_mon + 1;
  out.day = parts.tm_mday;
  out.hour = parts.tm_hour;
  out.minute = parts.tm_min;
  out.second = parts.tm_sec;
  out.weekday = parts.tm_wday;
  return out;
}

inline LocalDateTime LocalNow() { return ToLocalDateTime(WallClockSeconds()); }

// The 24-character form "Www Mmm dd hh:mm:ss yyyy" (day right-aligned).
inline std::string AscTimeText(const LocalDateTime& t) {
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  char text[64];
  std::snprintf(text, sizeof text, "%s %s %2d %02d:%02d:%02d %d", kDays[(t.weekday % 7 + 7) % 7],
                kMonths[((t.month - 1) % 12 + 12) % 12], t.day, t.hour, t.minute, t.second, t.year);
  return text;
}

}  // namespace platform
