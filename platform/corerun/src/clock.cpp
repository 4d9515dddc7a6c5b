#include "corerun/clock.h"

#include <cstdio>
#include <ctime>

#include "corerun/memory.h"

const date_s null_date = {0, 0, 0, 0, 0, 0};

namespace {
bool leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int days_in_month(int y, int m0) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m0 == 1 && leap(y) ? 29 : days[m0];
}
}  // namespace

bool CLOCK_valid_date(const date_s* d) {
  if (!d) return false;
  if (d->year == 0 && d->month == 0 && d->day == 0 && d->hour == 0 && d->minute == 0 && d->second == 0)
    return true;  // the null date is a valid value of its own
  return d->month < 12 && d->day >= 1 && d->day <= days_in_month(d->year, d->month) && d->hour < 24 && d->minute < 60 &&
         d->second < 60;
}

int CLOCK_compare_dates(const date_s* a, const date_s* b) {
  const int fa[] = {a->year, a->month, a->day, a->hour, a->minute, a->second};
  const int fb[] = {b->year, b->month, b->day, b->hour, b->minute, b->second};
  for (int i = 0; i < 6; ++i)
    if (fa[i] != fb[i]) return fa[i] < fb[i] ? -1 : 1;
  return 0;
}

namespace {
// The proleptic Gregorian day of a count of days from 1970-01-01.
void civil_from_days(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
}

std::int64_t floor_div(std::int64_t a, std::int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }
}  // namespace

std::int64_t CLOCK_date_to_time(const date_s* date) {
  if (!date || !CLOCK_valid_date(date) || CLOCK_compare_dates(date, &null_date) == 0) return 0;
  // Days from 1970-01-01 of the proleptic Gregorian calendar.
  std::int64_t y = date->year;
  const unsigned m = date->month + 1u, d = date->day;
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const std::int64_t days = era * 146097 + static_cast<std::int64_t>(doe) - 719468;
  return days * 86400 + std::int64_t{date->hour} * 3600 + std::int64_t{date->minute} * 60 + date->second;
}

int CLOCK_get_date_string(const date_s* date, bool with_time, char** text) {
  if (!text) return 920029;
  *text = nullptr;
  if (!date || !CLOCK_valid_date(date)) return 920029;
  *text = CLOCK_format_date_time(date, 4, with_time ? 8 : 0);
  return 0;
}

date_s CLOCK_time_to_date(std::int64_t time) {
  const std::int64_t days = floor_div(time, 86400);
  const std::int64_t seconds = time - days * 86400;
  std::int64_t year = 0;
  unsigned month = 0, day = 0;
  civil_from_days(days, year, month, day);
  if (year < 0 || year > 65535) return null_date;
  return date_s{static_cast<std::uint16_t>(year),
                static_cast<std::uint8_t>(month - 1),
                static_cast<std::uint8_t>(day),
                static_cast<std::uint8_t>(seconds / 3600),
                static_cast<std::uint8_t>(seconds / 60 % 60),
                static_cast<std::uint8_t>(seconds % 60)};
}

char* CLOCK_format_date_time(const date_s* date, int date_format, int time_format) {
  static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const date_s d = date ? *date : null_date;
  char text[64];
  int n = 0;
  if (date_format == 4)
    n = std::snprintf(text, sizeof text, "%02d-%s-%04d", d.day, d.month < 12 ? months[d.month] : "???", d.year);
  else
    n = std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month + 1, d.day);
  if (time_format == 8)
    std::snprintf(text + n, sizeof text - n, " %02d:%02d:%02d", d.hour, d.minute, d.second);
  else if (time_format != 0)
    std::snprintf(text + n, sizeof text - n, " %02d:%02d", d.hour, d.minute);
  return SM_string_copy(text);
}

namespace {
constexpr int kInvalidDate = 920029;

// Reads min_digits to max_digits decimal digits.
bool read_number(const char*& p, int min_digits, int max_digits, long& value) {
  int n = 0;
  value = 0;
  while (n < max_digits && *p >= '0' && *p <= '9') {
    value = value * 10 + (*p++ - '0');
    ++n;
  }
  return n >= min_digits;
}

bool expect(const char*& p, char c) {
  if (*p != c) return false;
  ++p;
  return true;
}

bool make_date(long year, long month, long day, long hour, long minute, long second, date_s* out) {
  if (year < 1 || year > 65535 || month < 1 || month > 12 || day < 1) return false;
  if (day > days_in_month(static_cast<int>(year), static_cast<int>(month - 1))) return false;
  if (hour > 23 || minute > 59 || second > 59) return false;
  *out =
      date_s{static_cast<std::uint16_t>(year), static_cast<std::uint8_t>(month - 1), static_cast<std::uint8_t>(day),
             static_cast<std::uint8_t>(hour),  static_cast<std::uint8_t>(minute),    static_cast<std::uint8_t>(second)};
  return true;
}

int month_of(const char* p) {
  static const char* const months[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                       "jul", "aug", "sep", "oct", "nov", "dec"};
  for (int m = 0; m < 12; ++m) {
    int i = 0;
    for (; i < 3; ++i)
      if ((p[i] | 0x20) != months[m][i]) break;
    if (i == 3) return m + 1;
  }
  return 0;
}
}  // namespace

