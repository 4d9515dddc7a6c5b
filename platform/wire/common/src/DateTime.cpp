#include "halden/soa/common/DateTime.h"

#include <cstdio>

namespace Halden::Soa::Common {

DateTime::DateTime(int year, int month, int day, int hour, int minute, int second)
    : year_(year), month_(month), day_(day), hour_(hour), minute_(minute), second_(second) {}

DateTime::DateTime(const std::string& text) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  const int fields = std::sscanf(text.c_str(), "%d-%d-%dT%d:%d:%d", &year, &month, &day, &hour, &minute, &second);
  if (fields != 3 && fields != 6) return;
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59) return;
  *this = DateTime(year, month, day, hour, minute, second);
}

const DateTime& DateTime::getNullDate() {
  static const DateTime null_date;
  return null_date;
}

bool DateTime::isNullDate() const { return *this == getNullDate(); }

namespace {
// Days from 1970-01-01 to a day of the proleptic Gregorian calendar.
std::int64_t days_from_civil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}
}  // namespace

DateTime::DateTime(std::int64_t time) {
  std::int64_t days = time / 86400;
  std::int64_t seconds = time % 86400;
  if (seconds < 0) {
    seconds += 86400;
    --days;
  }
  // The civil day of a count of days from 1970-01-01.
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const auto doe = static_cast<unsigned>(days - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
  *this = DateTime(static_cast<int>(y), static_cast<int>(m), static_cast<int>(d), static_cast<int>(seconds / 3600),
                   static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
}

std::int64_t DateTime::toTime() const {
  return days_from_civil(year_, static_cast<unsigned>(month_), static_cast<unsigned>(day_)) * 86400 +
         std::int64_t{hour_} * 3600 + std::int64_t{minute_} * 60 + second_;
}

std::string DateTime::toString() const {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", year_, month_, day_, hour_, minute_, second_);
  return text;
}

}  // namespace Halden::Soa::Common
