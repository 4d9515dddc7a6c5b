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
