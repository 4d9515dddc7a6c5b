#pragma once

namespace Halden::Soa::Common {

// Value types of object properties, shared by the client and the wire.
enum class ValueType { String, Int, Double, Logical, Char, Date, Reference };

}  // namespace Halden::Soa::Common
