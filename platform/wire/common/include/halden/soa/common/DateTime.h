// Framework date and time: months counted from 1.
#pragma once

#include <cstdint>
#include <string>

namespace Halden::Soa::Common {

class DateTime {
 public:
  DateTime() = default;  // the null date
  DateTime(int year, int month, int day, int hour, int minute, int second);
  // From XML Schema text, "YYYY-MM-DD[Thh:mm:ss]" and any zone, keeping the
  // clock time as written; the null date for text it cannot read.
  explicit DateTime(const std::string& text);
  // The UTC clock time of seconds since 1970-01-01T00:00:00 UTC.
  explicit DateTime(std::int64_t time);

  static const DateTime& getNullDate();
  bool isNullDate() const;

  int year() const { return year_; }
  int month() const { return month_; }
  int day() const { return day_; }
  int hour() const { return hour_; }
  int minute() const { return minute_; }
  int second() const { return second_; }

  // "YYYY-MM-DDThh:mm:ss"
  std::string toString() const;
  // Seconds since 1970-01-01T00:00:00 UTC, the fields read as UTC.
  std::int64_t toTime() const;

  friend bool operator==(const DateTime& a, const DateTime& b) {
    return a.year_ == b.year_ && a.month_ == b.month_ && a.day_ == b.day_ && a.hour_ == b.hour_ &&
           a.minute_ == b.minute_ && a.second_ == b.second_;
  }

 private:
  int year_ = 1, month_ = 1, day_ = 1, hour_ = 0, minute_ = 0, second_ = 0;
};

}  // namespace Halden::Soa::Common
