#include "halden/soa/common/DateTime.h"

#include <cstdio>

namespace Halden::Soa::Common {

DateTime::DateTime(int year, int month, int day, int hour, int minute, int second)
    : year_(year), month_(month), day_(day), hour_(hour), minute_(minute), second_(second) {}

const DateTime& DateTime::getNullDate() {
  static const DateTime null_date;
  return null_date;
}

bool DateTime::isNullDate() const { return *this == getNullDate(); }

std::string DateTime::toString() const {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", year_, month_, day_, hour_, minute_, second_);
  return text;
}

}  // namespace Halden::Soa::Common
