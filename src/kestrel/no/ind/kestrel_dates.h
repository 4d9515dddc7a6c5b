// The base library's date of a framework date, shared by both builds.
#pragma once

#include "corerun/clock.h"
#include "halden/soa/common/DateTime.h"

namespace kestrel {

// Through the time value, which is 64 bits wide so that dates after 2038
// survive in either build.
inline date_s date_from_time(const Halden::Soa::Common::DateTime& when) { return CLOCK_time_to_date(when.toTime()); }

}  // namespace kestrel
