// The base library's date of a framework date and back, shared by both
// builds.
#pragma once

#include <cstdint>

#include "corerun/clock.h"
#include "halden/soa/common/DateTime.h"

namespace kestrel {

// Through the time value, which is 64 bits wide so that dates after 2038
// survive in either build.
inline date_s date_from_time(const Halden::Soa::Common::DateTime& when) { return CLOCK_time_to_date(when.toTime()); }

// Field by field; the base library counts months from 0, the framework from 1.
inline date_s date_from_fields(const Halden::Soa::Common::DateTime& when) {
  return date_s{static_cast<std::uint16_t>(when.year()),  static_cast<std::uint8_t>(when.month() - 1),
                static_cast<std::uint8_t>(when.day()),    static_cast<std::uint8_t>(when.hour()),
                static_cast<std::uint8_t>(when.minute()), static_cast<std::uint8_t>(when.second())};
}
inline Halden::Soa::Common::DateTime date_time_from_fields(const date_s& date) {
  return Halden::Soa::Common::DateTime(date.year, date.month + 1, date.day, date.hour, date.minute, date.second);
}

}  // namespace kestrel
