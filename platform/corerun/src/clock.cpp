#include "corerun/clock.h"

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
