// Framework date and time: months counted from 1.
#pragma once

#include <cstdint>
#include <string>

namespace Halden::Soa::Common {

class DateTime {
 public:
  DateTime() = default;  // the null date
  DateTime(int year, int month, int day, int hour, int minute, int second);

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

  friend bool operator==(const DateTime& a, const DateTime& b) { return a.toString() == b.toString(); }

 private:
  int year_ = 1, month_ = 1, day_ = 1, hour_ = 0, minute_ = 0, second_ = 0;
};

}  // namespace Halden::Soa::Common
