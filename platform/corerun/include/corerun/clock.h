// Base library: dates.
#pragma once

#include <cstdint>

struct date_s {
  std::uint16_t year;
  std::uint8_t month;  // counted from 0
  std::uint8_t day;
  std::uint8_t hour;
  std::uint8_t minute;
  std::uint8_t second;
};

extern const date_s null_date;

bool CLOCK_valid_date(const date_s* date);
// <0, 0 or >0 as a is before, equal to or after b.
int CLOCK_compare_dates(const date_s* a, const date_s* b);

// Seconds since 1970-01-01T00:00:00 UTC of the date read as UTC; 0 for a
// null pointer, the null date and a date that is not valid.
std::int64_t CLOCK_date_to_time(const date_s* date);
// The date as "DD-Mon-YYYY", with " hh:mm:ss" when with_time, in SM_alloc
// memory the caller frees with SM_free. 0, or 920029 (and *text null) for a
// missing or invalid date.
int CLOCK_get_date_string(const date_s* date, bool with_time, char** text);

// Now, in seconds since 1970-01-01T00:00:00 UTC.
std::int64_t CLOCK_gmt();
// Minutes the local time zone is ahead of UTC now (negative west of it).
int CLOCK_local_offset();

// The UTC date of seconds since 1970-01-01T00:00:00 UTC; null_date for a time
// whose year a date_s cannot hold.
date_s CLOCK_time_to_date(std::int64_t time);
// The date as text, in SM_alloc memory the caller frees with SM_free.
// Date format 4 is "DD-Mon-YYYY", any other "YYYY-MM-DD"; time format 8 adds
// " hh:mm:ss", 0 nothing, any other " hh:mm".
char* CLOCK_format_date_time(const date_s* date, int date_format, int time_format);

// A date the host wrote: "DD-Mon-YYYY" or "YYYY-MM-DD", optionally followed by
// " hh:mm" or " hh:mm:ss". 0, or 920029 for a text that is no valid date.
int CLOCK_string_to_date(const char* text, date_s* date);
// An XML Schema date or date-time, "YYYY-MM-DD" with an optional
// "Thh:mm:ss[.fff]" and zone ("Z", "+hh:mm", "-h:mm"). The date keeps the
// clock time as written; offset (minutes east of UTC) and has_time may be null.
// 0, or 920029 for a text that is no valid date or whose year a date_s cannot hold.
int CLOCK_xml_dateTime_to_date(const char* text, int* offset, bool* has_time, date_s* date);
// "YYYY-MM-DDThh:mm:ss" into text; 0, or 920029 when size is too small.
constexpr int CLOCK_XML_DATE_SIZE = 32;
int CLOCK_get_date_XML_string(const date_s* date, char* text, int size);
