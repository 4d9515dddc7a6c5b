#pragma once

namespace Halden::Soa::Common {

// Value types of object properties, shared by the client and the wire; the
// numbers are the codes property descriptions report.
enum class ValueType {
  Char = 0,
  Date = 1,
  Double = 2,
  Float = 3,
  Int = 4,
  Logical = 5,
  Short = 6,
  String = 7,
  Reference = 8
};

}  // namespace Halden::Soa::Common