int CLOCK_string_to_date(const char* text, date_s* date) {
  if (!text || !date) return kInvalidDate;
  const char* p = text;
  long year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (p[0] && p[1] && p[2] == '-') {
    if (!read_number(p, 2, 2, day) || !expect(p, '-')) return kInvalidDate;
    month = month_of(p);
    if (!month) return kInvalidDate;
    p += 3;
    if (!expect(p, '-') || !read_number(p, 4, 5, year)) return kInvalidDate;
  } else if (!read_number(p, 4, 5, year) || !expect(p, '-') || !read_number(p, 2, 2, month) || !expect(p, '-') ||
             !read_number(p, 2, 2, day)) {
    return kInvalidDate;
  }
  if (*p == ' ') {
    ++p;
    if (!read_number(p, 2, 2, hour) || !expect(p, ':') || !read_number(p, 2, 2, minute)) return kInvalidDate;
    if (*p == ':' && (!expect(p, ':') || !read_number(p, 2, 2, second))) return kInvalidDate;
  }
  if (*p) return kInvalidDate;
  return make_date(year, month, day, hour, minute, second, date) ? 0 : kInvalidDate;
}

int CLOCK_xml_dateTime_to_date(const char* text, int* offset, bool* has_time, date_s* date) {
  if (!text || !date) return kInvalidDate;
  const char* p = text;
  long year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, zone_hours = 0, zone_minutes = 0;
  if (!read_number(p, 4, 9, year) || !expect(p, '-') || !read_number(p, 2, 2, month) || !expect(p, '-') ||
      !read_number(p, 2, 2, day))
    return kInvalidDate;
  const bool timed = *p == 'T';
  if (timed) {
    ++p;
    if (!read_number(p, 2, 2, hour) || !expect(p, ':') || !read_number(p, 2, 2, minute) || !expect(p, ':') ||
        !read_number(p, 2, 2, second))
      return kInvalidDate;
    long fraction = 0;
    if (*p == '.' && (!expect(p, '.') || !read_number(p, 1, 9, fraction))) return kInvalidDate;
  }
  int zone = 0;
  if (*p == 'Z') {
    ++p;
  } else if (*p == '+' || *p == '-') {
    const int sign = *p++ == '-' ? -1 : 1;
    if (!read_number(p, 1, 2, zone_hours) || !expect(p, ':') || !read_number(p, 2, 2, zone_minutes) ||
        zone_hours > 14 || zone_minutes > 59)
      return kInvalidDate;
    zone = sign * static_cast<int>(zone_hours * 60 + zone_minutes);
  }
  if (*p) return kInvalidDate;
  if (!make_date(year, month, day, hour, minute, second, date)) return kInvalidDate;
  if (offset) *offset = zone;
  if (has_time) *has_time = timed;
  return 0;
}

int CLOCK_get_date_XML_string(const date_s* date, char* text, int size) {
  if (!date || !text || size < 20) return kInvalidDate;
  std::snprintf(text, static_cast<std::size_t>(size), "%04d-%02d-%02dT%02d:%02d:%02d", date->year, date->month + 1,
                date->day, date->hour, date->minute, date->second);
  return 0;
}

namespace {
bool clock_fixed = false;
std::int64_t fixed_gmt = 0;
int fixed_offset = 0;
}  // namespace

std::int64_t CLOCK_gmt() { return clock_fixed ? fixed_gmt : static_cast<std::int64_t>(std::time(nullptr)); }

int CLOCK_local_offset() {
  if (clock_fixed) return fixed_offset;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return static_cast<int>(local.tm_gmtoff / 60);
}

namespace corerun::testing {
void set_clock(std::int64_t gmt, int local_offset_minutes) {
  clock_fixed = true;
  fixed_gmt = gmt;
  fixed_offset = local_offset_minutes;
}
void clear_clock() { clock_fixed = false; }
}  // namespace corerun::testing
